#pragma once
// The search of the find dialog: face names containing a text, single-byte
// letters matched without regard to case (other characters, full-width
// letters included, match only themselves). A search starts at the top after
// a restart and otherwise continues below the row found last, without
// wrapping around.
#include "fontlist/FontList.h"

#include <QStringView>

namespace tz {

// Whether text contains pattern; pattern must already be upper-cased with
// UpperAscii.
bool ContainsUpperAscii(QStringView text, QStringView pattern);

// The first row at or below `from` whose face name contains the text.
int FindFace(const FontList& list, const QString& text, int from);

class FaceSearch {
public:
    bool FindRestart = false; // the next search starts at the top
    int LastFound = FontList::kNone; // the row found by the previous search

    // One press of "find next": from the top after a restart, else below
    // LastFound. The result (a row or kNone) becomes LastFound.
    int Next(const FontList& list, const QString& text);
};

} // namespace tz
