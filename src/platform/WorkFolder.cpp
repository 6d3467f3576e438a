#include "platform/WorkFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QDateTime>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace tz {

namespace {

    // An exclusive lock on the folder itself, held while the fd is open.
    int LockFolder(const QString& path)
    {
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            return -1;
        }
        return fd;
    }

    // Deletes the files directly inside the folder, then the folder if it is empty.
    void RemoveFolder(const QString& path)
    {
        QDir dir(path);
        const QFileInfoList files = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
        for (const QFileInfo& file : files) {
            QFile::setPermissions(file.filePath(), QFile::ReadOwner | QFile::WriteOwner);
            QFile::remove(file.filePath());
        }
        QDir().rmdir(path);
    }

    // Work folders of processes that were killed: their lock went with them.
    // A folder changed in the last minute is left alone, so one made by a
    // process that has not locked it yet is never taken.
    void RemoveAbandonedWorkFolders()
    {
        const QDir temp(QDir::tempPath());
        const QDateTime recent = QDateTime::currentDateTime().addSecs(-60);
        for (const QFileInfo& folder : temp.entryInfoList({ QStringLiteral("tzQ*") }, QDir::Dirs | QDir::NoSymLinks)) {
            if (!folder.isWritable() || folder.lastModified() > recent)
                continue;
            const int fd = LockFolder(folder.filePath());
            if (fd < 0)
                continue;
            RemoveFolder(folder.filePath());
            ::close(fd);
        }
    }

} // namespace

WorkFolder::WorkFolder()
{
    RemoveAbandonedWorkFolders();
    QByteArray pattern = QFile::encodeName(QDir::tempPath() + QStringLiteral("/tzQXXXXXX"));
    if (mkdtemp(pattern.data())) {
        path_ = QFile::decodeName(pattern);
        lockFd_ = LockFolder(path_);
        removal_ = RemovedOnSignal(path_, RemovedOnSignal::Kind::Folder);
    } else {
        path_ = QCoreApplication::applicationDirPath();
        fallback_ = true;
    }
}

WorkFolder::~WorkFolder()
{
    Remove();
    if (lockFd_ >= 0)
        ::close(lockFd_);
}

QString WorkFolder::File(const QString& name) const { return path_ + u'/' + name; }

void WorkFolder::Remove()
{
    if (fallback_ || path_.isEmpty())
        return;
    if (QDir(path_).exists())
        RemoveFolder(path_);
}

} // namespace tz
