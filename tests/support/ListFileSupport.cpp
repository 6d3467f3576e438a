#include "ListFileSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <csignal>

namespace tz::test {

QByteArray ListHeader() { return "[Generator]\r\nSoftware=\"Typoscan Zindel\"\r\nVersion=0.99\r\n[List099]\r\n"; }

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

FileSizeLimit::FileSizeLimit(rlim_t limit)
{
    std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &saved_);
    rlimit lowered = saved_;
    lowered.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &lowered);
}

FileSizeLimit::~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

} // namespace tz::test
