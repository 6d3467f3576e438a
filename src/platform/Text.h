#pragma once
// Text conversions where bytes count: the list shows Unicode text, but names in
// fonts, archives and old list files arrive as UTF-16BE, Mac Roman or Shift-JIS
// (CP932) bytes, and some fields are limited in CP932 bytes.
#include <QByteArray>
#include <QString>
#include <optional>

namespace tz {

// Upper-cases single-byte letters a-z only; everything else stays as it is.
QString UpperAscii(QString text);
QByteArray UpperAscii(const QByteArray& text);

// The upper-cased extension including the dot (".TTF"), or empty.
QString UpperExtension(const QString& path);

// The text after the last "/" (or "\\"), the whole text when there is none.
QString FileNamePart(const QString& path);

// CP932 (Shift-JIS as written by Japanese systems). Decoding fails on bytes
// that are not valid CP932; encoding fails on characters outside CP932.
std::optional<QString> DecodeCp932(const QByteArray& bytes);
std::optional<QByteArray> EncodeCp932(const QString& text);

// Mac Roman never fails: every byte has a character.
QString DecodeMacRoman(const QByteArray& bytes);

// UTF-16 big-endian bytes; a trailing odd byte is dropped. Fails on unpaired
// surrogates.
std::optional<QString> DecodeUtf16BE(const QByteArray& bytes);

// True when the bytes are valid UTF-8.
bool IsValidUtf8(const QByteArray& bytes);

} // namespace tz
