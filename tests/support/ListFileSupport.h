#pragma once
// File helpers of the list file tests.
#include <QByteArray>
#include <QString>
#include <sys/resource.h>

namespace tz::test {

QByteArray ReadBytes(const QString& path);
// Writes bytes to path, making its folder first; false when that fails.
bool WriteBytes(const QString& path, const QByteArray& bytes);

// The header of every list file the program writes.
QByteArray ListHeader();

// Makes writes beyond limit bytes fail (EFBIG) for as long as it lives, as a
// full disk would (also for root, whom permissions don't stop).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_ {};
};

} // namespace tz::test
