#pragma once
// The recent-item menus (recent list files, recent search folders): four
// paths, newest first; an empty entry is a hidden item.
#include <QStringList>

namespace tz {

constexpr int kRecentItemCount = 4;

// items with path put in front: the first entry equal to path (ignoring case)
// is dropped and the list cut to four entries. An empty path changes nothing.
QStringList PushRecent(const QStringList& items, const QString& path);

} // namespace tz
