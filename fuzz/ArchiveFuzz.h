#pragma once
// Shared by the archive fuzz targets: the input becomes an archive file, which
// is listed for fonts and documents and whose first member is extracted
// within tight limits, so that inputs of a few kilobytes reach the refusals;
// a member written past its bound aborts.
#include "archive/ArchiverLibrary.h"
#include "archive/Zipttf.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <unistd.h>

// A hostile 7z header makes the archiver library ask for tens of gigabytes
// that it never touches: memory an ordinary run only reserves, but that the
// sanitizers shadow. The fuzzers run as a machine without overcommit does,
// where such a request fails and the library reports the archive unreadable;
// the program's own allocations still fail the run (operator new reports).
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1:max_allocation_size_mb=1024"; }

namespace tz::fuzz {

inline QString ScratchPath(const char* suffix)
{
    // Every rejected input would log why; that is only noise here.
    static const bool quiet = (QLoggingCategory::setFilterRules(QStringLiteral("typoscan.archive=false")), true);
    (void)quiet;
    return QDir::tempPath() + QStringLiteral("/tz-fuzz-%1%2").arg(getpid()).arg(QLatin1String(suffix));
}

inline const ExtractionLimits kLimits { 64 << 10, 100, 4 << 10 };

// Whatever was read of the archive for a member, it is never more than the
// whole input.
inline void CheckBound(const QString& extracted, size_t inputSize)
{
    const quint64 size = quint64(QFileInfo(extracted).size());
    if (size > kLimits.MaxMemberSize || size > std::max<quint64>(kLimits.RatioFloor, kLimits.MaxRatio * inputSize))
        std::abort();
}

inline bool WriteInput(const QString& path, const uint8_t* data, size_t size)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size);
}

// Lists with one reader and extracts the first member it offered.
template <typename List, typename Extract>
void ListAndExtract(const QString& archive, size_t inputSize, List list, Extract extract)
{
    for (MemberFilter filter : { MemberFilter::Fonts, MemberFilter::Documents }) {
        QList<ArchiveMember> members;
        list(archive, filter, members);
        if (members.isEmpty())
            continue;
        const QString destination = ScratchPath(".ttx");
        QFile::remove(destination);
        if (extract(archive, members.first(), destination, kLimits))
            CheckBound(destination, inputSize);
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
        archive, size,
        [&](const QString& path, MemberFilter filter, QList<ArchiveMember>& members) {
            return library.List(path, filter, members);
        },
        [&](const QString& path, const ArchiveMember& member, const QString& destination, const ExtractionLimits& limits) {
            return bool(library.Extract(path, member, destination, limits));
        });
    library.Recognises(archive);
    QFile::remove(archive);
}

} // namespace tz::fuzz
