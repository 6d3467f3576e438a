// Sort orders of the font list: the key rule, the comparison by column with
// its tie-breaks, descending order, numeric sizes and locale collation.
#include "fontlist/FontList.h"
#include "fontlist/FontSort.h"

#include <QCollator>
#include <QTest>

using namespace tz;

namespace {

struct Row {
    QString face, family, path, member, size;
};

void Fill(FontList& list, const QList<Row>& rows)
{
    for (const Row& r : rows)
        list.AddEntry(r.face, r.family, r.path, r.member, r.size, 0);
    list.DeselectAll();
}

QStringList Faces(const FontList& list)
{
    QStringList faces;
    for (int row = 0; row < list.Count(); ++row)
        faces << list.Entry(row).FaceName;
    return faces;
}

} // namespace

Q_DECLARE_METATYPE(Row)

class TestFontSort : public QObject {
    Q_OBJECT
private slots:
    void nextSortKey_data()
    {
        QTest::addColumn<int>("sortKey");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("expected");
        QTest::newRow("initial, face column ascends") << -1 << 1 << 1;
        QTest::newRow("same column reverses") << 1 << 1 << -1;
        QTest::newRow("reversed again ascends") << -2 << 2 << 2;
        QTest::newRow("other column ascends") << -3 << 5 << 5;
        QTest::newRow("from no order") << 0 << 4 << 4;
    }
    void nextSortKey()
    {
        QFETCH(int, sortKey);
        QFETCH(int, column);
        QFETCH(int, expected);
        QCOMPARE(NextSortKey(sortKey, column), expected);
    }

    void sortByColumn_data()
    {
        QTest::addColumn<QList<Row>>("rows");
        QTest::addColumn<QList<int>>("columns"); // clicked one after the other
        QTest::addColumn<int>("sortKey");
        QTest::addColumn<QStringList>("faces");

        const QList<Row> families = {
            { "Gothic B", "Gothic", "/F/1.TTF", "", "1" },
            { "Mincho A", "Mincho", "/F/2.TTF", "", "2" },
            { "Gothic A", "Gothic", "/F/3.TTF", "", "3" },
        };
        QTest::newRow("family ascending, faces ascend within")
            << families << QList<int> { 2 } << 2 << QStringList { "Gothic A", "Gothic B", "Mincho A" };
        QTest::newRow("family twice: descending, faces descend within")
            << families << QList<int> { 2, 2 } << -2 << QStringList { "Mincho A", "Gothic B", "Gothic A" };
        QTest::newRow("first face click ascends")
            << families << QList<int> { 1 } << 1 << QStringList { "Gothic A", "Gothic B", "Mincho A" };

        const QList<Row> sizes = {
            { "hundred", "", "/A", "", "100" },
            { "nine", "", "/B", "", "9" },
            { "ten", "", "/C", "", "10" },
        };
        QTest::newRow("sizes numerically")
            << sizes << QList<int> { 5 } << 5 << QStringList { "nine", "ten", "hundred" };
        QTest::newRow("sizes descending")
            << sizes << QList<int> { 5, 5 } << -5 << QStringList { "hundred", "ten", "nine" };
        QTest::newRow("size that is no number sorts as 0")
            << QList<Row> { { "big", "", "/A", "", "5" }, { "junk", "", "/B", "", "12kb" },
                   { "huge", "", "/C", "", "99999999999999999999" }, { "zero", "", "/D", "", "0" } }
            << QList<int> { 5 } << 5 << QStringList { "junk", "huge", "zero", "big" };
        QTest::newRow("sizes far apart do not overflow") << QList<Row> { { "max", "", "/A", "", "9223372036854775807" },
            { "min", "", "/B", "", "-9223372036854775808" } }
                                                         << QList<int> { 5 } << 5 << QStringList { "min", "max" };

        const QList<Row> paths = {
            { "b", "", "/FONTS/B.ZIP", "X.TTF", "1" },
            { "a", "", "/FONTS/B.ZIP", "Y.TTF", "1" },
            { "c", "", "/FONTS/A.TTF", "", "1" },
        };
        QTest::newRow("path, face breaks ties") << paths << QList<int> { 3 } << 3 << QStringList { "c", "a", "b" };
        QTest::newRow("path descending") << paths << QList<int> { 3, 3 } << -3 << QStringList { "b", "a", "c" };
        const QList<Row> collection = {
            { "c", "", "/X.TTC", "", "1" },
            { "a", "", "/X.TTC", "", "1" },
            { "d", "", "/A.TTF", "", "1" },
            { "b", "", "/X.TTC", "", "1" },
        };
        QTest::newRow("faces of one file ascend")
            << collection << QList<int> { 3 } << 3 << QStringList { "d", "a", "b", "c" };
        QTest::newRow("faces of one file descend")
            << collection << QList<int> { 3, 3 } << -3 << QStringList { "c", "b", "a", "d" };
        QTest::newRow("member, empty first") << paths << QList<int> { 4 } << 4 << QStringList { "c", "b", "a" };
        QTest::newRow("other column after path ascends")
            << paths << QList<int> { 3, 4 } << 4 << QStringList { "c", "b", "a" };
    }
    void sortByColumn()
    {
        QFETCH(QList<Row>, rows);
        QFETCH(QList<int>, columns);
        QFETCH(int, sortKey);
        QFETCH(QStringList, faces);
        FontList list;
        Fill(list, rows);
        for (int column : columns)
            SortFontList(list, column, QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(list.SortKey, sortKey);
        QCOMPARE(Faces(list), faces);
    }

    void collation_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QStringList>("faces");
        QTest::addColumn<QStringList>("sorted");
        const QLocale english(QLocale::English, QLocale::UnitedStates);
        const QLocale japanese(QLocale::Japanese, QLocale::Japan);
        QTest::newRow("letters before case, case counts")
            << english << QStringList { "B", "b", "A", "a" } << QStringList { "a", "A", "b", "B" };
        QTest::newRow("case variants are not equal whatever came first")
            << english << QStringList { "A", "a", "B", "b" } << QStringList { "a", "A", "b", "B" };
        QTest::newRow("accents after the plain letter")
            << english << QStringList { "Éclat", "Ecru", "Eclat" } << QStringList { "Eclat", "Éclat", "Ecru" };
        // Japanese rules put kanji in JIS order, where 亜 leads; other
        // locales keep the code-point order of the kanji. Latin goes first,
        // then kana by their sound, then kanji.
        QTest::newRow("japanese") << japanese << QStringList { "一", "亜", "か", "あ", "Z" }
                                  << QStringList { "Z", "あ", "か", "亜", "一" };
        QTest::newRow("same names, english")
            << english << QStringList { "一", "亜", "か", "あ", "Z" } << QStringList { "Z", "あ", "か", "一", "亜" };
    }
    void collation()
    {
        QFETCH(QLocale, locale);
        QFETCH(QStringList, faces);
        QFETCH(QStringList, sorted);
        FontList list;
        for (const QString& face : faces)
            list.AddEntry(face, {}, {}, {}, QStringLiteral("1"), 0);
        SortFontList(list, 1, locale);
        QCOMPARE(Faces(list), sorted);
    }

    void noOrderKeepsRows()
    {
        FontList list;
        Fill(list, { { "b", "", "", "", "1" }, { "a", "", "", "", "2" } });
        QCollator collator;
        QCOMPARE(SortedRows(list, 0, collator), (std::vector<int> { 0, 1 }));
    }

    void emptyListTakesKeyOnly()
    {
        FontList list;
        SortFontList(list, 2);
        QCOMPARE(list.SortKey, 2);
        QCOMPARE(list.Count(), 0);
    }

    void selectionTravelsWithRows()
    {
        FontList list;
        Fill(list, { { "c", "", "", "", "1" }, { "a", "", "", "", "2" }, { "b", "", "", "", "3" } });
        list.SetSelected(0, true);
        SortFontList(list, 1, QLocale(QLocale::English));
        QCOMPARE(list.FirstSelected(), 2);
        QCOMPARE(list.SelectedCount(), 1);
    }
};

QTEST_GUILESS_MAIN(TestFontSort)
#include "test_fontsort.moc"
