#include "archive/Archivettf.h"

#include "archive/ArchiveLog.h"
#include "archive/ArchiverLibrary.h"
#include "archive/Zipttf.h"
#include "platform/PathResolver.h"
#include "platform/Text.h"

#include <QFile>
#include <QFileInfo>

namespace tz {

namespace {

    constexpr ArchiveKind kLibraryKinds[] = { ArchiveKind::Zip, ArchiveKind::Lzh, ArchiveKind::Cab };

    // A self-extracting archive: a ZIP is recognised only through the
    // library, as the built-in reader can't tell.
    ArchiveKind ProbeExecutable(const QString& path)
    {
        for (ArchiveKind kind : { ArchiveKind::Zip, ArchiveKind::Cab, ArchiveKind::Lzh }) {
            if (ArchiverFor(kind).Recognises(path))
                return kind;
        }
        return ArchiveKind::None;
    }

    // The kind of a path already resolved on disk.
    ArchiveKind KindOfResolved(const QString& path)
    {
        if (!QFileInfo(path).isFile())
            return ArchiveKind::None;
        const QString extension = UpperExtension(path);
        if (extension == u".ZIP")
            return ArchiveKind::Zip;
        if (extension == u".LZH")
            return ArchiveKind::Lzh;
        if (extension == u".CAB")
            return ArchiveKind::Cab;
        if (extension == u".EXE")
            return ProbeExecutable(path);
        return ArchiveKind::None;
    }

} // namespace

OpenedArchive::OpenedArchive(const QString& archivePath)
    : path_(ResolvePath(archivePath))
    , kind_(KindOfResolved(path_))
{
}

MemberListing OpenedArchive::List(MemberFilter filter) const
{
    MemberListing listing;
    if (kind_ == ArchiveKind::None)
        return listing;
    const ArchiverLibrary& library = ArchiverFor(kind_);
    if (kind_ == ArchiveKind::Zip && !library.IsLoaded())
        listing.Count = ListZipMembers(path_, filter, listing.Members);
    else
        listing.Count = library.List(path_, filter, listing.Members);
    return listing;
}

ExtractResult OpenedArchive::Extract(const ArchiveMember& member, const QString& destination)
{
    if (QFileInfo(destination).isSymLink() || QFileInfo::exists(destination)) {
        if (!QFile::remove(destination)) {
            qCWarning(lcArchive) << "cannot delete the old" << destination;
            return ExtractResult::Outcome::Failed;
        }
    }
    if (kind_ == ArchiveKind::None)
        return ExtractResult::Outcome::Failed;
    const ArchiverLibrary& library = ArchiverFor(kind_);
    if (kind_ == ArchiveKind::Zip && !library.IsLoaded())
        return ExtractZipMember(path_, member, destination);
    if (!extraction_)
        extraction_.emplace(library, path_);
    return extraction_->Extract(member, destination);
}

ArchiveKind KindOfArchive(const QString& archivePath) { return OpenedArchive(archivePath).Kind(); }

MemberListing ListFontMembers(const QString& archivePath)
{
    return OpenedArchive(archivePath).List(MemberFilter::Fonts);
}

MemberListing ListDocumentMembers(const QString& archivePath)
{
    return OpenedArchive(archivePath).List(MemberFilter::Documents);
}

std::optional<ArchiveMember> FindMember(const QString& archivePath, const QString& name)
{
    const QString wanted = MemberLookupName(name);
    for (const ArchiveMember& member : OpenedArchive(archivePath).List(MemberFilter::AnyFile).Members) {
        if (MemberLookupName(member.Name) == wanted)
            return member;
    }
    return std::nullopt;
}

ExtractResult ExtractMember(const QString& archivePath, const ArchiveMember& member, const QString& destination)
{
    return OpenedArchive(archivePath).Extract(member, destination);
}

int LoadArchiverLibraries()
{
    QByteArray file = qgetenv("TYPOSCAN_ARCHIVER_LIBRARY");
    if (file.isEmpty())
        file = "libarchive.so.13";
    int loaded = 0;
    for (ArchiveKind kind : kLibraryKinds)
        loaded += ArchiverFor(kind).Load(file) ? 1 : 0;
    qCInfo(lcArchive) << loaded << "archiver adapters loaded from" << file;
    return loaded;
}

void FreeArchiverLibraries()
{
    for (ArchiveKind kind : kLibraryKinds)
        ArchiverFor(kind).Free();
}

} // namespace tz
