// Extraction of the font from MacBinary files.
#include "FontfileTestFiles.h"
#include "SfntWriter.h"
#include "fontfile/ByteOrder.h"
#include "fontfile/MacFont.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTest>
#include <sys/stat.h>

using namespace tz;
using namespace tz::test;

namespace {

QByteArray Pattern(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char(i * 7 + i / 251);
    return bytes;
}

} // namespace

class TestMacFont : public QObject {
    Q_OBJECT

private slots:
    void readBigEndianU32()
    {
        const unsigned char bytes[] = { 0x12, 0x34, 0xAB, 0xCD };
        QCOMPARE(BigEndianView(bytes, sizeof bytes).U32(0), 0x1234ABCDu);
    }

    void extract_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("success");
        QTest::addColumn<QByteArray>("target");

        const QByteArray font = Pattern(5000);
        QTest::newRow("FFIL, empty data fork") << BuildMacBinary({ .font = font }) << true << font;
        QTest::newRow("tfil") << BuildMacBinary({ .font = font, .fileType = "tfil" }) << true << font;
        QTest::newRow("exactly two blocks") << BuildMacBinary({ .font = Pattern(8192) }) << true << Pattern(8192);
        QTest::newRow("empty resource") << BuildMacBinary({ .font = QByteArray() }) << true << QByteArray();
        QTest::newRow("data fork of 100 bytes, resource fork at 228")
            << BuildMacBinary({ .font = font, .dataFork = Pattern(100) }) << true << font;
        // Read at 228, inside the padding, the fork header gives a zero data
        // offset and a zero length: an empty font.
        QTest::newRow("padded data fork is not skipped")
            << BuildMacBinary({ .font = font, .dataFork = Pattern(100), .padDataFork = true }) << true << QByteArray();
        QTest::newRow("old version 1") << BuildMacBinary({ .font = font, .oldVersion = 1 }) << false << QByteArray();
        QTest::newRow("PostScript font type") << BuildMacBinary({ .font = font, .fileType = "LWFN" }) << false << QByteArray();
        QTest::newRow("type case matters") << BuildMacBinary({ .font = font, .fileType = "ffil" }) << false << QByteArray();
        QTest::newRow("resource fork length 0")
            << BuildMacBinary({ .font = font, .resourceForkLength = 0 }) << false << QByteArray();
        QTest::newRow("header only") << BuildMacBinary({ .font = font }).left(128) << false << QByteArray();
        QTest::newRow("short header") << BuildMacBinary({ .font = font }).left(100) << false << QByteArray();
        QTest::newRow("empty file") << QByteArray() << false << QByteArray();

        const QByteArray large = Pattern(10000);
        const QByteArray whole = BuildMacBinary({ .font = large });
        const qsizetype fontStart = 128 + 256 + 4;
        QTest::newRow("truncated inside the font keeps the whole blocks")
            << whole.left(fontStart + 5000) << false << large.left(4096);
        QTest::newRow("truncated in the last partial block")
            << whole.left(fontStart + 9000) << false << large.left(8192);

        QByteArray hugeLength = BuildMacBinary({ .font = font });
        hugeLength[128 + 256] = char(0xFF);
        hugeLength[128 + 256 + 1] = char(0xFF);
        QTest::newRow("length beyond the file") << hugeLength << false << font.left(4096);

        QByteArray farFork = BuildMacBinary({ .font = font });
        farFork[83] = char(0xFF);
        farFork[84] = char(0xFF);
        farFork[85] = char(0xFF);
        farFork[86] = char(0xFF);
        QTest::newRow("data fork length past the end") << farFork << false << QByteArray();
    }

    void extract()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, success);
        QFETCH(QByteArray, target);
        QTemporaryDir dir;
        const QString targetPath = dir.filePath("typozind.mac.ttx");
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(ExtractMacFont(WriteTestFile(dir, "font.suit", file), targetPath), success);
        QVERIFY(timer.elapsed() < 5000);
        // The target is created before anything is checked.
        QVERIFY(QFile::exists(targetPath));
        QCOMPARE(ReadTestFile(targetPath), target);
    }

    void existingTargetIsTruncated()
    {
        QTemporaryDir dir;
        const QString targetPath = WriteTestFile(dir, "target.ttf", Pattern(20000));
        QVERIFY(ExtractMacFont(WriteTestFile(dir, "font.suit", BuildMacBinary({ .font = Pattern(300) })), targetPath));
        QCOMPARE(ReadTestFile(targetPath), Pattern(300));
    }

    void unusableFiles_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("target");
        QTest::newRow("missing source") << "missing.suit" << "out.ttf";
        QTest::newRow("target in a missing folder") << "font.suit" << "missing/out.ttf";
        QTest::newRow("fifo source") << "fifo" << "out.ttf";
        QTest::newRow("fifo target") << "font.suit" << "fifo";
        QTest::newRow("folder target") << "font.suit" << "folder";
    }

    void unusableFiles()
    {
        QFETCH(QString, source);
        QFETCH(QString, target);
        QTemporaryDir dir;
        WriteTestFile(dir, "font.suit", BuildMacBinary({ .font = Pattern(300) }));
        QCOMPARE(mkfifo(QFile::encodeName(dir.filePath("fifo")).constData(), 0600), 0);
        QVERIFY(QDir(dir.path()).mkdir("folder"));
        QElapsedTimer timer;
        timer.start();
        QVERIFY(!ExtractMacFont(dir.filePath(source), dir.filePath(target)));
        QVERIFY(timer.elapsed() < 5000);
    }
};

QTEST_GUILESS_MAIN(TestMacFont)
#include "test_macfont.moc"
