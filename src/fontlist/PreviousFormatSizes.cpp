#include "fontlist/PreviousFormatSizes.h"

#include "archive/Archivettf.h"
#include "fontfile/FontFileReader.h"
#include "platform/PathResolver.h"
#include "platform/Text.h"

#include <QFile>

namespace tz {

namespace {

    // Member names compare in the stored form, whichever separator they use.
    QString StoredMemberName(const QString& name) { return UpperAscii(name).replace(u'\\', u'/'); }

} // namespace

QString MeasureRowFontSize(const QString& filePath, const QString& memberName, const QString& workFolder)
{
    const QString extension = UpperExtension(filePath);
    if (extension != u".ZIP" && extension != u".LZH")
        return QString::number(AnalyseFontFile(ResolvePath(filePath), workFolder).Size);
    const QString wanted = StoredMemberName(memberName);
    const QString extracted = workFolder + QStringLiteral("/typozind.arc.ttx");
    qint32 size = 0;
    for (const ArchiveMember& member : ListFontMembers(filePath).Members) {
        if (StoredMemberName(member.Name) != wanted || !ExtractMember(filePath, member, extracted))
            continue;
        size = AnalyseFontFile(extracted, workFolder).Size;
        QFile::remove(extracted);
    }
    return QString::number(size);
}

MeasureFontSize MeasureWithWorkFolder(const QString& workFolder)
{
    return [workFolder](const QString& filePath, const QString& memberName) {
        return MeasureRowFontSize(filePath, memberName, workFolder);
    };
}

} // namespace tz
