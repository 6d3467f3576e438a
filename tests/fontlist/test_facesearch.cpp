// The face-name search of the find dialog and the row tool-tip texts.
#include "fontlist/FaceSearch.h"
#include "fontlist/RowToolTip.h"

#include <QTest>

using namespace tz;

namespace {

void Fill(FontList& list, const QStringList& faces)
{
    for (const QString& face : faces)
        list.AddEntry(face, {}, QStringLiteral("/F.TTF"), {}, QStringLiteral("1"), 0);
}

} // namespace

class TestFaceSearch : public QObject {
    Q_OBJECT
private slots:
    void findFromTop_data()
    {
        QTest::addColumn<QStringList>("faces");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("found");
        const QStringList gothics { "ＭＳ ゴシック", "Century Gothic" };
        QTest::newRow("single-byte letters ignore case") << gothics << "gothic" << 1;
        QTest::newRow("upper-case pattern") << gothics << "GOTHIC" << 1;
        QTest::newRow("full-width letters are not folded to single-byte")
            << QStringList { "Century Gothic" } << "ｇｏｔｈｉｃ" << -1;
        QTest::newRow("full-width letters keep their case") << QStringList { "ＭＳ ゴシック" } << "ｍｓ" << -1;
        QTest::newRow("japanese text matches itself") << gothics << "ゴシック" << 0;
        QTest::newRow("anywhere in the name") << QStringList { "Arial", "Times New Roman" } << "new r" << 1;
        QTest::newRow("pattern longer than every name") << QStringList { "A" } << "Arial" << -1;
        QTest::newRow("empty list") << QStringList {} << "a" << -1;
    }
    void findFromTop()
    {
        QFETCH(QStringList, faces);
        QFETCH(QString, text);
        QFETCH(int, found);
        FontList list;
        Fill(list, faces);
        FaceSearch search;
        search.FindRestart = true;
        QCOMPARE(search.Next(list, text), found);
        QCOMPARE(search.LastFound, found);
        QVERIFY(!search.FindRestart);
    }

    // Each press after the first continues below the row found last and never
    // wraps: after the last match every press reports none until a restart.
    void findNext_data()
    {
        QTest::addColumn<QStringList>("faces");
        QTest::addColumn<QList<int>>("presses");
        QTest::newRow("to the end and again")
            << QStringList { "Gothic A", "Mincho", "Gothic B", "Gothic C" } << QList<int> { 0, 2, 3, -1, -1 };
        QTest::newRow("one-row list") << QStringList { "Gothic" } << QList<int> { 0, -1, -1 };
        QTest::newRow("match above is not found again") << QStringList { "Mincho", "Gothic" } << QList<int> { 1, -1 };
    }
    void findNext()
    {
        QFETCH(QStringList, faces);
        QFETCH(QList<int>, presses);
        FontList list;
        Fill(list, faces);
        FaceSearch search;
        search.FindRestart = true;
        for (int expected : presses)
            QCOMPARE(search.Next(list, QStringLiteral("gothic")), expected);
        search.FindRestart = true;
        QCOMPARE(search.Next(list, QStringLiteral("gothic")), presses.first());
    }

    void rowToolTip_data()
    {
        QTest::addColumn<QString>("member");
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("text");
        QTest::newRow("plain file, kilobytes") << ""
                                               << "1536"
                                               << "Face\n/FONTS/A.TTF\n1.50KB";
        QTest::newRow("archive member, megabytes") << "A.TTF"
                                                   << "3145728"
                                                   << "Face\n/FONTS/A.TTF\n[A.TTF]\n3.00MB";
        QTest::newRow("just under a megabyte") << ""
                                               << "1048575"
                                               << "Face\n/FONTS/A.TTF\n1024.00KB";
        QTest::newRow("exactly a megabyte") << ""
                                            << "1048576"
                                            << "Face\n/FONTS/A.TTF\n1.00MB";
        QTest::newRow("size that is no number") << ""
                                                << "12 KB"
                                                << "Face\n/FONTS/A.TTF\n0.00KB";
        QTest::newRow("empty size") << ""
                                    << ""
                                    << "Face\n/FONTS/A.TTF\n0.00KB";
    }
    void rowToolTip()
    {
        QFETCH(QString, member);
        QFETCH(QString, size);
        QFETCH(QString, text);
        const FontEntry entry { QStringLiteral("Face"), QStringLiteral("Family"), QStringLiteral("/FONTS/A.TTF"),
            member, size, 0, false };
        QCOMPARE(RowToolTipText(entry, entry.FilePath), text);
    }
};

QTEST_GUILESS_MAIN(TestFaceSearch)
#include "test_facesearch.moc"
