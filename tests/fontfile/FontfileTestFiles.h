#pragma once
// Writes test bytes to files in a temporary folder.
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

namespace tz::test {

inline QString WriteTestFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        return {};
    return path;
}

// fontconfig keeps its cache below XDG_CACHE_HOME; point it at a folder of
// the test's own, beside its private XDG_DATA_HOME, before fontconfig starts.
inline void UsePrivateFontCache()
{
    qputenv("XDG_CACHE_HOME", QFile::encodeName(QDir::cleanPath(qEnvironmentVariable("XDG_DATA_HOME") + "/../cache")));
}

inline QByteArray ReadTestFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace tz::test
