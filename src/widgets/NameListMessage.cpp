#include "widgets/NameListMessage.h"

#include "widgets/MessageText.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QTreeWidget>

namespace tz {

namespace {

    QTreeWidget* NameList(const QList<NameListMessage::Row>& rows)
    {
        auto* list = new QTreeWidget;
        list->setObjectName(QStringLiteral("lsvNames"));
        list->setColumnCount(2);
        list->setHeaderHidden(true);
        list->setRootIsDecorated(false);
        list->setUniformRowHeights(true);
        list->setSelectionMode(QAbstractItemView::NoSelection);
        list->setFocusPolicy(Qt::NoFocus);
        QList<QTreeWidgetItem*> items;
        items.reserve(rows.size());
        for (const NameListMessage::Row& row : rows)
            items << new QTreeWidgetItem(QStringList { row.name, row.note });
        list->addTopLevelItems(items);
        list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
        list->header()->setStretchLastSection(true);
        // As high as its rows, up to the visible count; more rows scroll.
        const int shown = int(std::min<qsizetype>(rows.size(), NameListMessage::kVisibleRows));
        const int rowHeight = list->sizeHintForRow(0);
        list->setFixedHeight(rowHeight * std::max(shown, 1) + 2 * list->frameWidth());
        list->setMinimumWidth(360);
        return list;
    }

} // namespace

void NameListMessage::Show(QWidget* parent, const QString& text, const QList<Row>& rows)
{
    QMessageBox box(QMessageBox::Information, kProductTitle, text, QMessageBox::Ok, parent);
    // The list goes below the text, in the text's column of the box's grid.
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    int row = 0, column = 1, rowSpan = 1, columnSpan = 1;
    if (grid && label)
        grid->getItemPosition(grid->indexOf(label), &row, &column, &rowSpan, &columnSpan);
    if (grid)
        grid->addWidget(NameList(rows), row + 1, column);
    box.exec();
}

} // namespace tz
