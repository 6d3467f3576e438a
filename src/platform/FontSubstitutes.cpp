#include "platform/FontSubstitutes.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

namespace tz {

namespace {

    QString ProportionalGothicStandIn()
    {
        const QStringList candidates
            = { QStringLiteral("IPAPGothic"), QStringLiteral("VL PGothic"), QStringLiteral("Noto Sans CJK JP") };
        for (const QString& family : candidates) {
            if (QFontDatabase::hasFamily(family))
                return family;
        }
        QFont sans(QStringLiteral("sans-serif"));
        sans.setStyleHint(QFont::SansSerif);
        return QFontInfo(sans).family();
    }

} // namespace

QString RegisterFontSubstitutes()
{
    if (QFontDatabase::hasFamily(kProportionalGothicFace))
        return kProportionalGothicFace;
    const QString standIn = ProportionalGothicStandIn();
    QFont::insertSubstitution(kProportionalGothicFace, standIn);
    return standIn;
}

} // namespace tz
