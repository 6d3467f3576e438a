#include "archive/Archivettf.h"

#include "archive/ArchiveLog.h"
#include "archive/ArchiveNames.h"
#include "archive/ArchiverLibrary.h"
#include "archive/Zipttf.h"
#include "platform/PathResolver.h"
#include "platform/Text.h"

#include <QFile>
#include <QFileInfo>

namespace tz {

namespace {

    constexpr ArchiveKind kOwnLibraryKinds[] = { ArchiveKind::Zip, ArchiveKind::Lzh, ArchiveKind::Cab };
    constexpr ArchiveKind kWiderLibraryKinds[] = { ArchiveKind::SevenZip, ArchiveKind::Tar, ArchiveKind::Rar };

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
    ArchiveKind KindOfResolved(const QString& path, FontFormats formats)
    {
        if (!QFileInfo(path).isFile())
            return ArchiveKind::None;
        const QString name = FileNamePart(path);
        if (IsExecutableName(name))
            return ProbeExecutable(path);
        return ArchiveKindOfName(name, formats);
    }

} // namespace

OpenedArchive::OpenedArchive(const QString& archivePath, FontFormats formats)
    : path_(ResolvePath(archivePath))
    , kind_(KindOfResolved(path_, formats))
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

ArchiveKind KindOfArchive(const QString& archivePath, FontFormats formats)
{
    return OpenedArchive(archivePath, formats).Kind();
}

MemberListing ListFontMembers(const QString& archivePath, FontFormats formats)
{
    return OpenedArchive(archivePath, formats).List(FontMembersOf(formats));
}

MemberListing ListDocumentMembers(const QString& archivePath, FontFormats formats)
{
    return OpenedArchive(archivePath, formats).List(MemberFilter::Documents);
}

std::optional<ArchiveMember> FindMember(const QString& archivePath, const QString& name, FontFormats formats)
{
    const QString wanted = MemberLookupName(name);
    for (const ArchiveMember& member : OpenedArchive(archivePath, formats).List(MemberFilter::AnyFile).Members) {
        if (MemberLookupName(member.Name) == wanted)
            return member;
    }
    return std::nullopt;
}

ExtractResult ExtractMember(
    const QString& archivePath, const ArchiveMember& member, const QString& destination, FontFormats formats)
{
    return OpenedArchive(archivePath, formats).Extract(member, destination);
}

int LoadArchiverLibraries()
{
    QByteArray file = qgetenv("TYPOSCAN_ARCHIVER_LIBRARY");
    if (file.isEmpty())
        file = "libarchive.so.13";
    int loaded = 0;
    for (ArchiveKind kind : kOwnLibraryKinds)
        loaded += ArchiverFor(kind).Load(file) ? 1 : 0;
    int wider = 0;
    for (ArchiveKind kind : kWiderLibraryKinds)
        wider += ArchiverFor(kind).Load(file) ? 1 : 0;
    qCInfo(lcArchive) << loaded << "archiver adapters and" << wider << "of the wider set loaded from" << file;
    return loaded;
}

void FreeArchiverLibraries()
{
    for (ArchiveKind kind : kOwnLibraryKinds)
        ArchiverFor(kind).Free();
    for (ArchiveKind kind : kWiderLibraryKinds)
        ArchiverFor(kind).Free();
}

} // namespace tz
