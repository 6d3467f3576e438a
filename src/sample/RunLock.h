#pragma once
// One generation run at a time across every running instance: an advisory
// lock (flock) on the file "Typoscan" in $XDG_RUNTIME_DIR, else the temporary
// folder. The system drops the lock with its holder, also a killed one.
#include <QString>

namespace tz {

class RunLock {
public:
    RunLock() = default;
    ~RunLock();
    RunLock(const RunLock&) = delete;
    RunLock& operator=(const RunLock&) = delete;

    // Takes the lock; false when another run holds it (or the file can't be made).
    bool TryAcquire();
    void Release();
    static QString LockFilePath();

private:
    int fd_ = -1;
};

} // namespace tz
