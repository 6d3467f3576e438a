#pragma once
// Temporary files and folders that SIGINT and SIGTERM must not leave behind.
// While a RemovedOnSignal lives, its path is removed when the process is
// ended by one of those signals (once RemoveTemporaryFilesOnSignals has set
// up the handlers); files go first, then folders, which are removed only when
// empty. Destroying it forgets the path and removes nothing.
#include <QString>

namespace tz {

class RemovedOnSignal {
public:
    enum class Kind { File, Folder };

    RemovedOnSignal() = default;
    explicit RemovedOnSignal(const QString& path, Kind kind = Kind::File);
    ~RemovedOnSignal();
    RemovedOnSignal(RemovedOnSignal&& other) noexcept;
    RemovedOnSignal& operator=(RemovedOnSignal&& other) noexcept;
    RemovedOnSignal(const RemovedOnSignal&) = delete;
    RemovedOnSignal& operator=(const RemovedOnSignal&) = delete;

private:
    void Forget();

    int slot_ = -1;
};

// Makes SIGINT and SIGTERM remove the registered paths and then end the
// process as the signal would have.
void RemoveTemporaryFilesOnSignals();

} // namespace tz
