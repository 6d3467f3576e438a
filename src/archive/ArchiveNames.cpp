#include "archive/ArchiveNames.h"

#include "fontfile/FontExtensions.h"

#include <algorithm>

namespace tz {

namespace {

    struct NamedKind {
        QLatin1StringView extension;
        ArchiveKind kind;
    };

    constexpr NamedKind kOwnKinds[] { { QLatin1StringView(".ZIP"), ArchiveKind::Zip },
        { QLatin1StringView(".LZH"), ArchiveKind::Lzh }, { QLatin1StringView(".CAB"), ArchiveKind::Cab } };

    constexpr NamedKind kWiderKinds[] { { QLatin1StringView(".7Z"), ArchiveKind::SevenZip },
        { QLatin1StringView(".TAR"), ArchiveKind::Tar }, { QLatin1StringView(".TGZ"), ArchiveKind::Tar },
        { QLatin1StringView(".TAR.GZ"), ArchiveKind::Tar }, { QLatin1StringView(".TAR.BZ2"), ArchiveKind::Tar },
        { QLatin1StringView(".TAR.XZ"), ArchiveKind::Tar }, { QLatin1StringView(".RAR"), ArchiveKind::Rar } };

    template <std::size_t N> ArchiveKind KindIn(const NamedKind (&kinds)[N], QStringView name)
    {
        const auto found = std::find_if(
            std::begin(kinds), std::end(kinds), [name](const NamedKind& k) { return HasExtension(name, k.extension); });
        return found == std::end(kinds) ? ArchiveKind::None : found->kind;
    }

} // namespace

ArchiveKind ArchiveKindOfName(QStringView name, FontFormats formats)
{
    const ArchiveKind own = KindIn(kOwnKinds, name);
    if (own != ArchiveKind::None || formats != FontFormats::All)
        return own;
    return KindIn(kWiderKinds, name);
}

bool IsExecutableName(QStringView name) { return HasExtension(name, QLatin1StringView(".EXE")); }

} // namespace tz
