#include "platform/RegularFileOpen.h"

#include <QFile>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tz {

int OpenRegularFile(const QString& path, int flags, struct stat& info)
{
    // O_NONBLOCK keeps a FIFO (or a device) from blocking the open; fstat then
    // refuses anything that is not a regular file. O_NONBLOCK has no effect on
    // a regular file, so it can stay set.
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0)
        return -1;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

} // namespace tz
