#pragma once
// Reading and writing the settings file: sections "[HKEY_CURRENT_USER\key]",
// then values "name"="text" or "name"=dword:0000002a. A key that exists
// without values is kept as a section of its own.
#include <QIODevice>
#include <QSettings>

namespace tz {

// The value name that marks an existing key in the QSettings map.
inline const QString kKeyMarker = QStringLiteral("(key)");

bool ReadRegFormat(QIODevice& device, QSettings::SettingsMap& map);
bool WriteRegFormat(QIODevice& device, const QSettings::SettingsMap& map);
QSettings::Format RegFormat();

} // namespace tz
