#include "collect/Shortcut.h"

#include "platform/PathResolver.h"
#include "platform/Text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tz {

namespace {

    // Bounds-checked little-endian reads over the link's bytes.
    class LinkReader {
    public:
        explicit LinkReader(const QByteArray& bytes) : bytes_(bytes) { }
        bool Has(qsizetype offset, qsizetype width) const
        {
            return offset >= 0 && width >= 0 && offset <= bytes_.size() && bytes_.size() - offset >= width;
        }
        std::optional<quint32> U32(qsizetype offset) const
        {
            if (!Has(offset, 4))
                return std::nullopt;
            const auto* p = reinterpret_cast<const uchar*>(bytes_.constData() + offset);
            return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
        }
        std::optional<quint16> U16(qsizetype offset) const
        {
            if (!Has(offset, 2))
                return std::nullopt;
            const auto* p = reinterpret_cast<const uchar*>(bytes_.constData() + offset);
            return quint16(p[0] | p[1] << 8);
        }
        // A zero-terminated narrow string starting at offset, inside [offset, limit).
        QByteArray CString(qsizetype offset, qsizetype limit) const
        {
            limit = std::min(limit, bytes_.size());
            if (offset < 0 || offset >= limit)
                return {};
            const qsizetype end = bytes_.indexOf('\0', offset);
            return bytes_.mid(offset, (end < 0 || end > limit ? limit : end) - offset);
        }
        QByteArray Bytes(qsizetype offset, qsizetype size) const
        {
            return Has(offset, size) ? bytes_.mid(offset, size) : QByteArray();
        }

    private:
        const QByteArray& bytes_;
    };

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
    const LinkReader r(bytes);
    if (r.U32(0) != kHeaderSize || r.Bytes(4, 16) != QByteArray(kLinkClsid, 16))
        return std::nullopt;
    const quint32 flags = *r.U32(20);
    qsizetype pos = kHeaderSize;
    if (flags & kHasIdList) {
        const auto size = r.U16(pos);
        if (!size)
            return std::nullopt;
        pos += 2 + *size;
    }
    ShellLinkTarget target;
    if (flags & kHasLinkInfo) {
        const auto infoSize = r.U32(pos);
        const auto infoFlags = r.U32(pos + 8);
        const auto baseOffset = r.U32(pos + 16);
        const auto suffixOffset = r.U32(pos + 24);
        if (!infoSize || !infoFlags || !baseOffset || !suffixOffset || !r.Has(pos, *infoSize))
            return std::nullopt;
        const qsizetype limit = pos + *infoSize;
        if (*infoFlags & 0x1) {
            target.LocalBasePath = Narrow(r.CString(pos + *baseOffset, limit));
            const QString suffix = Narrow(r.CString(pos + *suffixOffset, limit));
            if (!suffix.isEmpty() && !target.LocalBasePath.endsWith(u'\\'))
                target.LocalBasePath += u'\\';
            target.LocalBasePath += suffix;
        }
        pos = limit;
    }
    // String data: NAME, RELATIVE_PATH, ... each a 16-bit character count first.
    for (quint32 flag : { kHasName, kHasRelativePath }) {
        if (!(flags & flag))
            continue;
        const auto count = r.U16(pos);
        if (!count)
            return std::nullopt;
        const qsizetype size = (flags & kIsUnicode) ? qsizetype(*count) * 2 : *count;
        const QByteArray text = r.Bytes(pos + 2, size);
        if (text.size() != size)
            return std::nullopt;
        pos += 2 + size;
        if (flag == kHasRelativePath) {
            target.RelativePath = (flags & kIsUnicode)
                ? QString::fromUtf16(reinterpret_cast<const char16_t*>(text.constData()), *count)
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
