#pragma once
// The tool tip of a row: face name, file path (as shown, see FontList::ShownPath),
// the member name in square brackets for a font inside an archive, and the
// size in KB or MB.
#include <QString>

namespace tz {

struct FontEntry;

QString RowToolTipText(const FontEntry& entry, const QString& shownPath);

} // namespace tz
