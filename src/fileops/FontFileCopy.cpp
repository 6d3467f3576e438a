#include "fileops/FontFileCopy.h"

#include "archive/Archivettf.h"
#include "fileops/FileOpsLog.h"
#include "fontfile/FontExtensions.h"
#include "fontfile/MacFont.h"
#include "fontfile/RegularFile.h"
#include "platform/PathResolver.h"
#include "platform/RemovedOnSignal.h"
#include "platform/Text.h"

#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>

#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tz {

namespace {

    constexpr qint64 kChunk = 64 * 1024;

    // The source's access and modification times onto the file (creation
    // times can't be set on Linux).
    void CopyTimes(const QString& source, const QString& target)
    {
        struct stat st { };
        if (::stat(QFile::encodeName(source).constData(), &st) != 0)
            return;
        const timespec times[2] = { st.st_atim, st.st_mtim };
        if (::utimensat(AT_FDCWD, QFile::encodeName(target).constData(), times, 0) != 0)
            qCInfo(lcFileOps) << "times not copied to" << target;
    }

    mode_t DefaultFileMode()
    {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        return 0666 & ~mask;
    }

} // namespace

QString NotExtractedLine(const FontEntry& entry)
{
    return entry.FaceName + u'(' + ResolvePath(entry.FilePath) + QStringLiteral(")が展開できませんでした.");
}

QString TargetFileName(const QString& name, int kind, bool addExtension, FontFormats formats)
{
    if (!addExtension || IsTrueTypeName(name) || (formats == FontFormats::All && IsWiderFontName(name)))
        return name;
    return name + (kind == kKindMacCollection ? QStringLiteral(".ttc") : QStringLiteral(".ttf"));
}

int WrittenKind(const QString& name, int kind, FontFormats formats)
{
    const bool suitcase = formats == FontFormats::All && HasExtension(name, QLatin1StringView(".DFONT"));
    return suitcase ? kind & ~kKindMac : kind;
}

bool IsPlainFileName(const QString& name)
{
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') && !name.contains(u'\\');
}

FontSource::FontSource(QString path, QString name, bool temporary)
    : path_(std::move(path))
    , name_(std::move(name))
    , temporary_(temporary)
    , removal_(temporary_ ? RemovedOnSignal(path_) : RemovedOnSignal())
{
}

FontSource::FontSource(FontSource&& other) noexcept
    : path_(std::move(other.path_))
    , name_(std::move(other.name_))
    , temporary_(std::exchange(other.temporary_, false))
    , removal_(std::move(other.removal_))
{
}

FontSource::~FontSource()
{
    if (temporary_)
        QFile::remove(path_);
}

qint64 FontSource::Size() const { return QFileInfo(path_).size(); }

std::optional<FontSource> FontSource::Obtain(const FontEntry& entry, const QString& workFolder, FontFormats formats)
{
    if (entry.MemberName.isEmpty()) {
        const QString path = ResolvePath(entry.FilePath);
        return FontSource(path, FileNamePart(path), false);
    }
    const std::optional<ArchiveMember> member = FindMember(entry.FilePath, entry.MemberName, formats);
    if (!member)
        return std::nullopt;
    const QString name = FileNamePart(member->Name);
    if (!IsPlainFileName(name))
        return std::nullopt;
    const QString path = workFolder + u'/' + name;
    if (!ExtractMember(entry.FilePath, *member, path, formats))
        return std::nullopt;
    return FontSource(path, name, true);
}

std::optional<FontSource> FontSource::AsTrueType(FontSource&& source, int kind, const QString& workFolder)
{
    if (!(kind & kKindMac))
        return std::move(source);
    FontSource font(workFolder + u'/' + source.name_ + QStringLiteral(".font"), source.name_, true);
    if (!ExtractMacFont(source.path_, font.path_))
        return std::nullopt;
    return font;
}

bool CopyOneFont(int kind, const QString& source, const QString& target, ExistingTarget existing)
{
    ReplacingFile out(target, ReplacingFile::Durability::Synced, ".tzcopy-");
    if (!out.Open()) {
        qCInfo(lcFileOps) << "cannot write into the folder of" << target << out.ErrorString();
        return false;
    }
    const QString temporary = out.TemporaryPath();
    const RemovedOnSignal removal(temporary);
    const bool mac = kind & kKindMac;
    bool written = false;
    if (mac) {
        written = ExtractMacFont(source, temporary);
        written = written && ::chmod(QFile::encodeName(temporary).constData(), DefaultFileMode()) == 0;
    } else {
        written = out.WriteContentsOf(source)
            && QFile::setPermissions(temporary, QFileInfo(source).permissions() | QFile::WriteOwner | QFile::ReadOwner);
    }
    if (!written) {
        qCInfo(lcFileOps) << "copy of" << source << "failed" << out.ErrorString();
        return false;
    }
    CopyTimes(source, temporary);
    if (!out.Commit(existing)) {
        qCInfo(lcFileOps) << "cannot name the copy" << target << out.ErrorString();
        return false;
    }
    return true;
}

std::optional<qint64> FreeBytesOf(const QString& folder)
{
    const QStorageInfo storage(folder);
    if (!storage.isValid() || !storage.isReady())
        return std::nullopt;
    return storage.bytesAvailable();
}

bool SameContent(const QString& a, const QString& b)
{
    const RegularFile first(a, RegularFile::Mode::Read), second(b, RegularFile::Mode::Read);
    if (!first.IsOpen() || !second.IsOpen() || first.Size() != second.Size())
        return false;
    QByteArray one(kChunk, Qt::Uninitialized), other(kChunk, Qt::Uninitialized);
    for (quint64 position = 0; position < quint64(first.Size());) {
        const std::size_t got = first.ReadAt(position, one.data(), std::size_t(kChunk));
        if (got == 0 || second.ReadAt(position, other.data(), got) != got || std::memcmp(one.data(), other.data(), got) != 0)
            return false;
        position += got;
    }
    return true;
}

} // namespace tz
