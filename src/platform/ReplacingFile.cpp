#include "platform/ReplacingFile.h"

#include "platform/RegularFileOpen.h"

#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tz {

namespace {

    mode_t NewFileMode()
    {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return 0666 & ~mask;
    }

    QString ErrorText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

    // Moves the finished file to its name: replacing what is there, or
    // failing when something is.
    bool MoveIntoPlace(const QByteArray& from, const QByteArray& to, ExistingTarget existing)
    {
        if (existing == ExistingTarget::Replace)
            return std::rename(from.constData(), to.constData()) == 0;
        if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
            return true;
        if (errno != EINVAL && errno != ENOSYS)
            return false;
        // File systems without the exclusive rename: a hard link fails as well
        // when the name is taken.
        return ::link(from.constData(), to.constData()) == 0 && ::unlink(from.constData()) == 0;
    }

} // namespace

qint64 ReplacingFile::CheckedFile::writeData(const char* data, qint64 size)
{
    if (failed_)
        return -1;
    qint64 done = 0;
    while (done < size) {
        errno = 0;
        const qint64 written = QFile::writeData(data + done, size - done);
        if (written <= 0) {
            failed_ = true;
            savedErrno_ = errno != 0 ? errno : EIO;
            return -1;
        }
        done += written;
    }
    return done;
}

ReplacingFile::ReplacingFile(const QString& target, Durability durability, const char* prefix)
    : target_(target)
    , durability_(durability)
    , prefix_(prefix)
{
    const QFileInfo info(target);
    if (info.isSymLink() && !info.canonicalFilePath().isEmpty())
        target_ = info.canonicalFilePath();
}

ReplacingFile::~ReplacingFile() { Discard(); }

bool ReplacingFile::Open()
{
    QByteArray name = QFile::encodeName(QFileInfo(target_).absolutePath()) + '/' + prefix_ + "XXXXXX";
    fd_ = ::mkostemp(name.data(), O_CLOEXEC);
    if (fd_ < 0)
        return Fail(errno);
    temporary_ = QFile::decodeName(name);
    struct stat existing { };
    const bool replaces = ::stat(QFile::encodeName(target_).constData(), &existing) == 0 && S_ISREG(existing.st_mode);
    if (::fchmod(fd_, replaces ? existing.st_mode & 07777 : NewFileMode()) != 0)
        return Fail(errno);
    if (!file_.open(fd_, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::DontCloseHandle))
        return Fail(EIO);
    return true;
}

bool ReplacingFile::Write(const char* data, qint64 size)
{
    return file_.isOpen() && file_.write(data, size) == size;
}

bool ReplacingFile::WriteContentsOf(const QString& source)
{
    constexpr qint64 kChunk = 64 * 1024;
    // Only a regular file is read: a FIFO would block and a device such as
    // /dev/zero would fill the target.
    struct stat info;
    const int fd = OpenRegularFile(source, O_RDONLY, info);
    QFile in;
    if (fd < 0 || !in.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (fd >= 0)
            ::close(fd);
        return false;
    }
    QByteArray buffer(kChunk, Qt::Uninitialized);
    for (;;) {
        const qint64 got = in.read(buffer.data(), kChunk);
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        if (!Write(buffer.constData(), got))
            return false;
    }
}

bool ReplacingFile::Commit(ExistingTarget existing)
{
    if (fd_ < 0)
        return false;
    if (file_.Failed())
        return Fail(file_.SavedErrno());
    file_.close();
    if (durability_ == Durability::Synced && ::fsync(fd_) != 0)
        return Fail(errno);
    const int fd = std::exchange(fd_, -1);
    if (::close(fd) != 0)
        return Fail(errno);
    if (!MoveIntoPlace(QFile::encodeName(temporary_), QFile::encodeName(target_), existing))
        return Fail(errno);
    temporary_.clear();
    return true;
}

QString ReplacingFile::ErrorString() const
{
    return error_.isEmpty() && file_.Failed() ? ErrorText(file_.SavedErrno()) : error_;
}

bool ReplacingFile::Fail(int error)
{
    error_ = ErrorText(error);
    return Discard();
}

bool ReplacingFile::Discard()
{
    file_.close();
    if (fd_ >= 0)
        ::close(std::exchange(fd_, -1));
    if (!temporary_.isEmpty())
        ::unlink(QFile::encodeName(std::exchange(temporary_, QString())).constData());
    return false;
}

bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString* error)
{
    ReplacingFile file(path);
    if (file.Open() && file.Write(bytes) && file.Commit())
        return true;
    if (error)
        *error = file.ErrorString();
    return false;
}

bool WriteImageFile(
    const QImage& image, const QString& path, const char* format, QString* error, ReplacingFile::Durability durability)
{
    ReplacingFile file(path, durability);
    QString reason;
    if (!file.Open()) {
        reason = file.ErrorString();
    } else {
        QImageWriter writer(&file.Device(), format);
        if (!writer.write(image))
            reason = file.ErrorString().isEmpty() ? writer.errorString() : file.ErrorString();
        else if (!file.Commit())
            reason = file.ErrorString();
    }
    if (error)
        *error = reason;
    return reason.isEmpty();
}

} // namespace tz
