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

    // compare(a, b) is negative when row a goes before row b in ascending order.
    template <typename Compare>
    void StableSort(std::vector<int>::iterator first, std::vector<int>::iterator last, bool descending, Compare compare)
    {
        std::stable_sort(first, last, [&](int a, int b) {
            const int result = compare(a, b);
            return descending ? result > 0 : result < 0;
        });
    }

    std::vector<int> Rows(int count)
    {
        std::vector<int> order(static_cast<size_t>(count));
        std::iota(order.begin(), order.end(), 0);
        return order;
    }

    // Orders each run of rows with equal primary keys by face name. Face keys
    // are made only for the rows of such runs (few: the faces of one
    // collection share file, member and size).
    void BreakTiesByFace(std::vector<int>& order, const std::vector<QCollatorSortKey>& primary, const FontList& list,
        bool descending, const QCollator& collator)
    {
        std::vector<QCollatorSortKey> faces;
        for (auto run = order.begin(); run != order.end();) {
            auto end = std::find_if(run + 1, order.end(),
                [&](int row) { return primary[size_t(row)].compare(primary[size_t(*run)]) != 0; });
            if (end - run > 1) {
                faces.clear();
                for (auto it = run; it != end; ++it)
                    faces.push_back(collator.sortKey(list.Entry(*it).FaceName));
                // Sort positions within the run, then map them back to rows.
                std::vector<int> positions = Rows(int(end - run));
                StableSort(positions.begin(), positions.end(), descending,
                    [&](int a, int b) { return faces[size_t(a)].compare(faces[size_t(b)]); });
                const std::vector<int> rows(run, end);
                for (size_t i = 0; i < positions.size(); ++i)
                    run[std::ptrdiff_t(i)] = rows[size_t(positions[i])];
            }
            run = end;
        }
    }

} // namespace

std::vector<int> SortedRows(const FontList& list, int sortKey, const QCollator& collator)
{
    const int column = std::abs(sortKey);
    const bool descending = sortKey < 0;
    std::vector<int> order = Rows(list.Count());
    if (column == 0 || column > FontList::kColumnCount)
        return order;

    if (column == 5) {
        std::vector<qint64> sizes;
        sizes.reserve(size_t(list.Count()));
        for (int row = 0; row < list.Count(); ++row)
            sizes.push_back(SizeBytes(list.Entry(row)));
        // Compared, not subtracted: a difference of two sizes may not fit.
        StableSort(order.begin(), order.end(), descending, [&](int a, int b) {
            return sizes[size_t(a)] < sizes[size_t(b)] ? -1 : int(sizes[size_t(a)] > sizes[size_t(b)]);
        });
        return order;
    }

    const std::vector<QCollatorSortKey> primary = CollationKeys(list, column, collator);
    StableSort(order.begin(), order.end(), descending,
        [&](int a, int b) { return primary[size_t(a)].compare(primary[size_t(b)]); });
    if (column != 1)
        BreakTiesByFace(order, primary, list, descending, collator);
    return order;
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
