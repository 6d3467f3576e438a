#pragma once
// One-shot sorting of the font list by a column. The order is computed once
// (collation keys are made once per sort, not per comparison) and applied in
// one batch; rows added later are not sorted in.
#include <QLocale>
#include <vector>

class QCollator;

namespace tz {

class FontList;

// The sort key after a sort by column 1-5 is chosen: the same column reverses
// the direction, another column sorts ascending.
int NextSortKey(int sortKey, int column);

// The rows in the order of sortKey: result[i] is the row that goes to place i.
// Text compares with the collator; sizes compare as numbers. Rows that compare
// equal keep their order.
std::vector<int> SortedRows(const FontList& list, int sortKey, const QCollator& collator);

// Chooses the next sort key for the column and reorders the list by it, with
// the case-sensitive collation of the locale. An empty list only takes the key.
void SortFontList(FontList& list, int column, const QLocale& locale = QLocale());

} // namespace tz
