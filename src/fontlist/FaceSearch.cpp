#include "fontlist/FaceSearch.h"

#include "platform/Text.h"

namespace tz {

namespace {
    char16_t UpperAsciiChar(char16_t c) { return c >= u'a' && c <= u'z' ? char16_t(c - (u'a' - u'A')) : c; }
}

bool ContainsUpperAscii(QStringView text, QStringView pattern)
{
    if (pattern.size() > text.size())
        return false;
    const qsizetype last = text.size() - pattern.size();
    for (qsizetype start = 0; start <= last; ++start) {
        qsizetype i = 0;
        while (i < pattern.size() && UpperAsciiChar(text[start + i].unicode()) == pattern[i].unicode())
            ++i;
        if (i == pattern.size())
            return true;
    }
    return false;
}

int FindFace(const FontList& list, const QString& text, int from)
{
    const QString pattern = UpperAscii(text);
    for (int row = std::max(from, 0); row < list.Count(); ++row) {
        if (ContainsUpperAscii(list.Entry(row).FaceName, pattern))
            return row;
    }
    return FontList::kNone;
}

int FaceSearch::Next(const FontList& list, const QString& text)
{
    if (FindRestart)
        LastFound = FindFace(list, text, 0);
    else if (list.Count() <= 1 || LastFound == FontList::kNone)
        LastFound = FontList::kNone;
    else
        LastFound = FindFace(list, text, LastFound + 1);
    FindRestart = false;
    return LastFound;
}

} // namespace tz
