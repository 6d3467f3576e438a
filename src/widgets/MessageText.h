#pragma once
// Message texts keep their CR LF (and CR CR) line breaks as the program's own
// texts; Qt draws a CR as a space, so they are shown with LF.
#include <QString>

namespace tz {

// The product name: the title of every message box and of the progress windows.
inline const QString kProductTitle = QStringLiteral("Typoscan Zindel");

inline QString DisplayText(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
}

} // namespace tz
