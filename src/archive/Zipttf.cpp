#include "archive/Zipttf.h"

#include "archive/ArchiveLog.h"
#include "archive/MemberOutput.h"
#include "fontfile/RegularFile.h"

#include <QDateTime>
#include <QFileInfo>
#include <cstdio>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <unzip.h>

namespace tz {

namespace {

    constexpr int kNameBufferSize = 256;
    constexpr unsigned kCopyBufferSize = 8192;

    // minizip opens the archive through this: a regular file only, so a FIFO
    // or device named like an archive never blocks or streams for ever.
    voidpf ZCALLBACK OpenRegularFile(voidpf, const void* path, int)
    {
        const int fd = RegularFile::OpenForReading(QFile::decodeName(static_cast<const char*>(path)));
        if (fd < 0)
            return nullptr;
        FILE* file = ::fdopen(fd, "rb");
        if (!file)
            ::close(fd);
        return file;
    }

    zlib_filefunc64_def* RegularFileFunctions()
    {
        static zlib_filefunc64_def functions = [] {
            zlib_filefunc64_def standard;
            fill_fopen64_filefunc(&standard);
            standard.zopen64_file = OpenRegularFile;
            return standard;
        }();
        return &functions;
    }

    class ZipArchive {
    public:
        explicit ZipArchive(const QString& path)
            : file_(unzOpen2_64(QFile::encodeName(path).constData(), RegularFileFunctions()))
        {
        }
        ~ZipArchive()
        {
            if (file_)
                unzClose(file_);
        }
        ZipArchive(const ZipArchive&) = delete;
        ZipArchive& operator=(const ZipArchive&) = delete;

        explicit operator bool() const { return file_ != nullptr; }
        unzFile Handle() const { return file_; }

    private:
        unzFile file_;
    };

    struct ZipMember {
        QByteArray raw; // empty when the name doesn't fit the name buffer
        unz_file_info64 info {};

        // Plain files only: no folders, no symbolic links, no names that
        // couldn't be found again.
        bool IsFile() const
        {
            constexpr uLong kMadeOnUnix = 3;
            const bool symlink = (info.version >> 8) == kMadeOnUnix && ((info.external_fa >> 16) & S_IFMT) == S_IFLNK;
            return !raw.isEmpty() && !raw.contains('\0') && !raw.endsWith('/') && !raw.endsWith('\\') && !symlink;
        }
    };

    std::optional<ZipMember> ReadCurrentMember(unzFile file)
    {
        ZipMember member;
        char name[kNameBufferSize];
        if (unzGetCurrentFileInfo64(file, &member.info, name, sizeof name, nullptr, 0, nullptr, 0) != UNZ_OK)
            return std::nullopt;
        if (member.info.size_filename < sizeof name)
            member.raw = QByteArray(name, qsizetype(member.info.size_filename));
        else
            qCInfo(lcArchive) << "member name of" << member.info.size_filename << "bytes skipped";
        return member;
    }

    std::optional<ZipMember> LocateMember(unzFile file, const ArchiveMember& wanted)
    {
        for (int rc = unzGoToFirstFile(file); rc == UNZ_OK; rc = unzGoToNextFile(file)) {
            std::optional<ZipMember> member = ReadCurrentMember(file);
            if (!member)
                return std::nullopt;
            if (member->IsFile() && IsRequestedMember(wanted, member->raw))
                return member;
        }
        return std::nullopt;
    }

    // The DOS date and time of the member taken as local time; none when the
    // recorded fields make no date.
    std::optional<qint64> ModificationTime(const tm_unz& date)
    {
        const QDateTime local(QDate(int(date.tm_year), int(date.tm_mon) + 1, int(date.tm_mday)),
            QTime(int(date.tm_hour), int(date.tm_min), int(date.tm_sec)));
        if (!local.isValid())
            return std::nullopt;
        return local.toSecsSinceEpoch();
    }

    // Copies the open member; extracted when exactly the recorded size
    // arrived. minizip reads no more than the recorded compressed size.
    ExtractResult CopyMember(unzFile file, const unz_file_info64& info, const ExtractionBound& bound, MemberOutput& output)
    {
        char buffer[kCopyBufferSize];
        quint64 total = 0;
        for (;;) {
            const int read = unzReadCurrentFile(file, buffer, sizeof buffer);
            if (read < 0) {
                qCWarning(lcArchive) << "read error" << read;
                return ExtractResult::Outcome::Failed;
            }
            if (read == 0)
                break;
            total += quint64(read);
            if (!bound.Allows(total, info.compressed_size))
                return ExtractResult::Outcome::TooLarge;
            if (!output.Write(buffer, read))
                return ExtractResult::Outcome::Failed;
        }
        if (!bound.Complete(total)) {
            qCWarning(lcArchive) << "member holds" << total << "bytes, recorded" << info.uncompressed_size;
            return ExtractResult::Outcome::Failed;
        }
        return ExtractResult::Outcome::Extracted;
    }

} // namespace

int ListZipMembers(const QString& archivePath, MemberFilter filter, QList<ArchiveMember>& members)
{
    const ZipArchive zip(archivePath);
    if (!zip)
        return 0;
    unz_global_info64 global;
    if (unzGetGlobalInfo64(zip.Handle(), &global) != UNZ_OK)
        return 0;
    int visited = 0;
    for (;;) {
        const std::optional<ZipMember> member = ReadCurrentMember(zip.Handle());
        if (!member)
            break;
        if (member->IsFile()) {
            const QString name = DecodeMemberName(member->raw);
            if (Accepts(filter, name))
                members.append({ name, member->raw });
        }
        ++visited;
        if (unzGoToNextFile(zip.Handle()) != UNZ_OK)
            break;
    }
    return visited;
}

ExtractResult ExtractZipMember(
    const QString& archivePath, const ArchiveMember& member, const QString& destination, const ExtractionLimits& limits)
{
    const ZipArchive zip(archivePath);
    if (!zip)
        return ExtractResult::Outcome::Failed;
    const std::optional<ZipMember> found = LocateMember(zip.Handle(), member);
    if (!found) {
        qCInfo(lcArchive) << "member not found:" << member.Name << "in" << archivePath;
        return ExtractResult::Outcome::Failed;
    }
    const std::optional<ExtractionBound> bound = ExtractionBound::For(QFileInfo(destination).absolutePath(),
        found->info.uncompressed_size, found->info.compressed_size, limits);
    if (!bound)
        return ExtractResult::Outcome::TooLarge;
    if (unzOpenCurrentFile(zip.Handle()) != UNZ_OK) {
        qCInfo(lcArchive) << "member unreadable:" << member.Name << "in" << archivePath;
        return ExtractResult::Outcome::Failed;
    }
    MemberOutput output;
    if (!output.Create(destination)) {
        unzCloseCurrentFile(zip.Handle());
        return ExtractResult::Outcome::Failed;
    }
    const ExtractResult copied = CopyMember(zip.Handle(), found->info, *bound, output);
    // Closing the member checks its CRC once every byte was read.
    const bool crcPassed = unzCloseCurrentFile(zip.Handle()) == UNZ_OK;
    if (!copied)
        return copied;
    if (!crcPassed)
        qCWarning(lcArchive) << "CRC mismatch:" << member.Name << "in" << archivePath;
    return ExtractResult::Of(crcPassed && output.Finish(ModificationTime(found->info.tmu_date), destination));
}

} // namespace tz
