#include "archive/ArchiverLibrary.h"

#include "archive/ArchiveLog.h"
#include "archive/MemberOutput.h"
#include "fontfile/FontExtensions.h"
#include "fontfile/RegularFile.h"
#include "platform/Text.h"

#include <QFile>
#include <QFileInfo>
#include <archive.h>
#include <archive_entry.h>
#include <dlfcn.h>
#include <algorithm>
#include <unistd.h>
#include <vector>

namespace tz {

struct ArchiverLibrary::EntryPoints {
    decltype(&archive_read_new) readNew;
    decltype(&archive_read_free) readFree;
    // The adapter's own formats, and the decompression filters its archives
    // may be wrapped in (a compressed tar archive).
    std::vector<decltype(&archive_read_support_format_zip)> supports;
    decltype(&archive_read_set_format_option) setFormatOption;
    decltype(&archive_read_open_fd) openFd;
    decltype(&archive_read_next_header) nextHeader;
    decltype(&archive_read_data) readData;
    decltype(&archive_filter_bytes) filterBytes;
    decltype(&archive_error_string) errorString;
    decltype(&archive_entry_size) entrySize;
    decltype(&archive_entry_size_is_set) entrySizeIsSet;
    decltype(&archive_entry_pathname) entryPathname;
    decltype(&archive_entry_filetype) entryFiletype;
    decltype(&archive_entry_mtime) entryMtime;
    decltype(&archive_entry_mtime_is_set) entryMtimeIsSet;
};

namespace {

    constexpr size_t kCopyBufferSize = 8192;
    constexpr size_t kOpenBlockSize = 10240;

    std::vector<const char*> SupportEntryNames(ArchiveKind kind)
    {
        switch (kind) {
        case ArchiveKind::Zip:
            return { "archive_read_support_format_zip" };
        case ArchiveKind::Lzh:
            return { "archive_read_support_format_lha" };
        case ArchiveKind::Cab:
            return { "archive_read_support_format_cab" };
        case ArchiveKind::SevenZip:
            return { "archive_read_support_format_7zip" };
        case ArchiveKind::Tar:
            return { "archive_read_support_format_tar", "archive_read_support_filter_gzip",
                "archive_read_support_filter_bzip2", "archive_read_support_filter_xz" };
        case ArchiveKind::Rar:
            return { "archive_read_support_format_rar", "archive_read_support_format_rar5" };
        case ArchiveKind::None:
            break;
        }
        return {};
    }

    // LZH and CAB archives name their members in the code page of the system
    // that made them: CP932 for the archives this program meets. The library
    // converts such names to the locale's encoding (CAB names flagged as UTF-8
    // stay UTF-8). ZIP names come raw and are decoded like the built-in reader's.
    struct NameCharset {
        const char* format;
        const char* charset;
    };
    std::optional<NameCharset> MemberNameCharset(ArchiveKind kind)
    {
        if (kind == ArchiveKind::Lzh)
            return NameCharset { "lha", "CP932" };
        if (kind == ArchiveKind::Cab)
            return NameCharset { "cab", "CP932" };
        return std::nullopt;
    }

    template <typename Function> bool Resolve(void* handle, const char* name, Function& slot)
    {
        slot = name ? reinterpret_cast<Function>(dlsym(handle, name)) : nullptr;
        if (!slot)
            qCInfo(lcArchive) << "archiver library lacks" << name;
        return slot != nullptr;
    }

    // The wildcard the listing counts by: "*.tt?" for fonts (an extension of
    // three letters beginning "TT"), and the wider font formats where those
    // are listed too; "*.*" (every member) otherwise.
    bool MatchesWildcard(MemberFilter filter, const QString& name)
    {
        if (filter != MemberFilter::Fonts && filter != MemberFilter::WiderFonts)
            return true;
        const QString extension = UpperExtension(name);
        return (extension.size() == 4 && extension.startsWith(u".TT"))
            || (filter == MemberFilter::WiderFonts && IsWiderFontName(name));
    }

} // namespace

// One pass over an archive through the library, with only the adapter's
// format enabled. The archive is opened here as a regular file (a FIFO or
// device is never read) and handed to the library by its descriptor.
class ArchiverLibrary::Reader {
public:
    Reader(const EntryPoints& entries, ArchiveKind kind, const QString& path)
        : entries_(entries)
        , fd_(RegularFile::OpenForReading(path))
        , archive_(fd_ >= 0 ? entries.readNew() : nullptr)
    {
        if (!archive_) {
            qCInfo(lcArchive) << "cannot open" << path;
            return;
        }
        const std::optional<NameCharset> charset = MemberNameCharset(kind);
        if (!SupportsAll()
            || (charset && entries_.setFormatOption(archive_, charset->format, "hdrcharset", charset->charset) != ARCHIVE_OK)
            || entries_.openFd(archive_, fd_, kOpenBlockSize) != ARCHIVE_OK) {
            qCInfo(lcArchive) << "cannot open" << path << Error();
            entries_.readFree(archive_);
            archive_ = nullptr;
        }
    }
    ~Reader()
    {
        if (archive_)
            entries_.readFree(archive_);
        if (fd_ >= 0)
            ::close(fd_);
    }
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    explicit operator bool() const { return archive_ != nullptr; }

    // The next member; none at the end or when the archive is damaged, and
    // none ever after.
    archive_entry* Next()
    {
        if (ended_)
            return nullptr;
        archive_entry* entry = nullptr;
        const int rc = entries_.nextHeader(archive_, &entry);
        if (rc == ARCHIVE_OK || rc == ARCHIVE_WARN)
            return entry;
        if (rc != ARCHIVE_EOF)
            qCInfo(lcArchive) << "listing ends:" << Error();
        ended_ = true;
        return nullptr;
    }

    QByteArray Name(archive_entry* entry) const { return QByteArray(entries_.entryPathname(entry)); }
    bool IsFile(archive_entry* entry) const
    {
        return entries_.entryFiletype(entry) == AE_IFREG && entries_.entryPathname(entry);
    }
    std::optional<qint64> ModificationTime(archive_entry* entry) const
    {
        if (!entries_.entryMtimeIsSet(entry))
            return std::nullopt;
        return qint64(entries_.entryMtime(entry));
    }
    // The size the archive records for the member, where it records one.
    std::optional<quint64> DeclaredSize(archive_entry* entry) const
    {
        const la_int64_t size = entries_.entrySizeIsSet(entry) ? entries_.entrySize(entry) : -1;
        return size >= 0 ? std::optional<quint64>(quint64(size)) : std::nullopt;
    }

    // Copies the current member's data within its bound, which counts what is
    // read of the archive file from here on as the member's compressed data.
    // Fails on a damaged member (the library checks CRCs), data that ends
    // before its declared size or a short write.
    ExtractResult CopyData(const ExtractionBound& bound, MemberOutput& output)
    {
        const la_int64_t start = ArchiveBytesRead();
        char buffer[kCopyBufferSize];
        quint64 total = 0;
        for (;;) {
            const la_ssize_t read = entries_.readData(archive_, buffer, sizeof buffer);
            if (read == 0)
                return ExtractResult::Of(bound.Complete(total));
            if (read < 0) {
                qCWarning(lcArchive) << "read error:" << Error();
                return ExtractResult::Outcome::Failed;
            }
            total += quint64(read);
            if (!bound.Allows(total, quint64(std::max<la_int64_t>(ArchiveBytesRead() - start, 0))))
                return ExtractResult::Outcome::TooLarge;
            if (!output.Write(buffer, read))
                return ExtractResult::Outcome::Failed;
        }
    }

private:
    // Enables the adapter's formats and filters; a filter that runs an
    // outside program instead of the library's own code warns, and serves.
    bool SupportsAll()
    {
        return std::all_of(entries_.supports.begin(), entries_.supports.end(),
            [this](auto support) { return support(archive_) >= ARCHIVE_WARN; });
    }

    // How far the library has read into the archive file.
    la_int64_t ArchiveBytesRead() const { return entries_.filterBytes(archive_, -1); }

    QString Error() const
    {
        const char* text = archive_ ? entries_.errorString(archive_) : nullptr;
        return text ? QString::fromLocal8Bit(text) : QString();
    }

    const EntryPoints& entries_;
    int fd_;
    archive* archive_;
    bool ended_ = false;
};

ArchiverLibrary::ArchiverLibrary(ArchiveKind kind)
    : kind_(kind)
    , entries_(std::make_unique<EntryPoints>())
{
}

ArchiverLibrary::~ArchiverLibrary() { Free(); }

bool ArchiverLibrary::Load(const QByteArray& libraryFile)
{
    Free();
    void* handle = dlopen(libraryFile.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        qCInfo(lcArchive) << "archiver library not loaded:" << dlerror();
        return false;
    }
    EntryPoints& e = *entries_;
    const std::vector<const char*> supportNames = SupportEntryNames(kind_);
    e.supports.assign(supportNames.size(), nullptr);
    bool supported = !supportNames.empty();
    for (std::size_t i = 0; i < supportNames.size(); ++i)
        supported = supported && Resolve(handle, supportNames[i], e.supports[i]);
    const bool complete = supported && Resolve(handle, "archive_read_new", e.readNew)
        && Resolve(handle, "archive_read_free", e.readFree)
        && Resolve(handle, "archive_read_set_format_option", e.setFormatOption)
        && Resolve(handle, "archive_read_open_fd", e.openFd)
        && Resolve(handle, "archive_read_next_header", e.nextHeader)
        && Resolve(handle, "archive_read_data", e.readData)
        && Resolve(handle, "archive_filter_bytes", e.filterBytes)
        && Resolve(handle, "archive_error_string", e.errorString)
        && Resolve(handle, "archive_entry_size", e.entrySize)
        && Resolve(handle, "archive_entry_size_is_set", e.entrySizeIsSet)
        && Resolve(handle, "archive_entry_pathname", e.entryPathname)
        && Resolve(handle, "archive_entry_filetype", e.entryFiletype)
        && Resolve(handle, "archive_entry_mtime", e.entryMtime)
        && Resolve(handle, "archive_entry_mtime_is_set", e.entryMtimeIsSet);
    if (!complete) {
        dlclose(handle);
        return false;
    }
    handle_ = handle;
    return true;
}

void ArchiverLibrary::Free()
{
    if (handle_)
        dlclose(handle_);
    handle_ = nullptr;
}

int ArchiverLibrary::List(const QString& archivePath, MemberFilter filter, QList<ArchiveMember>& members) const
{
    if (!IsLoaded())
        return 0;
    Reader reader(*entries_, kind_, archivePath);
    if (!reader)
        return 0;
    int matched = 0;
    while (archive_entry* entry = reader.Next()) {
        const QByteArray raw = reader.Name(entry);
        const QString name = DecodeMemberName(raw);
        if (!MatchesWildcard(filter, name))
            continue;
        if (reader.IsFile(entry) && !raw.isEmpty() && Accepts(filter, name))
            members.append({ name, raw });
        ++matched;
    }
    return matched;
}

ExtractResult ArchiverLibrary::Extract(const QString& archivePath, const ArchiveMember& member,
    const QString& destination, const ExtractionLimits& limits) const
{
    return Extraction(*this, archivePath, limits).Extract(member, destination);
}

ArchiverLibrary::Extraction::Extraction(const ArchiverLibrary& library, QString archivePath, ExtractionLimits limits)
    : library_(library)
    , path_(std::move(archivePath))
    , limits_(limits)
{
}

ArchiverLibrary::Extraction::~Extraction() = default;

ExtractResult ArchiverLibrary::Extraction::Extract(const ArchiveMember& member, const QString& destination)
{
    if (!library_.IsLoaded())
        return ExtractResult::Outcome::Failed;
    const bool searchedAll = !reader_ || atStart_;
    if (const std::optional<ExtractResult> result = ExtractAhead(member, destination))
        return *result;
    if (!searchedAll) {
        reader_.reset();
        if (const std::optional<ExtractResult> result = ExtractAhead(member, destination))
            return *result;
    }
    qCInfo(lcArchive) << "member not found:" << member.Name << "in" << path_;
    return ExtractResult::Outcome::Failed;
}

std::optional<ExtractResult> ArchiverLibrary::Extraction::ExtractAhead(
    const ArchiveMember& member, const QString& destination)
{
    if (!reader_) {
        reader_ = std::make_unique<Reader>(*library_.entries_, library_.kind_, path_);
        atStart_ = true;
    }
    if (!*reader_)
        return std::nullopt;
    while (archive_entry* entry = reader_->Next()) {
        atStart_ = false;
        if (!reader_->IsFile(entry) || !IsRequestedMember(member, reader_->Name(entry)))
            continue;
        const QString folder = QFileInfo(destination).absolutePath();
        const std::optional<ExtractionBound> bound
            = ExtractionBound::For(folder, reader_->DeclaredSize(entry), std::nullopt, limits_);
        if (!bound)
            return ExtractResult::Outcome::TooLarge;
        MemberOutput output;
        if (!output.CreateIn(folder))
            return ExtractResult::Outcome::Failed;
        const ExtractResult copied = reader_->CopyData(*bound, output);
        if (!copied)
            return copied;
        return ExtractResult::Of(output.Finish(reader_->ModificationTime(entry), destination));
    }
    return std::nullopt;
}

bool ArchiverLibrary::Recognises(const QString& archivePath) const
{
    if (!IsLoaded())
        return false;
    Reader reader(*entries_, kind_, archivePath);
    return reader && reader.Next() != nullptr;
}

ArchiverLibrary& ArchiverFor(ArchiveKind kind)
{
    static ArchiverLibrary zip(ArchiveKind::Zip);
    static ArchiverLibrary lzh(ArchiveKind::Lzh);
    static ArchiverLibrary cab(ArchiveKind::Cab);
    static ArchiverLibrary sevenZip(ArchiveKind::SevenZip);
    static ArchiverLibrary tar(ArchiveKind::Tar);
    static ArchiverLibrary rar(ArchiveKind::Rar);
    switch (kind) {
    case ArchiveKind::Lzh:
        return lzh;
    case ArchiveKind::Cab:
        return cab;
    case ArchiveKind::SevenZip:
        return sevenZip;
    case ArchiveKind::Tar:
        return tar;
    case ArchiveKind::Rar:
        return rar;
    default:
        return zip;
    }
}

} // namespace tz
