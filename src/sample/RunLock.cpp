#include "sample/RunLock.h"

#include "platform/RuntimeFolder.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tz {

RunLock::~RunLock() { Release(); }

QString RunLock::LockFilePath(QString* problem)
{
    const QString folder = RuntimeFolder(problem);
    return folder.isEmpty() ? QString() : folder + QStringLiteral("/Typoscan");
}

bool RunLock::TryAcquire()
{
    Release();
    problem_.clear();
    const QString path = LockFilePath(&problem_);
    if (path.isEmpty())
        return false;
    // The lock file is never a link, a FIFO or another user's file.
    const int fd = ::open(
        QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0) {
        problem_ = path + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    struct stat info { };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) {
        problem_ = path + QStringLiteral(": not a file of this user");
        ::close(fd);
        return false;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

void RunLock::Release()
{
    if (fd_ >= 0) {
        ::flock(fd_, LOCK_UN);
        ::close(fd_);
        fd_ = -1;
    }
}

} // namespace tz
