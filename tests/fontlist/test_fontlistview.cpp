#include "fontlist/FontList.h"
#include "fontlist/FontListView.h"

#include <QItemSelectionModel>
#include <QScrollBar>
#include <QtTest>

using namespace tz;

class FontListViewTest : public QObject {
    Q_OBJECT

    static void Fill(FontList& list, int count)
    {
        FontListUpdate update(list);
        for (int i = 0; i < count; ++i)
            list.AddEntry(QString::number(i + 1), {}, QStringLiteral("/p"), {}, QStringLiteral("1"), 0);
        list.DeselectAll();
    }
    static QList<int> ViewSelection(const FontListView& view)
    {
        QList<int> rows;
        for (const QModelIndex& index : view.selectionModel()->selectedRows())
            rows << index.row();
        std::sort(rows.begin(), rows.end());
        return rows;
    }

private slots:
    void designedColumns()
    {
        FontList list;
        FontListView view(list);
        QCOMPARE(view.objectName(), QStringLiteral("lsvFontNames"));
        const int widths[] = { 162, 128, 54, 74, 54 };
        for (int c = 0; c < 5; ++c)
            QCOMPARE(view.columnWidth(c), widths[c]);
        QCOMPARE(view.selectionMode(), QAbstractItemView::ExtendedSelection);
    }

    void highlightFollowsTheFlags()
    {
        FontList list;
        FontListView view(list);
        Fill(list, 6);
        QVERIFY(ViewSelection(view).isEmpty());
        list.SetSelected(1, true);
        list.SetSelected(2, true);
        list.SetSelected(4, true);
        QCOMPARE(ViewSelection(view), (QList<int> { 1, 2, 4 }));
        list.AddEntry(QStringLiteral("new"), {}, QStringLiteral("/p"), {}, QStringLiteral("1"), 0);
        QCOMPARE(ViewSelection(view), (QList<int> { 1, 2, 4, 6 }));
        list.DeleteSelected();
        QVERIFY(ViewSelection(view).isEmpty());
        QCOMPARE(list.Count(), 3);
    }

    void userSelectionSetsTheFlags()
    {
        FontList list;
        FontListView view(list);
        Fill(list, 5);
        view.selectionModel()->select(QItemSelection(list.index(1, 0), list.index(3, 4)),
            QItemSelectionModel::ClearAndSelect);
        QCOMPARE(list.SelectedCount(), 3);
        QVERIFY(list.IsSelected(1) && list.IsSelected(3) && !list.IsSelected(4));
        view.selectionModel()->select(list.index(2, 0), QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
        QCOMPARE(list.SelectedCount(), 2);
        QVERIFY(!list.IsSelected(2));
    }

    void moveKeepsSelectionAndScroll()
    {
        FontList list;
        FontListView view(list);
        view.resize(300, 200);
        view.show();
        Fill(list, 500);
        QCoreApplication::processEvents();
        view.verticalScrollBar()->setValue(100);
        QCOMPARE(view.verticalScrollBar()->value(), 100);
        list.SetSelected(300, true);
        list.SetSelected(301, true);
        QVERIFY(list.MoveSelectedBefore(0));
        QCOMPARE(ViewSelection(view), (QList<int> { 0, 1 }));
        QCOMPARE(view.verticalScrollBar()->value(), 100);
        QCOMPARE(list.Entry(0).FaceName, QStringLiteral("301"));
    }
};

QTEST_MAIN(FontListViewTest)
#include "test_fontlistview.moc"
