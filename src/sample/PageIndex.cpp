#include "sample/PageIndex.h"

namespace tz {

namespace {

    bool IsBlankOrControl(QChar c) { return c.unicode() <= 0x20 || c.unicode() == 0x7F; }

    QString TrimmedFaceName(const QString& name)
    {
        qsizetype begin = 0;
        qsizetype end = name.size();
        while (begin < end && IsBlankOrControl(name[begin]))
            ++begin;
        while (end > begin && IsBlankOrControl(name[end - 1]))
            --end;
        return name.mid(begin, end - begin);
    }

} // namespace

QString PageIndex::PageKey(int pageNumber, int top)
{
    return QStringLiteral("%1%2").arg(pageNumber, 4, 10, QLatin1Char('0')).arg(top, 5, 10, QLatin1Char('0'));
}

void PageIndex::Append(const QString& pageKey, const QString& faceName, int kind)
{
    PageKeys.append(pageKey);
    BlockFaces.append(TrimmedFaceName(faceName));
    BlockKinds.append(QString::number(kind));
}

void PageIndex::Clear()
{
    PageKeys.clear();
    BlockFaces.clear();
    BlockKinds.clear();
}

} // namespace tz
