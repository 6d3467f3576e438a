#include "fontlist/RowToolTip.h"

#include "fontlist/FontEntry.h"

#include <QStringList>

namespace tz {

QString RowToolTipText(const FontEntry& entry, const QString& shownPath)
{
    const double kilobytes = double(SizeBytes(entry)) / 1024.0;
    const double megabytes = kilobytes / 1024.0;
    QStringList lines { entry.FaceName, shownPath };
    if (!entry.MemberName.isEmpty())
        lines << u'[' + entry.MemberName + u']';
    lines << (megabytes >= 1.0 ? QString::asprintf("%01.2fMB", megabytes) : QString::asprintf("%01.2fKB", kilobytes));
    return lines.join(u'\n');
}

} // namespace tz
