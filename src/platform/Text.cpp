#include "platform/Text.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace tz {

QString UpperAscii(QString text)
{
    for (QChar& c : text) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 0x20);
    }
    return text;
}

QByteArray UpperAscii(const QByteArray& text)
{
    QByteArray result = text;
    for (char& c : result) {
        if (c >= 'a' && c <= 'z')
            c = char(c - 0x20);
    }
    return result;
}

QString FileNamePart(const QString& path)
{
    const qsizetype slash = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.mid(slash + 1);
}

QString UpperExtension(const QString& path)
{
    // The last dot after the last separator, without copying the file name.
    const qsizetype slash = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot <= slash)
        return QString();
    return UpperAscii(path.mid(dot));
}

namespace {

    // One whole-buffer conversion through glibc's iconv.
    std::optional<QByteArray> Iconv(const char* to, const char* from, const QByteArray& input)
    {
        iconv_t cd = iconv_open(to, from);
        if (cd == iconv_t(-1))
            return std::nullopt;
        QByteArray output;
        output.resize(input.size() * 4 + 16);
        char* in = const_cast<char*>(input.constData());
        size_t inLeft = size_t(input.size());
        char* out = output.data();
        size_t outLeft = size_t(output.size());
        const size_t rc = iconv(cd, &in, &inLeft, &out, &outLeft);
        iconv_close(cd);
        if (rc == size_t(-1))
            return std::nullopt;
        output.truncate(output.size() - qsizetype(outLeft));
        return output;
    }

} // namespace

std::optional<QString> DecodeCp932(const QByteArray& bytes)
{
    const auto utf8 = Iconv("UTF-8", "CP932", bytes);
    if (!utf8)
        return std::nullopt;
    return QString::fromUtf8(*utf8);
}

std::optional<QByteArray> EncodeCp932(const QString& text)
{
    return Iconv("CP932", "UTF-8", text.toUtf8());
}

QString DecodeMacRoman(const QByteArray& bytes)
{
    // The upper half of Mac Roman, 0x80 to 0xFF.
    static const char16_t upper[128] = {
        0x00C4, 0x00C5, 0x00C7, 0x00C9, 0x00D1, 0x00D6, 0x00DC, 0x00E1, 0x00E0, 0x00E2, 0x00E4, 0x00E3, 0x00E5,
        0x00E7, 0x00E9, 0x00E8, 0x00EA, 0x00EB, 0x00ED, 0x00EC, 0x00EE, 0x00EF, 0x00F1, 0x00F3, 0x00F2, 0x00F4,
        0x00F6, 0x00F5, 0x00FA, 0x00F9, 0x00FB, 0x00FC, 0x2020, 0x00B0, 0x00A2, 0x00A3, 0x00A7, 0x2022, 0x00B6,
        0x00DF, 0x00AE, 0x00A9, 0x2122, 0x00B4, 0x00A8, 0x2260, 0x00C6, 0x00D8, 0x221E, 0x00B1, 0x2264, 0x2265,
        0x00A5, 0x00B5, 0x2202, 0x2211, 0x220F, 0x03C0, 0x222B, 0x00AA, 0x00BA, 0x03A9, 0x00E6, 0x00F8, 0x00BF,
        0x00A1, 0x00AC, 0x221A, 0x0192, 0x2248, 0x2206, 0x00AB, 0x00BB, 0x2026, 0x00A0, 0x00C0, 0x00C3, 0x00D5,
        0x0152, 0x0153, 0x2013, 0x2014, 0x201C, 0x201D, 0x2018, 0x2019, 0x00F7, 0x25CA, 0x00FF, 0x0178, 0x2044,
        0x20AC, 0x2039, 0x203A, 0xFB01, 0xFB02, 0x2021, 0x00B7, 0x201A, 0x201E, 0x2030, 0x00C2, 0x00CA, 0x00C1,
        0x00CB, 0x00C8, 0x00CD, 0x00CE, 0x00CF, 0x00CC, 0x00D3, 0x00D4, 0xF8FF, 0x00D2, 0x00DA, 0x00DB, 0x00D9,
        0x0131, 0x02C6, 0x02DC, 0x00AF, 0x02D8, 0x02D9, 0x02DA, 0x00B8, 0x02DD, 0x02DB, 0x02C7,
    };
    QString result;
    result.reserve(bytes.size());
    for (char byte : bytes) {
        const unsigned char b = static_cast<unsigned char>(byte);
        result.append(b < 0x80 ? QChar(b) : QChar(upper[b - 0x80]));
    }
    return result;
}

std::optional<QString> DecodeUtf16BE(const QByteArray& bytes)
{
    QString result;
    result.reserve(bytes.size() / 2);
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        result.append(QChar(char16_t((uchar(bytes[i]) << 8) | uchar(bytes[i + 1]))));
    for (qsizetype i = 0; i < result.size(); ++i) {
        const QChar c = result[i];
        if (c.isHighSurrogate()) {
            if (i + 1 >= result.size() || !result[i + 1].isLowSurrogate())
                return std::nullopt;
            ++i;
        } else if (c.isLowSurrogate()) {
            return std::nullopt;
        }
    }
    return result;
}

bool IsValidUtf8(const QByteArray& bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size;) {
        const unsigned char lead = p[i];
        int trail = 0;
        char32_t min = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            trail = 1, min = 0x80;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            trail = 2, min = 0x800;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            trail = 3, min = 0x10000;
        } else {
            return false;
        }
        if (size - i <= trail)
            return false;
        char32_t code = lead & (0x3F >> trail);
        for (int k = 1; k <= trail; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (p[i + k] & 0x3F);
        }
        if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += trail + 1;
    }
    return true;
}

} // namespace tz
