#include "app/Icons.h"

#include <QApplication>
#include <QHash>
#include <QPainter>
#include <QStyle>

namespace tz {

namespace {

    // A 16x16 page with a letter on it, the look of a font file.
    QIcon Glyph(const QString& letter, const QColor& paper, const QColor& ink, bool stacked)
    {
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        if (stacked) {
            p.setPen(ink.darker(150));
            p.setBrush(paper.darker(115));
            p.drawRect(QRectF(4.5, 0.5, 11, 12));
        }
        p.setPen(ink.darker(150));
        p.setBrush(paper);
        p.drawRect(QRectF(0.5, 3.5, 11, 12));
        QFont font = p.font();
        font.setPixelSize(10);
        font.setBold(true);
        p.setFont(font);
        p.setPen(ink);
        p.drawText(QRectF(0, 3, 12, 13), Qt::AlignCenter, letter);
        return QIcon(pixmap);
    }

} // namespace

QIcon AppIcon() { return Glyph(QStringLiteral("Z"), QColor(255, 250, 220), QColor(40, 60, 140), true); }

QList<QIcon> KindIcons()
{
    const QColor paper(255, 255, 255), mac(230, 240, 255), ink(30, 30, 30), macInk(20, 60, 160);
    return { Glyph(QStringLiteral("T"), paper, ink, false), Glyph(QStringLiteral("T"), paper, ink, true),
        Glyph(QStringLiteral("M"), mac, macInk, false), Glyph(QStringLiteral("M"), mac, macInk, true) };
}

QIcon ToolIcon(const QString& buttonName)
{
    static const QHash<QString, QStyle::StandardPixmap> icons = {
        { QStringLiteral("tBtnSearchAdd"), QStyle::SP_FileDialogContentsView },
        { QStringLiteral("tbnOpenList"), QStyle::SP_DialogOpenButton },
        { QStringLiteral("tBtnSave"), QStyle::SP_DialogSaveButton },
        { QStringLiteral("tBtnPageSetup"), QStyle::SP_FileDialogDetailedView },
        { QStringLiteral("tBtnPrintPreview"), QStyle::SP_FileDialogInfoView },
        { QStringLiteral("tBtnPrint"), QStyle::SP_DriveFDIcon },
        { QStringLiteral("tBtnEnv"), QStyle::SP_ComputerIcon },
        { QStringLiteral("tBtnMessage"), QStyle::SP_FileIcon },
        { QStringLiteral("tBtnFind"), QStyle::SP_FileDialogToParent },
        { QStringLiteral("tBtnOpen"), QStyle::SP_DirOpenIcon },
        { QStringLiteral("tBtnOpenDoc"), QStyle::SP_FileDialogListView },
        { QStringLiteral("tBtnInstall"), QStyle::SP_ArrowDown },
        { QStringLiteral("tBtnDelete"), QStyle::SP_TrashIcon },
    };
    return QApplication::style()->standardIcon(icons.value(buttonName, QStyle::SP_FileIcon));
}

} // namespace tz
