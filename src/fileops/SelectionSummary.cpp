#include "fileops/SelectionSummary.h"

#include "fileops/FontFileCopy.h"
#include "fontlist/FontList.h"
#include "platform/Text.h"

#include <QSet>

namespace tz {

SelectionSummary SummarizeSelection(const FontList& list)
{
    SelectionSummary summary;
    QSet<QString> keys;
    for (int row = 0; row < list.Count(); ++row) {
        if (!list.IsSelected(row))
            continue;
        const FontEntry& entry = list.Entry(row);
        ++summary.Faces;
        summary.FaceLines << (entry.MemberName.isEmpty()
                ? FileNamePart(entry.FilePath)
                : QStringLiteral("%1(%2)").arg(entry.FaceName, entry.MemberName));
        const QString key = FileKey(entry);
        if (keys.contains(key))
            continue;
        keys.insert(key);
        summary.Bytes += SizeBytes(entry);
        summary.Archive = summary.Archive || !entry.MemberName.isEmpty();
    }
    summary.Files = int(keys.size());
    return summary;
}

QString MegabyteText(qint64 bytes) { return QString::number(double(bytes) / 1048576.0, 'f', 2); }

} // namespace tz
