#pragma once
// The history of an editable drop-down field: the texts entered before, most
// recent first, stored as the values Item0, Item1, ... of the field's key.
#include <QStringList>

namespace tz {

class SettingsGroup;

// Puts a non-empty text at the top of history, removing an entry equal to it
// ignoring case, and keeps at most limit entries.
void RememberText(QStringList& history, const QString& text, int limit);

// Reads Item0 to Item(limit - 1), keeping the non-empty ones in order.
QStringList ReadTextHistory(SettingsGroup& group, int limit);
// Writes Item0 to Item(limit - 1); slots beyond the history are written
// empty, so that an entry removed since can't come back at the next start.
void WriteTextHistory(SettingsGroup& group, const QStringList& history, int limit);

} // namespace tz
