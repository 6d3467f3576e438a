#include "fontfile/RegularFile.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace tz {

RegularFile::RegularFile(const QString& path, Mode mode)
{
    const QByteArray name = QFile::encodeName(path);
    // O_NONBLOCK keeps a FIFO (or a device) from blocking the open; fstat then
    // refuses anything that is not a regular file.
    const int flags = mode == Mode::Read ? O_RDONLY : O_WRONLY | O_CREAT | O_TRUNC;
    const int fd = ::open(name.constData(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0)
        return;
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return;
    }
    // O_NONBLOCK has no effect on a regular file, so it can stay set.
    fd_ = fd;
    size_ = info.st_size;
    identity_ = { quint64(info.st_dev), quint64(info.st_ino) };
}

RegularFile::~RegularFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

std::size_t RegularFile::ReadAt(quint64 position, void* buffer, std::size_t size) const
{
    if (fd_ < 0 || position >= kHeadSize || size > kHeadSize - position)
        return ReadFromDisk(position, buffer, size);
    if (!headLength_)
        headLength_ = ReadFromDisk(0, head_.data(), kHeadSize);
    const std::size_t count = position < *headLength_ ? std::min(size, *headLength_ - std::size_t(position)) : 0;
    std::memcpy(buffer, head_.data() + position, count);
    return count;
}

std::size_t RegularFile::ReadFromDisk(quint64 position, void* buffer, std::size_t size) const
{
    if (fd_ < 0 || position > quint64(std::numeric_limits<off_t>::max()))
        return 0;
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd_, static_cast<char*>(buffer) + done, size - done, off_t(position + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += std::size_t(n);
    }
    return done;
}

bool RegularFile::Append(const void* data, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd_, static_cast<const char*>(data) + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += std::size_t(n);
    }
    return true;
}

qint64 RegularFile::SizeOf(const QString& path)
{
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return -1;
    return info.st_size;
}

} // namespace tz
