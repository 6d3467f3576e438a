#pragma once
// A fontconfig configuration of the test's own: only the fonts copied into its
// font folder are installed. Must be set up before anything asks fontconfig
// (before the QApplication for widget tests).
#include <QString>
#include <QStringList>

namespace tz::test {

struct PrivateFonts {
    QString fontFolder; // the configured folder, holding the copied fonts
    QString missingFolder; // configured as well, but not created
};

// Writes fonts.conf below root, copies the font files into its font folder
// and points FONTCONFIG_FILE at it.
PrivateFonts UsePrivateFonts(const QString& root, const QStringList& fontFiles);

// Font files of the Debian font packages the tests rely on.
inline const QString kDejaVuSans = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
inline const QString kDejaVuSerif = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf");
inline const QString kIpaPGothic = QStringLiteral("/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf");
inline const QString kP052OpenType = QStringLiteral("/usr/share/fonts/opentype/urw-base35/P052-Roman.otf");
inline const QString kNimbusSansType1 = QStringLiteral("/usr/share/fonts/type1/urw-base35/NimbusSans-Regular.t1");

} // namespace tz::test
