#pragma once
// The test's settings file (TYPOSCAN_SETTINGS, private to each test).
#include <QString>

namespace tz::test {

// Replaces the settings file. Section lines name keys below the base key,
// "[Zindel\\Title]"; values are written as in the file: "Size"="" or
// "pt8"=dword:00000001.
void WriteSettingsFile(const QString& body);
void RemoveSettingsFile();
QString ReadSettingsFile();

} // namespace tz::test
