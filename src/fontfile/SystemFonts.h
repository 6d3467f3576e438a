#pragma once
// The system font layer the renderer and the add-dialog preview draw
// through: the styles of one family, and font files made available to this
// process for a while (nothing is installed system-wide).
#include "fontfile/FontFormats.h"

#include <QList>
#include <QString>
#include <optional>

namespace tz {

// Text-metric flags of a style.
constexpr quint32 kItalicStyleFlag = 0x01;
constexpr quint32 kBoldStyleFlag = 0x20;

// Windows character-set codes the callers tell apart.
constexpr quint8 kAnsiCharset = 0;
constexpr quint8 kDefaultCharset = 1;
constexpr quint8 kSymbolCharset = 2;
constexpr quint8 kShiftJisCharset = 128;

struct FontStyle {
    QString FullName; // name ID 4, chosen as the font file reader chooses it
    bool TrueType = false; // an sfnt font (TrueType or OpenType outlines), not bitmap or Type 1
    quint32 StyleFlags = 0; // kBoldStyleFlag, kItalicStyleFlag
    quint8 Charset = kDefaultCharset; // Windows character-set code derived from the font
};

// One entry per face of the family (compared without regard to case with
// every family name the face has): installed faces first, in fontconfig's
// order, then the faces of the files made available, in the order they were
// added. With the wider formats, faces of WOFF and WOFF2 files and of
// suitcases are described from their decoded tables as sfnt faces.
QList<FontStyle> EnumerateFontStyles(const QString& family, FontFormats formats = FontFormats::Designed);

// The character set a sample of the face uses: every TrueType style of the
// family is classified in order (see ClassifyCharset) up to the style whose
// full name is fullName (compared exactly). kDefaultCharset when no style was
// classified. The matching style's weight and slant select nothing here: the
// face drawn is the row's own, which already has them.
quint8 SampleCharset(const QString& family, const QString& fullName, FontFormats formats = FontFormats::Designed);
// One step of the classification: a code with bit 1 set gives SYMBOL, 0 gives
// ANSI, one with bit 7 set gives SHIFTJIS; any other code keeps the previous.
quint8 ClassifyCharset(quint8 code, quint8 previous);

// Makes a font file available to this process (QFontDatabase and this
// enumeration alike). Returns a handle for RemoveFontResource, or -1 when
// the file can't be used as a font. Needs a QGuiApplication. With the wider
// formats a WOFF or single-face WOFF2 file is decoded once, here: the font
// engine and fontconfig read the decoded face, which AddedFontData gives.
int AddFontResource(const QString& path, FontFormats formats = FontFormats::Designed);
// The decoded face of a web font made available with the wider formats;
// empty for any other font (read from its file) and an unknown handle.
QByteArray AddedFontData(int handle);
// Withdraws a font made available by AddFontResource; false for an unknown handle.
bool RemoveFontResource(int handle);

// What the character set of a face is derived from.
struct CharsetEvidence {
    std::optional<quint32> codePageRange1; // OS/2 ulCodePageRange1, when the table has it
    bool symbolCmap = false; // a (3,0) subtable in cmap
    bool hasHiragana = false; // U+3042 mapped
    bool hasLatinA = false; // U+0041 mapped
};

// The Windows character-set code: the OS/2 code-page bits in their order of
// precedence (symbol, JIS, Latin 1, then the others), else a symbol cmap,
// else the characters the cmap maps, else the default character set.
quint8 DeriveCharset(const CharsetEvidence& evidence);

} // namespace tz
