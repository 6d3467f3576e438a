#include "fontfile/RegularFile.h"

#include "platform/RegularFileOpen.h"

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
    struct stat info;
    fd_ = OpenRegularFile(path, mode == Mode::Read ? O_RDONLY : O_WRONLY | O_CREAT | O_TRUNC, info);
    if (fd_ < 0)
        return;
    size_ = info.st_size;
    identity_ = { quint64(info.st_dev), quint64(info.st_ino) };
    modified_ = qint64(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
}

int RegularFile::OpenForReading(const QString& path)
{
    struct stat info;
    return OpenRegularFile(path, O_RDONLY, info);
}

RegularFile::~RegularFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

std::size_t RegularFile::ReadAt(quint64 position, void* buffer, std::size_t size) const
{
    if (size == 0)
        return 0;
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
