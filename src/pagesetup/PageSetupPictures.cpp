#include "pagesetup/PageSetupPictures.h"

#include "page/PageGeometry.h"

#include <QPainter>

namespace tz {

namespace {

    constexpr int kSize = 32;

    QRect SheetRect(int orientation)
    {
        return orientation == kLandscape ? QRect(2, 7, 28, 20) : QRect(6, 2, 20, 28);
    }

    // A sheet with lines of text; a folded top-right corner marks the
    // orientation pictures, rings along an edge the binding.
    QPixmap DrawSheet(int orientation, bool foldedCorner, int binding)
    {
        QPixmap pixmap(kSize, kSize);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        const QRect sheet = SheetRect(orientation);
        const int fold = foldedCorner ? 6 : 0;
        const QPolygon outline({ sheet.topLeft(), QPoint(sheet.right() - fold, sheet.top()),
            QPoint(sheet.right(), sheet.top() + fold), sheet.bottomRight(), sheet.bottomLeft() });
        painter.setPen(QColor(64, 64, 64));
        painter.setBrush(Qt::white);
        painter.drawPolygon(outline);
        if (foldedCorner) {
            painter.drawLine(sheet.right() - fold, sheet.top(), sheet.right() - fold, sheet.top() + fold);
            painter.drawLine(sheet.right() - fold, sheet.top() + fold, sheet.right(), sheet.top() + fold);
        }
        painter.setPen(QColor(128, 128, 160));
        for (int y = sheet.top() + 5 + (binding == kBindTop ? 2 : 0); y < sheet.bottom() - 2; y += 3)
            painter.drawLine(sheet.left() + 4 + (binding == kBindLeft ? 2 : 0), y, sheet.right() - 4 - fold / 2, y);
        painter.setPen(QColor(160, 32, 32));
        painter.setBrush(Qt::NoBrush);
        if (binding == kBindTop) {
            for (int x = sheet.left() + 3; x < sheet.right() - 1; x += 5)
                painter.drawEllipse(QPoint(x, sheet.top() + 2), 1, 1);
        } else if (binding == kBindLeft) {
            for (int y = sheet.top() + 3; y < sheet.bottom() - 1; y += 5)
                painter.drawEllipse(QPoint(sheet.left() + 2, y), 1, 1);
        }
        return pixmap;
    }

} // namespace

QPixmap PageSetupPicture(int index)
{
    if (index == OrientationPicture(kPortrait) || index == OrientationPicture(kLandscape))
        return DrawSheet(index, true, kBindNone);
    const int orientation = (index - 2) / 3 == 1 ? kLandscape : kPortrait;
    return DrawSheet(orientation, false, (index - 2) % 3);
}

QPixmap SettingListIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setPen(QColor(64, 64, 64));
    painter.setBrush(QColor(230, 230, 240));
    painter.drawRect(5, 1, 9, 12);
    painter.setBrush(Qt::white);
    painter.drawRect(2, 3, 9, 12);
    painter.setPen(QColor(128, 128, 160));
    for (int y = 6; y < 14; y += 2)
        painter.drawLine(4, y, 9, y);
    return pixmap;
}

} // namespace tz
