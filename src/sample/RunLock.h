#pragma once
// One generation run at a time across every running instance of this user:
// an advisory lock (flock) on the file "Typoscan" in the user's runtime
// folder (platform/RuntimeFolder.h). The system drops the lock with its
// holder, also a killed one.
#include <QString>

namespace tz {

class RunLock {
public:
    RunLock() = default;
    ~RunLock();
    RunLock(const RunLock&) = delete;
    RunLock& operator=(const RunLock&) = delete;

    // Takes the lock; false when another run holds it or the lock file can't
    // be used (then Problem() says why).
    bool TryAcquire();
    void Release();
    // Empty after a successful TryAcquire and when another run held the lock;
    // otherwise the lock file and why it could not be used.
    const QString& Problem() const { return problem_; }
    // The lock file; empty when there is no usable runtime folder.
    static QString LockFilePath(QString* problem = nullptr);

private:
    int fd_ = -1;
    QString problem_;
};

} // namespace tz
