#include "fileops/DocumentMenu.h"

#include "fileops/DesktopShell.h"
#include "widgets/BusyCursor.h"

#include <QPainter>

namespace tz {

QIcon DocumentIcon(int index)
{
    // A page with a folded corner; the kind shows in the colour of its lines.
    static const QColor kLines[] = { Qt::darkGray, QColor(0, 64, 160), QColor(0, 128, 64), QColor(160, 96, 0) };
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    const QPolygon page({ { 2, 0 }, { 10, 0 }, { 13, 3 }, { 13, 15 }, { 2, 15 } });
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawPolygon(page);
    p.drawLine(10, 0, 10, 3);
    p.drawLine(10, 3, 13, 3);
    p.setPen(kLines[std::clamp(index, 0, 3)]);
    for (int y = 5; y <= 12; y += 2)
        p.drawLine(4, y, 11, y);
    return QIcon(pixmap);
}

DocumentMenu::DocumentMenu(QString workFolder, QWidget* parent)
    : QMenu(parent)
    , workFolder_(std::move(workFolder))
{
    setObjectName(QStringLiteral("PopupMenu2"));
    header_ = addAction(QString());
    header_->setObjectName(QStringLiteral("pmnDocCaption"));
    header_->setEnabled(false);
    addSeparator();
    for (int i = 0; i < kItems; ++i) {
        items_[i] = addAction(QString());
        items_[i]->setObjectName(QStringLiteral("pmnDoc%1").arg(i + 1));
        connect(items_[i], &QAction::triggered, this, [this, i] { OpenDocument(i); });
    }
}

void DocumentMenu::Fill(const FontEntry& entry, FontFormats formats)
{
    entry_ = entry;
    documents_ = FindDocuments(entry, formats);
    header_->setText(documents_.Header);
    const int shown = std::min<int>(int(documents_.Names.size()), kItems);
    for (int i = 0; i < kItems; ++i) {
        QAction* item = items_[i];
        item->setVisible(i < shown);
        item->setEnabled(true);
        if (i < shown) {
            item->setText(documents_.Names[i]);
            item->setIcon(DocumentIcon(DocumentIconIndex(documents_.Names[i])));
        }
    }
    if (shown == 0) {
        items_[0]->setText(QStringLiteral("(なし)"));
        items_[0]->setIcon(QIcon());
        items_[0]->setEnabled(false);
        items_[0]->setVisible(true);
    }
}

void DocumentMenu::Offer(const FontEntry& entry, const QPoint& at, FontFormats formats)
{
    Fill(entry, formats);
    popup(at - QPoint(12, 12));
}

void DocumentMenu::OpenDocument(int index)
{
    const BusyCursor busy;
    const QString path = PrepareDocument(documents_, entry_, index, workFolder_);
    if (!path.isEmpty())
        DesktopShell::Current().Open(path);
}

} // namespace tz
