#include "platform/RuntimeFolder.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace tz {

namespace {

    // Empty when path is a folder (not a link) of this user that only this
    // user can enter; otherwise the reason.
    QString PrivateFolderProblem(const QString& path)
    {
        struct stat info { };
        if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
            return QString::fromLocal8Bit(std::strerror(errno));
        if (!S_ISDIR(info.st_mode))
            return QStringLiteral("not a folder");
        if (info.st_uid != ::geteuid())
            return QStringLiteral("owned by another user");
        if ((info.st_mode & 07777) != 0700)
            return QStringLiteral("mode %1 instead of 0700").arg(info.st_mode & 07777, 4, 8, QLatin1Char('0'));
        return {};
    }

    bool UsableEnvironmentFolder()
    {
        const QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
        return QDir::isAbsolutePath(folder) && PrivateFolderProblem(folder).isEmpty();
    }

} // namespace

QString RuntimeFolder(QString* problem)
{
    if (UsableEnvironmentFolder())
        return qEnvironmentVariable("XDG_RUNTIME_DIR");
    const QString folder = QDir::tempPath() + QStringLiteral("/typoscan-%1").arg(::geteuid());
    // mkdir never follows a link at the name and fails when anything is there.
    if (::mkdir(QFile::encodeName(folder).constData(), 0700) == 0)
        ::chmod(QFile::encodeName(folder).constData(), 0700);
    const QString reason = PrivateFolderProblem(folder);
    if (problem)
        *problem = reason.isEmpty() ? QString() : folder + QStringLiteral(": ") + reason;
    return reason.isEmpty() ? folder : QString();
}

void PrepareRuntimeFolder()
{
    if (UsableEnvironmentFolder())
        return;
    const QString folder = RuntimeFolder();
    if (!folder.isEmpty())
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder));
}

} // namespace tz
