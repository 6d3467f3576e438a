#include "collect/Shortcut.h"

#include "fontfile/ByteOrder.h"
#include "platform/PathResolver.h"
#include "platform/Text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tz {

namespace {

    // A zero-terminated narrow string starting at offset, inside [offset, limit).
    QByteArray CString(const QByteArray& bytes, qsizetype offset, qsizetype limit)
    {
        limit = std::min(limit, bytes.size());
        if (offset < 0 || offset >= limit)
            return {};
        const qsizetype end = bytes.indexOf('\0', offset);
        return bytes.mid(offset, (end < 0 || end > limit ? limit : end) - offset);
    }

    constexpr quint32 kHeaderSize = 0x4C;
    constexpr char kLinkClsid[16] = { 0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00, char(0xC0), 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x46 };
    enum LinkFlag : quint32 {
        kHasIdList = 0x1,
        kHasLinkInfo = 0x2,
        kHasName = 0x4,
        kHasRelativePath = 0x8,
        kIsUnicode = 0x80,
    };

    // Narrow strings in links from Japanese systems are CP932.
    QString Narrow(const QByteArray& bytes)
    {
        if (IsValidUtf8(bytes))
            return QString::fromUtf8(bytes);
        return DecodeCp932(bytes).value_or(QString::fromLatin1(bytes));
    }

    QString WindowsToLocal(QString path) { return path.replace(u'\\', u'/'); }

} // namespace

std::optional<ShellLinkTarget> ParseShellLink(const QByteArray& bytes)
{
    const LittleEndianView r(bytes);
    if (!r.Fits(0, 20) || r.U32(0) != kHeaderSize || QByteArrayView(bytes).sliced(4, 16) != QByteArrayView(kLinkClsid, 16))
        return std::nullopt;
    const quint32 flags = r.U32(20);
    std::size_t pos = kHeaderSize;
    if (flags & kHasIdList) {
        if (!r.Fits(pos, 2))
            return std::nullopt;
        pos += 2 + r.U16(pos);
    }
    ShellLinkTarget target;
    if (flags & kHasLinkInfo) {
        // LinkInfo: its size, flags, and the offsets of the local base path
        // and the common path suffix, all inside its 28-byte header.
        if (!r.Fits(pos, 28))
            return std::nullopt;
        const quint32 infoSize = r.U32(pos);
        const quint32 infoFlags = r.U32(pos + 8);
        const quint32 baseOffset = r.U32(pos + 16);
        const quint32 suffixOffset = r.U32(pos + 24);
        if (!r.Fits(pos, infoSize))
            return std::nullopt;
        const qsizetype start = qsizetype(pos);
        const qsizetype limit = start + infoSize;
        if (infoFlags & 0x1) {
            target.LocalBasePath = Narrow(CString(bytes, start + baseOffset, limit));
            const QString suffix = Narrow(CString(bytes, start + suffixOffset, limit));
            if (!suffix.isEmpty() && !target.LocalBasePath.endsWith(u'\\'))
                target.LocalBasePath += u'\\';
            target.LocalBasePath += suffix;
        }
        pos = std::size_t(limit);
    }
    // String data: NAME, RELATIVE_PATH, ... each a 16-bit character count first.
    for (quint32 flag : { kHasName, kHasRelativePath }) {
        if (!(flags & flag))
            continue;
        if (!r.Fits(pos, 2))
            return std::nullopt;
        const quint16 count = r.U16(pos);
        const std::size_t size = (flags & kIsUnicode) ? std::size_t(count) * 2 : count;
        if (!r.Fits(pos + 2, size))
            return std::nullopt;
        const QByteArray text = bytes.mid(qsizetype(pos + 2), qsizetype(size));
        pos += 2 + size;
        if (flag == kHasRelativePath) {
            target.RelativePath = (flags & kIsUnicode)
                ? QString::fromUtf16(reinterpret_cast<const char16_t*>(text.constData()), count)
                : Narrow(text);
        }
    }
    return target;
}

std::optional<QString> ResolveShortcut(const QString& linkPath)
{
    QFile file(ResolvePath(linkPath));
    if (!QFileInfo(file.fileName()).isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const auto target = ParseShellLink(file.read(1 << 20));
    if (!target)
        return std::nullopt;
    QStringList candidates;
    if (!target->LocalBasePath.isEmpty())
        candidates << WindowsToLocal(target->LocalBasePath);
    if (!target->RelativePath.isEmpty())
        candidates << QFileInfo(file.fileName()).absolutePath() + u'/' + WindowsToLocal(target->RelativePath);
    for (const QString& candidate : candidates) {
        const QString resolved = ResolvePath(QDir::cleanPath(candidate));
        if (QFileInfo::exists(resolved))
            return resolved;
    }
    return std::nullopt;
}

QString NormalizeLongName(const QString& path) { return ResolveLastComponent(path); }

QString ResolveGivenPath(const QString& given)
{
    QString path = NormalizeLongName(given);
    if (UpperExtension(path) == u".LNK")
        path = ResolveShortcut(path).value_or(path);
    return NormalizeLongName(path);
}

} // namespace tz
