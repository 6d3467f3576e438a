#pragma once
// Shared by the archive fuzz targets: the input becomes an archive file, which
// is listed for fonts and documents and whose first member is extracted.
#include "archive/ArchiverLibrary.h"
#include "archive/Zipttf.h"

#include <QDir>
#include <QFile>
#include <QLoggingCategory>
#include <clocale>
#include <unistd.h>

namespace tz::fuzz {

inline QString ScratchPath(const char* suffix)
{
    // Every rejected input would log why; that is only noise here.
    static const bool quiet = (QLoggingCategory::setFilterRules(QStringLiteral("tz.archive=false")), true);
    (void)quiet;
    return QDir::tempPath() + QStringLiteral("/tz-fuzz-%1%2").arg(getpid()).arg(QLatin1String(suffix));
}

inline bool WriteInput(const QString& path, const uint8_t* data, size_t size)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size);
}

// Lists with one reader and extracts the first member it offered.
template <typename List, typename Extract> void ListAndExtract(const QString& archive, List list, Extract extract)
{
    for (MemberFilter filter : { MemberFilter::Fonts, MemberFilter::Documents }) {
        QList<ArchiveMember> members;
        list(archive, filter, members);
        if (members.isEmpty())
            continue;
        const QString destination = ScratchPath(".ttx");
        QFile::remove(destination);
        extract(archive, members.first(), destination);
        QFile::remove(destination);
    }
}

inline void FuzzLibrary(ArchiveKind kind, const char* extension, const uint8_t* data, size_t size)
{
    // The program runs in a UTF-8 locale (Qt sees to it), which the library
    // converts member names into.
    static const bool utf8 = std::setlocale(LC_ALL, "C.UTF-8") != nullptr;
    static const bool loaded = utf8 && ArchiverFor(kind).Load("libarchive.so.13");
    const QString archive = ScratchPath(extension);
    if (!loaded || !WriteInput(archive, data, size))
        return;
    const ArchiverLibrary& library = ArchiverFor(kind);
    ListAndExtract(
        archive,
        [&](const QString& path, MemberFilter filter, QList<ArchiveMember>& members) {
            return library.List(path, filter, members);
        },
        [&](const QString& path, const ArchiveMember& member, const QString& destination) {
            return library.Extract(path, member, destination);
        });
    library.Recognises(archive);
    QFile::remove(archive);
}

} // namespace tz::fuzz
