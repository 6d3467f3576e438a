#include "fontlist/DragAutoScroll.h"
#include "fontlist/FontList.h"
#include "fontlist/ListDocument.h"
#include "fontlist/ListFile.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace tz;

namespace {

// A list of rows named "1", "2", ... with only the given rows selected.
void Fill(FontList& list, int count, std::initializer_list<int> selected = {})
{
    FontListUpdate update(list);
    for (int i = 1; i <= count; ++i)
        list.AddEntry(QString::number(i), QStringLiteral("F"), QStringLiteral("/f/%1.ttf").arg(i), {}, QStringLiteral("10"), 0);
    list.DeselectAll();
    for (int row : selected)
        list.SetSelected(row - 1, true);
}

QString Order(const FontList& list)
{
    QStringList names;
    for (int i = 0; i < list.Count(); ++i)
        names << list.Entry(i).FaceName + (list.IsSelected(i) ? QStringLiteral("*") : QString());
    return names.join(u' ');
}

} // namespace

class FontListTest : public QObject {
    Q_OBJECT
private slots:
    void addEntryUpperCasesPathsAndSelects()
    {
        FontList list;
        QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::QtTest);
        list.AddEntry(QStringLiteral("Ａrial ｂold"), QStringLiteral("Arial"), QStringLiteral("c:\\fonts\\a.ttf"),
            QStringLiteral("sub/ｂ.ttf"), QStringLiteral("1536"), 1);
        list.AddEntry(QStringLiteral("two"), QStringLiteral("two"), QStringLiteral("/x/y.ttf"), {}, QStringLiteral("9"), 0);
        const FontEntry& e = list.Entry(0);
        QCOMPARE(e.FaceName, QStringLiteral("Ａrial ｂold"));
        QCOMPARE(e.FilePath, QStringLiteral("C:\\FONTS\\A.TTF"));
        // Only single-byte letters are upper-cased.
        QCOMPARE(e.MemberName, QStringLiteral("SUB/ｂ.TTF"));
        QCOMPARE(e.Kind, 1);
        QCOMPARE(list.SelectedCount(), 2);
        QCOMPARE(list.rowCount(), 2);
        QCOMPARE(list.data(list.index(0, FontList::kColPath), Qt::DisplayRole).toString(), e.FilePath);
        QCOMPARE(list.data(list.index(1, FontList::kColSize), Qt::TextAlignmentRole).toInt(),
            int(Qt::AlignRight | Qt::AlignVCenter));
        QCOMPARE(list.headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("書庫内ファイル"));
        QVERIFY(!list.data(list.index(5, 0), Qt::DisplayRole).isValid());
    }

    void batchReachesTheViewOnce()
    {
        FontList list;
        QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy inserted(&list, &QAbstractItemModel::rowsInserted);
        QSignalSpy reset(&list, &QAbstractItemModel::modelReset);
        QSignalSpy count(&list, &FontList::CountChanged);
        list.BeginUpdate();
        for (int i = 0; i < 1000; ++i)
            list.AddEntry(QStringLiteral("x"), {}, QStringLiteral("/p"), {}, QStringLiteral("1"), 0);
        QCOMPARE(list.rowCount(), 0); // the view hears of the rows at the end
        list.EndUpdate();
        QCOMPARE(inserted.size(), 1);
        QCOMPARE(reset.size(), 0);
        QCOMPARE(count.size(), 1);
        QCOMPARE(list.rowCount(), 1000);
        {
            FontListUpdate update(list);
            list.DeselectAll();
            list.SetSelected(3, true);
            list.DeleteSelected();
            list.AddEntry(QStringLiteral("y"), {}, QStringLiteral("/q"), {}, QStringLiteral("1"), 0);
        }
        QCOMPARE(reset.size(), 1);
        QCOMPARE(list.rowCount(), 1000);
    }

    void selectionOperations()
    {
        FontList list;
        Fill(list, 5, { 2, 4 });
        QCOMPARE(list.SelectedCount(), 2);
        QCOMPARE(list.FirstSelected(), 1);
        QCOMPARE(list.NextBelow(1, true), 3);
        QCOMPARE(list.NextBelow(3, true), FontList::kNone);
        QCOMPARE(list.NextBelow(3, false), 4);
        list.SelectAll();
        QCOMPARE(list.SelectedCount(), 5);
        list.DeselectAll();
        QCOMPARE(list.FirstSelected(), FontList::kNone);
        FontList empty;
        QSignalSpy flags(&empty, &FontList::SelectionFlagsChanged);
        empty.SelectAll();
        empty.DeselectAll();
        QCOMPARE(flags.size(), 0);
    }

    void deleteSelected()
    {
        FontList list;
        Fill(list, 5, { 1, 3, 5 });
        QSignalSpy reset(&list, &QAbstractItemModel::modelReset);
        list.DeleteSelected();
        QCOMPARE(Order(list), QStringLiteral("2 4"));
        QCOMPARE(list.SelectedCount(), 0);
        list.DeleteSelected(); // nothing selected: nothing happens
        QCOMPARE(reset.size(), 1);
        list.SelectAll();
        list.DeleteSelected();
        QCOMPARE(list.Count(), 0);
    }

    void insertCopy()
    {
        FontList list;
        Fill(list, 3);
        const int at = list.InsertCopy(0, 2);
        QCOMPARE(at, 0);
        QCOMPARE(Order(list), QStringLiteral("3 1 2 3"));
        QCOMPARE(list.InsertCopy(FontList::kNone, 1), 4);
        QCOMPARE(Order(list), QStringLiteral("3 1 2 3 1"));
    }

    void moveSelected_data()
    {
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<int>("target");
        QTest::addColumn<QString>("expected");
        QTest::newRow("onto the first row") << QList<int> { 2, 4 } << 0 << QStringLiteral("2* 4* 1 3 5");
        QTest::newRow("below the last row") << QList<int> { 2, 4 } << int(FontList::kNone) << QStringLiteral("1 3 5 2* 4*");
        QTest::newRow("onto a selected row") << QList<int> { 2, 4 } << 3 << QStringLiteral("1 3 2* 4* 5");
        QTest::newRow("onto itself") << QList<int> { 3 } << 2 << QStringLiteral("1 2 3* 4 5");
        QTest::newRow("block downwards") << QList<int> { 1, 2 } << 4 << QStringLiteral("3 4 1* 2* 5");
    }
    void moveSelected()
    {
        QFETCH(QList<int>, selected);
        QFETCH(int, target);
        QFETCH(QString, expected);
        FontList list;
        QAbstractItemModelTester tester(&list, QAbstractItemModelTester::FailureReportingMode::QtTest);
        Fill(list, 5);
        for (int row : selected)
            list.SetSelected(row - 1, true);
        list.SortKey = 3;
        QVERIFY(list.MoveSelectedBefore(target));
        QCOMPARE(Order(list), expected);
        QCOMPARE(list.SortKey, -1);
    }

    void moveWithoutSelectionChangesNothing()
    {
        FontList list;
        Fill(list, 3);
        list.SortKey = 2;
        QVERIFY(!list.MoveSelectedBefore(0));
        QCOMPARE(Order(list), QStringLiteral("1 2 3"));
        QCOMPARE(list.SortKey, 2);
    }

    void untitledNames()
    {
        FontList list;
        const ListDocument document;
        QCOMPARE(document.Path(), QStringLiteral("名称未設定1"));
        QCOMPARE(document.UntitledNumber(), 1);
        QCOMPARE(list.SortKey, -1);
        QCOMPARE(ListDocument::UntitledName(3), QStringLiteral("名称未設定3"));
    }

    void listFileRows()
    {
        FontList list;
        list.AddEntry(QStringLiteral("Face"), QStringLiteral("Family"), QStringLiteral("/fonts/a.ttf"), {}, QStringLiteral("1234"), 0);
        list.AddEntry(QStringLiteral("書体"), QStringLiteral("ファミリ"), QStringLiteral("/z/b.zip"), QStringLiteral("c.ttc"), QStringLiteral("9"), 1);
        QCOMPARE(FormatListFile(list),
            QByteArray("[Generator]\r\nSoftware=\"Typoscan Zindel\"\r\nVersion=0.99\r\n[List099]\r\n"
                       "0\tFace\tFamily\t/FONTS/A.TTF\t\t1234\r\n")
                + QStringLiteral("1\t書体\tファミリ\t/Z/B.ZIP\tC.TTC\t9\r\n").toUtf8());
        QCOMPARE(FormatListFile(FontList()), QByteArray("[Generator]\r\nSoftware=\"Typoscan Zindel\"\r\nVersion=0.99\r\n[List099]\r\n"));
    }

    // The path column and the tool tip show the file as the disk has it; the
    // row and the list file keep the stored, upper-cased form.
    void pathsShowAsOnDisk()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath(QStringLiteral("Fonts"));
        const QString onDisk = dir.filePath(QStringLiteral("Fonts/DejaVuSans-Bold.ttf"));
        QFile(onDisk).open(QIODevice::WriteOnly);
        FontList list;
        list.AddEntry(QStringLiteral("F"), QStringLiteral("F"), onDisk, {}, QStringLiteral("1"), 0);
        list.AddEntry(QStringLiteral("G"), QStringLiteral("G"), dir.filePath(QStringLiteral("gone.ttf")), {}, QStringLiteral("1"), 0);
        QCOMPARE(list.data(list.index(0, FontList::kColPath), Qt::DisplayRole).toString(), onDisk);
        QCOMPARE(list.ShownPath(1), dir.filePath(QStringLiteral("gone.ttf")).toUpper());
        QCOMPARE(list.Entry(0).FilePath, onDisk.toUpper());
        QVERIFY(FormatListRow(list.Entry(0)).contains(onDisk.toUpper().toUtf8()));
    }

    void failedWriteKeepsTheOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.tzl"));
        FontList list;
        list.AddEntry(QStringLiteral("A"), QStringLiteral("A"), QStringLiteral("/a"), {}, QStringLiteral("1"), 0);
        QVERIFY(WriteListFile(list, path));
        QVERIFY(!WriteListFile(list, dir.filePath(QStringLiteral("missing/b.tzl"))));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), FormatListFile(list));
    }

    void autoScrollBands_data()
    {
        QTest::addColumn<QList<int>>("ys");
        QTest::addColumn<QList<int>>("times");
        QTest::addColumn<QList<int>>("steps");
        // Client height 200: 1..47 scrolls up, 152..199 scrolls down.
        QTest::newRow("first position only notes the time") << QList<int> { 10, 10, 10 } << QList<int> { 0, 10, 25 } << QList<int> { 0, 0, -1 };
        QTest::newRow("bottom band") << QList<int> { 152, 199, 199 } << QList<int> { 0, 30, 40 } << QList<int> { 0, 1, 0 };
        QTest::newRow("outside resets") << QList<int> { 10, 100, 10 } << QList<int> { 0, 30, 60 } << QList<int> { 0, 0, 0 };
        QTest::newRow("edges") << QList<int> { 0, 48, 151, 200, 47 } << QList<int> { 0, 30, 60, 90, 120 } << QList<int> { 0, 0, 0, 0, 0 };
        QTest::newRow("one timer for both bands") << QList<int> { 10, 190 } << QList<int> { 0, 25 } << QList<int> { 0, 1 };
    }
    void autoScrollBands()
    {
        QFETCH(QList<int>, ys);
        QFETCH(QList<int>, times);
        QFETCH(QList<int>, steps);
        DragAutoScroll scroll;
        for (int i = 0; i < ys.size(); ++i)
            QCOMPARE(scroll.Step(ys[i], 200, times[i]), steps[i]);
    }
};

QTEST_GUILESS_MAIN(FontListTest)
#include "test_fontlist.moc"
