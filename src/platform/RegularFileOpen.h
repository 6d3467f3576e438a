#pragma once
// Opening a file a user named without ever blocking on it: a FIFO or device
// named like a font or an archive is refused, as is anything else that is not
// a regular file.
#include <QString>
#include <sys/stat.h>

namespace tz {

// A descriptor of the regular file at path, opened with flags plus O_NONBLOCK
// and O_CLOEXEC and checked with fstat, whose answer info gets. -1 for
// anything that is not a regular file. The caller closes it.
int OpenRegularFile(const QString& path, int flags, struct stat& info);

} // namespace tz
