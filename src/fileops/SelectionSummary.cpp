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
                ? FileNamePart(list.ShownPath(row))
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

namespace tz {

QStringList InstallSummaryLines(const SelectionSummary& summary, const InstallChoice& choice)
{
    QStringList lines;
    lines << (!choice.custom ? QStringLiteral("標準インストール")
                             : QStringLiteral("カスタムインストール(")
                + (choice.copyFiles ? QStringLiteral("コピーしてインストール)")
                                    : QStringLiteral("コピーせずにインストール)")));
    lines << QStringLiteral("をおこないます．") << QString();
    const bool copying = !choice.custom || choice.copyFiles;
    if (copying)
        lines << QStringLiteral("インストールフォルダは，") << choice.folder << QStringLiteral("です．") << QString();
    lines << QStringLiteral("%1 書体 %2ファイル %3MBが選択中です．")
                 .arg(summary.Faces)
                 .arg(summary.Files)
                 .arg(MegabyteText(summary.Bytes));
    if (summary.Archive) {
        lines << QStringLiteral("書庫ファイルが含まれています．");
        if (!copying)
            lines << QStringLiteral("いくつかのファントファイルはインストールできません．");
    }
    lines << QString() << QStringLiteral("次の書体がインストールされます．") << QStringLiteral("---")
          << summary.FaceLines << QStringLiteral("---");
    return lines;
}

} // namespace tz
