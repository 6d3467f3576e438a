#include "fontfile/InstalledFontFiles.h"

#include "fontfile/FontFileLog.h"
#include "platform/Text.h"

#include <QFile>
#include <QStandardPaths>
#include <algorithm>
#include <fontconfig/fontconfig.h>

namespace tz {

bool InstalledFontFiles::Refresh()
{
    paths_.clear();
    FcFontSet* system = FcConfigGetFonts(nullptr, FcSetSystem);
    if (!system) {
        qCWarning(lcFontFile) << "fontconfig has no system font set";
        return false;
    }
    for (int i = 0; i < system->nfont; ++i) {
        FcChar8* file = nullptr;
        if (FcPatternGetString(system->fonts[i], FC_FILE, 0, &file) == FcResultMatch)
            paths_.append(UpperAscii(QFile::decodeName(reinterpret_cast<const char*>(file))));
    }
    // Upper-cased paths in code-unit order are sorted without regard to ASCII
    // case, which lets IndexOf search them by halves.
    std::sort(paths_.begin(), paths_.end());
    paths_.erase(std::unique(paths_.begin(), paths_.end()), paths_.end());
    return !paths_.isEmpty();
}

qsizetype InstalledFontFiles::IndexOf(const QString& path) const
{
    const QString key = UpperAscii(path);
    const auto found = std::lower_bound(paths_.begin(), paths_.end(), key);
    return found != paths_.end() && *found == key ? found - paths_.begin() : -1;
}

QString InstalledFontFiles::FontsFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/fonts");
}

} // namespace tz
