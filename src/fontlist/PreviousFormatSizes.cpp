#include "fontlist/PreviousFormatSizes.h"

#include "archive/Archivettf.h"
#include "fontfile/FontFileReader.h"
#include "platform/PathResolver.h"
#include "platform/RemovedOnSignal.h"
#include "platform/Text.h"

#include <QFile>

namespace tz {

QString MeasureRowFontSize(
    const QString& filePath, const QString& memberName, const QString& workFolder, FontFormats formats)
{
    const QString extension = UpperExtension(filePath);
    if (extension != u".ZIP" && extension != u".LZH")
        return QString::number(AnalyseFontFile(ResolvePath(filePath), workFolder, formats).Size);
    const QString wanted = MemberLookupName(memberName);
    const QString extracted = workFolder + QStringLiteral("/typozind.arc.ttx");
    const RemovedOnSignal removal(extracted);
    qint32 size = 0;
    for (const ArchiveMember& member : ListFontMembers(filePath).Members) {
        if (MemberLookupName(member.Name) != wanted || !ExtractMember(filePath, member, extracted))
            continue;
        size = AnalyseFontFile(extracted, workFolder, formats).Size;
        QFile::remove(extracted);
    }
    return QString::number(size);
}

MeasureFontSize MeasureWithWorkFolder(const QString& workFolder, FontFormats formats)
{
    return [workFolder, formats](const QString& filePath, const QString& memberName) {
        return MeasureRowFontSize(filePath, memberName, workFolder, formats);
    };
}

} // namespace tz
