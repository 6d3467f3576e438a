#include "archive/MemberOutput.h"

#include "archive/ArchiveLog.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tz {

MemberOutput::~MemberOutput()
{
    Close();
    if (!path_.isEmpty())
        ::unlink(QFile::encodeName(path_).constData());
}

bool MemberOutput::Create(const QString& path)
{
    fd_ = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd_ < 0) {
        qCWarning(lcArchive) << "cannot create" << path << std::strerror(errno);
        return false;
    }
    path_ = path;
    removal_ = RemovedOnSignal(path_);
    return true;
}

bool MemberOutput::CreateIn(const QString& folder)
{
    QByteArray name = QFile::encodeName(folder) + "/.typozind-XXXXXX";
    fd_ = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd_ < 0) {
        qCWarning(lcArchive) << "cannot create a file in" << folder << std::strerror(errno);
        return false;
    }
    // mkstemp makes the file private; give it the mode a new file gets.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd_, 0666 & ~mask);
    path_ = QFile::decodeName(name);
    removal_ = RemovedOnSignal(path_);
    return true;
}

bool MemberOutput::Write(const char* data, qint64 size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd_, data, size_t(size));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            qCWarning(lcArchive) << "short write to" << path_ << std::strerror(errno);
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

bool MemberOutput::Close()
{
    if (fd_ < 0)
        return true;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    return closed;
}

bool MemberOutput::Finish(std::optional<qint64> modifiedSecs, const QString& finalPath)
{
    if (!Close())
        return false;
    const QByteArray path = QFile::encodeName(path_);
    if (modifiedSecs) {
        const timespec times[2] = { { 0, UTIME_OMIT }, { time_t(*modifiedSecs), 0 } };
        ::utimensat(AT_FDCWD, path.constData(), times, AT_SYMLINK_NOFOLLOW);
    }
    if (finalPath != path_ && ::rename(path.constData(), QFile::encodeName(finalPath).constData()) != 0) {
        qCWarning(lcArchive) << "cannot move" << path_ << "to" << finalPath << std::strerror(errno);
        return false;
    }
    path_.clear();
    removal_ = RemovedOnSignal();
    return true;
}

} // namespace tz
