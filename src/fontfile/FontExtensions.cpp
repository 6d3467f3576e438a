#include "fontfile/FontExtensions.h"

#include <algorithm>

namespace tz {

namespace {

    constexpr char16_t UpperAsciiChar(char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - 0x20) : c; }

} // namespace

bool HasExtension(QStringView name, QLatin1StringView upperExtension)
{
    if (name.size() < upperExtension.size())
        return false;
    const QStringView end = name.last(upperExtension.size());
    return std::equal(end.begin(), end.end(), upperExtension.begin(),
        [](QChar c, char upper) { return UpperAsciiChar(c.unicode()) == char16_t(upper); });
}

bool IsTrueTypeName(QStringView name)
{
    return HasExtension(name, QLatin1StringView(".TTF")) || HasExtension(name, QLatin1StringView(".TTC"));
}

bool IsWiderFontName(QStringView name)
{
    static constexpr QLatin1StringView kWider[] { QLatin1StringView(".OTF"), QLatin1StringView(".OTC"),
        QLatin1StringView(".WOFF"), QLatin1StringView(".WOFF2"), QLatin1StringView(".DFONT") };
    return std::any_of(
        std::begin(kWider), std::end(kWider), [name](QLatin1StringView ext) { return HasExtension(name, ext); });
}

bool IsFontName(QStringView name, FontFormats formats)
{
    return IsTrueTypeName(name) || (formats == FontFormats::All && IsWiderFontName(name));
}

bool IsSearchedFontName(QStringView name, FontFormats formats)
{
    return IsFontName(name, formats) || HasExtension(name, QLatin1StringView(".OTF"));
}

} // namespace tz
