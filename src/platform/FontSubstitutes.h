#pragma once
// Font families the program names that a Linux system does not have under that
// name, mapped to the installed fonts that stand in for them.
#include <QString>

namespace tz {

// The Japanese proportional gothic of the headings, the size preview and the
// user interface.
inline const QString kProportionalGothicFace = QStringLiteral("ＭＳ Ｐゴシック");

// Registers the stand-ins with the font database: kProportionalGothicFace
// becomes the first installed of IPAPGothic, VL PGothic and Noto Sans CJK JP,
// else the default sans-serif face. Call once after the QGuiApplication exists.
// Returns the family that now answers for kProportionalGothicFace.
QString RegisterFontSubstitutes();

} // namespace tz
