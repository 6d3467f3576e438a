// tzind list: the rows on standard output, the designed failure texts on
// standard error, and the exit statuses.
#include "ListFileSupport.h"
#include "TestSupport.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace tz;

class TestTzindList : public QObject {
    Q_OBJECT
private slots:
    void statuses_data();
    void statuses();
    void printsTheFileRowsUnchanged();
};

void TestTzindList::statuses_data()
{
    QTest::addColumn<QByteArray>("content"); // empty: no file at all
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("err");
    const QByteArray header = test::ListHeader();
    QTest::newRow("every line read") << header + "0\tA\tB\t/c.ttf\t\t1\r\n"
                                     << QStringList() << 0 << QByteArray("0\tA\tB\t/C.TTF\t\t1\n") << QByteArray();
    QTest::newRow("empty list") << header << QStringList() << 0 << QByteArray() << QByteArray();
    QTest::newRow("no list section") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR random", 24) << QStringList() << 2
                                     << QByteArray() << QByteArray("書体リストを読み込めません\n");
    QTest::newRow("some lines failed") << header + "0\tA\tB\tC\t\t1\r\n9\tX\tX\tX\t\t1\r\n\r\n"
                                       << QStringList() << 3 << QByteArray("0\tA\tB\tC\t\t1\n")
                                       << QByteArray("2書体読込めませんでした\n");
    QTest::newRow("file missing") << QByteArray() << QStringList() << 2 << QByteArray()
                                  << QByteArray("書体リストを読み込めません\n");
    QTest::newRow("drive letter re-based")
        << header + "0\tA\tB\tD:\\FONTS\\A.TTF\t\t1\r\n"
        << QStringList { "--drive-letter" } << 0 << QByteArray("/FONTS/A.TTF") << QByteArray();
    QTest::newRow("previous format without --convert") << QByteArray("[List098]\r\n0\tA\tB\tC.TTF\t\r\n")
                                                       << QStringList() << 3 << QByteArray() << QByteArray("--convert");
    QTest::newRow("unknown option") << header << QStringList { "--bogus" } << 2 << QByteArray() << QByteArray("Usage");
}

void TestTzindList::statuses()
{
    QFETCH(QByteArray, content);
    QFETCH(QStringList, options);
    QFETCH(int, status);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.tzl"));
    if (!content.isEmpty())
        QVERIFY(test::WriteBytes(path, content));
    const test::ProcessResult result
        = test::RunProcess(test::BinPath("tzind"), QStringList { "list" } + options + QStringList { path });
    QCOMPARE(result.exitCode, status);
    if (options.contains(u"--drive-letter")) {
        QVERIFY2(result.out.contains(out) && !result.out.contains(":"), result.out.constData());
    } else {
        QCOMPARE(result.out, out);
    }
    if (err.size() < 12)
        QVERIFY2(result.err.contains(err), result.err.constData());
    else
        QCOMPARE(result.err, err);
}

void TestTzindList::printsTheFileRowsUnchanged()
{
    // The rows printed are the file's rows, byte for byte, with LF line ends.
    const QString fixture = test::DataPath(QStringLiteral("listfile/current.tzl"));
    const QByteArray file = test::ReadBytes(fixture);
    const test::ProcessResult result = test::RunProcess(test::BinPath("tzind"), { "list", fixture });
    QCOMPARE(result.exitCode, 0);
    QCOMPARE(result.out, file.mid(test::ListHeader().size()).replace("\r\n", "\n"));
}

QTEST_GUILESS_MAIN(TestTzindList)
#include "test_tzindlist.moc"
