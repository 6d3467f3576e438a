#pragma once
// Shared by the archive tests: choosing between the archiver library and the
// built-in reader, and small file helpers.
#include "archive/Archivettf.h"

#include <QDir>
#include <QFile>
#include <QStringList>

namespace tz::test {

// Loads the archiver library, or makes its loading fail so that ZIP falls
// back to the built-in reader.
inline int UseArchiverLibrary(bool present)
{
    qputenv("TYPOSCAN_ARCHIVER_LIBRARY", present ? QByteArray() : QByteArray("libtyposcan-missing.so.0"));
    return LoadArchiverLibraries();
}

inline QStringList Names(const QList<ArchiveMember>& members)
{
    QStringList names;
    for (const ArchiveMember& member : members)
        names.append(member.Name);
    return names;
}

inline QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Everything below folder, relative to it.
inline QStringList FilesBelow(const QString& folder)
{
    QStringList files;
    QDir dir(folder);
    for (const QString& entry : dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System))
        files.append(entry);
    return files;
}

} // namespace tz::test
