#include "fontlist/FontSort.h"

#include "fontlist/FontList.h"

#include <QCollator>
#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace tz {

int NextSortKey(int sortKey, int column) { return std::abs(sortKey) == column ? -sortKey : column; }

namespace {

    const QString& TextOf(const FontEntry& e, int column)
    {
        switch (column) {
        case 1:
            return e.FaceName;
        case 2:
            return e.FamilyName;
        case 3:
            return e.FilePath;
        default:
            return e.MemberName;
        }
    }

    std::vector<QCollatorSortKey> CollationKeys(const FontList& list, int column, const QCollator& collator)
    {
        std::vector<QCollatorSortKey> keys;
        keys.reserve(size_t(list.Count()));
        for (int row = 0; row < list.Count(); ++row)
            keys.push_back(collator.sortKey(TextOf(list.Entry(row), column)));
        return keys;
    }

    // Negative when row a goes before row b in ascending order.
    template <typename Compare> std::vector<int> StableOrder(int count, bool descending, Compare compare)
    {
        std::vector<int> order(static_cast<size_t>(count));
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            const int result = compare(a, b);
            return descending ? result > 0 : result < 0;
        });
        return order;
    }

} // namespace

std::vector<int> SortedRows(const FontList& list, int sortKey, const QCollator& collator)
{
    const int column = std::abs(sortKey);
    const bool descending = sortKey < 0;
    if (column == 0 || column > FontList::kColumnCount)
        return StableOrder(list.Count(), false, [](int, int) { return 0; });

    if (column == 5) {
        std::vector<qint64> sizes;
        sizes.reserve(size_t(list.Count()));
        for (int row = 0; row < list.Count(); ++row)
            sizes.push_back(SizeBytes(list.Entry(row)));
        // Compared, not subtracted: a difference of two sizes may not fit.
        return StableOrder(list.Count(), descending,
            [&](int a, int b) { return sizes[size_t(a)] < sizes[size_t(b)] ? -1 : sizes[size_t(a)] > sizes[size_t(b)]; });
    }

    const std::vector<QCollatorSortKey> primary = CollationKeys(list, column, collator);
    if (column == 1)
        return StableOrder(list.Count(), descending, [&](int a, int b) { return primary[size_t(a)].compare(primary[size_t(b)]); });
    const std::vector<QCollatorSortKey> faces = CollationKeys(list, 1, collator);
    return StableOrder(list.Count(), descending, [&](int a, int b) {
        const int result = primary[size_t(a)].compare(primary[size_t(b)]);
        return result != 0 ? result : faces[size_t(a)].compare(faces[size_t(b)]);
    });
}

void SortFontList(FontList& list, int column, const QLocale& locale)
{
    list.SortKey = NextSortKey(list.SortKey, column);
    if (list.Count() == 0)
        return;
    QCollator collator(locale);
    collator.setCaseSensitivity(Qt::CaseSensitive);
    list.Reorder(SortedRows(list, list.SortKey, collator));
}

} // namespace tz
