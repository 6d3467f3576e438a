#include "platform/WorkFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdlib>

namespace tz {

WorkFolder::WorkFolder()
{
    QByteArray pattern = QFile::encodeName(QDir::tempPath() + QStringLiteral("/tzQXXXXXX"));
    if (mkdtemp(pattern.data())) {
        path_ = QFile::decodeName(pattern);
    } else {
        path_ = QCoreApplication::applicationDirPath();
        fallback_ = true;
    }
}

WorkFolder::~WorkFolder() { Remove(); }

QString WorkFolder::File(const QString& name) const { return path_ + u'/' + name; }

void WorkFolder::Remove()
{
    if (fallback_ || path_.isEmpty())
        return;
    QDir dir(path_);
    if (!dir.exists())
        return;
    const QFileInfoList files = dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& file : files) {
        QFile::setPermissions(file.filePath(), QFile::ReadOwner | QFile::WriteOwner);
        QFile::remove(file.filePath());
    }
    QDir().rmdir(path_);
}

} // namespace tz
