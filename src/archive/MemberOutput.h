#pragma once
// The file a member is extracted into. It is always a new file (never an
// existing one, never through a symbolic link) and it is removed again unless
// the extraction finishes.
#include "platform/RemovedOnSignal.h"

#include <QString>
#include <optional>

namespace tz {

class MemberOutput {
public:
    MemberOutput() = default;
    ~MemberOutput();
    MemberOutput(const MemberOutput&) = delete;
    MemberOutput& operator=(const MemberOutput&) = delete;

    // Creates the file at path; fails when anything exists there.
    bool Create(const QString& path);
    // Creates a file of a fresh name inside folder.
    bool CreateIn(const QString& folder);
    // Writes all bytes; false on a short write (a full disk, a size limit).
    bool Write(const char* data, qint64 size);
    // Closes the file, sets its modification time when one is given (the
    // access time stays), and moves it to finalPath when that differs from
    // where it was created. The file is kept only when all of that succeeds.
    bool Finish(std::optional<qint64> modifiedSecs, const QString& finalPath);

private:
    bool Close();

    int fd_ = -1;
    QString path_;
    RemovedOnSignal removal_; // of path_
};

} // namespace tz
