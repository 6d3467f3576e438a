#include "fileops/FontFileCopy.h"

#include "archive/Archivettf.h"
#include "fileops/FileOpsLog.h"
#include "fontfile/MacFont.h"
#include "platform/PathResolver.h"
#include "platform/Text.h"

#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tz {

namespace {

    constexpr qint64 kChunk = 64 * 1024;

    bool CopyBytes(const QString& source, QFile& out)
    {
        QFile in(source);
        if (!in.open(QIODevice::ReadOnly))
            return false;
        QByteArray buffer(kChunk, Qt::Uninitialized);
        for (;;) {
            const qint64 got = in.read(buffer.data(), kChunk);
            if (got < 0)
                return false;
            if (got == 0)
                break;
            if (out.write(buffer.constData(), got) != got)
                return false;
        }
        return out.flush() && ::fsync(out.handle()) == 0;
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
{
}

FontSource::FontSource(FontSource&& other) noexcept
    : path_(std::move(other.path_))
    , name_(std::move(other.name_))
    , temporary_(std::exchange(other.temporary_, false))
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
    QFile first(a), second(b);
    if (!first.open(QIODevice::ReadOnly) || !second.open(QIODevice::ReadOnly) || first.size() != second.size())
        return false;
    while (!first.atEnd()) {
        if (first.read(kChunk) != second.read(kChunk))
            return false;
    }
    return true;
}

} // namespace tz
