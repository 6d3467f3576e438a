#pragma once
// Files for the copy, install and document tests, written below one folder.
#include "ArchiveZipWriter.h"
#include "SfntWriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tz::test {

inline QString WriteFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the fixture %s", qPrintable(path));
    return path;
}

inline QByteArray TestFont(const QString& face)
{
    return BuildFont({ WindowsName(1, face), WindowsName(4, face + QStringLiteral(" Regular")) });
}

// Every name in the folder, hidden files included, sorted.
inline QStringList FolderNames(const QString& folder)
{
    return QDir(folder).entryList(
        QDir::Files | QDir::Hidden | QDir::System | QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace tz::test
