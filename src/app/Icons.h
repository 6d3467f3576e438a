#pragma once
// The program's artwork, drawn in code: the application icon, the four row
// icons (single face, collection, Macintosh, Macintosh collection) and the
// tool-bar icons.
#include <QIcon>
#include <QList>

namespace tz {

QIcon AppIcon();
QList<QIcon> KindIcons();
QIcon ToolIcon(const QString& buttonName);

} // namespace tz
