#include "fontlist/RecentItems.h"

namespace tz {

QStringList PushRecent(const QStringList& items, const QString& path)
{
    if (path.isEmpty())
        return items;
    QStringList result = items;
    while (result.size() < kRecentItemCount)
        result.append(QString());
    for (qsizetype i = 0; i < result.size(); ++i) {
        if (result[i].compare(path, Qt::CaseInsensitive) == 0) {
            result.removeAt(i);
            break;
        }
    }
    result.prepend(path);
    return result.mid(0, kRecentItemCount);
}

} // namespace tz
