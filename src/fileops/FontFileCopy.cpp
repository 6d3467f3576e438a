#include "fileops/FontFileCopy.h"

#include "archive/Archivettf.h"
#include "fileops/FileOpsLog.h"
#include "fontfile/MacFont.h"
#include "fontfile/RegularFile.h"
#include "platform/PathResolver.h"
#include "platform/RemovedOnSignal.h"
#include "platform/Text.h"

#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tz {

namespace {

    constexpr qint64 kChunk = 64 * 1024;

    // Only a regular file is copied: a FIFO would block the copy and a device
    // such as /dev/zero would fill the destination, so both count as missing.
    bool CopyBytes(const QString& source, QFile& out)
    {
        const RegularFile in(source, RegularFile::Mode::Read);
        if (!in.IsOpen())
            return false;
        QByteArray buffer(kChunk, Qt::Uninitialized);
        quint64 position = 0;
        for (;;) {
            const std::size_t got = in.ReadAt(position, buffer.data(), std::size_t(kChunk));
            if (got == 0)
                break;
            if (out.write(buffer.constData(), qint64(got)) != qint64(got))
                return false;
            position += got;
        }
        // Reading ends early only on a read error.
        return position >= quint64(in.Size()) && out.flush() && ::fsync(out.handle()) == 0;
    }

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

    // Moves the finished temporary file to its name: replacing what is there,
    // or failing when something is.
    bool MoveIntoPlace(const QString& temporary, const QString& target, ExistingTarget existing)
    {
        const QByteArray from = QFile::encodeName(temporary);
        const QByteArray to = QFile::encodeName(target);
        if (existing == ExistingTarget::Replace)
            return std::rename(from.constData(), to.constData()) == 0;
        if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) == 0)
            return true;
        if (errno != EINVAL && errno != ENOSYS)
            return false;
        // File systems without the exclusive rename: a hard link fails as well
        // when the name is taken.
        return ::link(from.constData(), to.constData()) == 0 && ::unlink(from.constData()) == 0;
    }

} // namespace

QString FileKey(const FontEntry& entry)
{
    return entry.MemberName.isEmpty() ? entry.FilePath : entry.FilePath + u'/' + entry.MemberName;
}

QString TargetFileName(const QString& name, int kind, bool addExtension)
{
    const QString ext = UpperExtension(name);
    if (!addExtension || ext == u".TTF" || ext == u".TTC")
        return name;
    return name + (kind == kKindMacCollection ? QStringLiteral(".ttc") : QStringLiteral(".ttf"));
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

std::optional<FontSource> FontSource::Obtain(const FontEntry& entry, const QString& workFolder)
{
    if (entry.MemberName.isEmpty()) {
        const QString path = ResolvePath(entry.FilePath);
        return FontSource(path, FileNamePart(path), false);
    }
    const std::optional<ArchiveMember> member = FindMember(entry.FilePath, entry.MemberName);
    if (!member)
        return std::nullopt;
    const QString name = FileNamePart(member->Name);
    if (!IsPlainFileName(name))
        return std::nullopt;
    const QString path = workFolder + u'/' + name;
    if (!ExtractMember(entry.FilePath, *member, path))
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
    QTemporaryFile out(QFileInfo(target).absolutePath() + QStringLiteral("/.tzcopy-XXXXXX"));
    if (!out.open()) {
        qCInfo(lcFileOps) << "cannot write into the folder of" << target;
        return false;
    }
    const QString temporary = out.fileName();
    const RemovedOnSignal removal(temporary);
    const bool mac = kind & kKindMac;
    bool written = false;
    if (mac) {
        out.close();
        written = ExtractMacFont(source, temporary);
        written = written && ::chmod(QFile::encodeName(temporary).constData(), DefaultFileMode()) == 0;
    } else {
        written = CopyBytes(source, out);
        out.close();
        written = written
            && QFile::setPermissions(temporary, QFileInfo(source).permissions() | QFile::WriteOwner | QFile::ReadOwner);
    }
    if (!written) {
        qCInfo(lcFileOps) << "copy of" << source << "failed";
        return false;
    }
    CopyTimes(source, temporary);
    if (!MoveIntoPlace(temporary, target, existing)) {
        qCInfo(lcFileOps) << "cannot name the copy" << target;
        return false;
    }
    out.setAutoRemove(false);
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
