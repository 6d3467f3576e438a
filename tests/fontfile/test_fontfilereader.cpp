// The font file reader and the analysis with the Macintosh fallback, on
// fonts built byte by byte.
#include "FontfileTestFiles.h"
#include "SfntWriter.h"
#include "fontfile/ByteOrder.h"
#include "fontfile/FontFileReader.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTest>
#include <sys/stat.h>

using namespace tz;
using namespace tz::test;

namespace {

constexpr quint16 kFamily = 1;
constexpr quint16 kFace = 4;

// A name table of `count` records: the face record "Face", then records with
// name ID 2 (ignored) except for the family records "F<index>" at familyAt
// and secondFamilyAt.
QByteArray ManyRecordsFont(int count, int familyAt, int secondFamilyAt = -1)
{
    QList<SfntName> names { WindowsName(kFace, QStringLiteral("Face")) };
    for (int i = 1; i < count; ++i) {
        const bool family = i == familyAt || i == secondFamilyAt;
        names.append(WindowsName(family ? kFamily : 2, QStringLiteral("F%1").arg(i)));
    }
    return BuildFont(names);
}

// A file whose table directory holds `tableCount` records with "name" at
// position `nameAt`.
QByteArray ManyTablesFont(int tableCount, int nameAt)
{
    SfntWriter font;
    font.bytes = QByteArray(12 + 16 * tableCount, '\0');
    const QByteArray table = NameTable({ WindowsName(kFamily, "Fam"), WindowsName(kFace, "Fac") });
    const quint32 offset = font.Append(table);
    QList<SfntTableRecord> records;
    for (int i = 0; i < tableCount; ++i)
        records.append(i == nameAt ? SfntTableRecord { "name", offset, quint32(table.size()) }
                                   : SfntTableRecord { QByteArray("t") + QByteArray::number(i), 0, 0 });
    font.OffsetTable(0, records);
    return font.bytes;
}

} // namespace

class TestFontFileReader : public QObject {
    Q_OBJECT

private slots:
    void byteOrder()
    {
        // The same bytes read in the two orders are each other's reverse.
        const unsigned char bytes[] = { 0x11, 0x22, 0x33, 0x44, 0xAB, 0xCD, 0x00, 0x01, 0x00, 0x00 };
        QCOMPARE(BigEndianView(bytes, sizeof bytes).U32(0), 0x11223344u);
        QCOMPARE(LittleEndianView(bytes, sizeof bytes).U32(0), 0x44332211u);
        QCOMPARE(BigEndianView(bytes, sizeof bytes).U16(4), quint16(0xABCD));
        QCOMPARE(LittleEndianView(bytes, sizeof bytes).U16(4), quint16(0xCDAB));
        QCOMPARE(BigEndianView(bytes, sizeof bytes).U32(6), 0x00010000u);
        QCOMPARE(LittleEndianView(bytes, sizeof bytes).U32(6), 0x00000100u);
        // A field that does not fit reads as 0.
        QCOMPARE(LittleEndianView(bytes, sizeof bytes).U32(7), 0u);
        QVERIFY(LittleEndianView(bytes, sizeof bytes).Fits(6, 4) && !LittleEndianView(bytes, sizeof bytes).Fits(7, 4));
    }

    void readSingleFont_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("families");
        QTest::addColumn<QStringList>("faces");

        QTest::newRow("windows us-english")
            << BuildFont({ WindowsName(kFamily, "Gadget"), WindowsName(kFace, "Gadget Bold") })
            << QStringList { "Gadget" } << QStringList { "Gadget Bold" };
        QTest::newRow("japanese record after us-english wins")
            << BuildFont({ WindowsName(kFamily, "Mincho"), WindowsName(kFace, "Mincho W3"),
                   WindowsName(kFamily, QStringLiteral("明朝"), 0x0411), WindowsName(kFace, QStringLiteral("明朝 W3"), 0x0411) })
            << QStringList { QStringLiteral("明朝") } << QStringList { QStringLiteral("明朝 W3") };
        QTest::newRow("last qualifying record wins, whatever its platform")
            << BuildFont({ WindowsName(kFamily, "Windows"), MacName(kFamily, "Mac"), { 0, 3, 0, kFamily, "Uni" },
                   WindowsName(kFace, "Face") })
            << QStringList { "Uni" } << QStringList { "Face" };
        QTest::newRow("other languages do not qualify")
            << BuildFont({ WindowsName(kFamily, "English"), WindowsName(kFamily, "Deutsch", 0x0407),
                   WindowsName(kFace, "Face") })
            << QStringList { "English" } << QStringList { "Face" };
        QTest::newRow("macintosh roman decoded")
            << BuildFont({ MacName(kFamily, "Caf\x8E"), MacName(kFace, "Caf\x8E \xA9") })
            << QStringList { QStringLiteral("Café") } << QStringList { QStringLiteral("Café ©") };
        QTest::newRow("macintosh japanese decoded as shift-jis")
            << BuildFont({ { 1, 1, 0, kFamily, "\x83\x65\x83\x58\x83\x67" }, MacName(kFace, "Test") })
            << QStringList { QStringLiteral("テスト") } << QStringList { "Test" };
        QTest::newRow("windows string of odd length drops its last byte")
            << BuildFont({ { 3, 1, 0x0409, kFamily, Utf16BE("Odd") + "X" }, WindowsName(kFace, "Face") })
            << QStringList { "Odd" } << QStringList { "Face" };
        QTest::newRow("windows string ends at a zero unit")
            << BuildFont({ { 3, 1, 0x0409, kFamily, Utf16BE(QString("Ab") + QChar(0) + "cd") },
                   WindowsName(kFace, "Face") })
            << QStringList { "Ab" } << QStringList { "Face" };
        QTest::newRow("unconvertible utf-16 becomes the empty name")
            << BuildFont({ { 3, 1, 0x0409, kFamily, QByteArray("\xD8\x00\x00\x41", 4) }, WindowsName(kFace, "Face") })
            << QStringList { "" } << QStringList { "Face" };
        QTest::newRow("raw unicode-platform name stops at its first zero byte")
            << BuildFont({ { 0, 3, 0, kFamily, Utf16BE("Abc") }, WindowsName(kFace, "Face") })
            << QStringList { "" } << QStringList { "Face" };
        QTest::newRow("missing face name taken from the start of the storage")
            << BuildFontWithNameTable(NameTable({ WindowsName(kFamily, "Fam") },
                   "Default name longer than thirty-two bytes"))
            << QStringList { "Fam" } << QStringList { "Default name longer than thirty-" };
        SfntWriter shared { NameTable({ MacName(kFamily, "Same"), MacName(kFace, "Same") }, {}) };
        shared.PutU16(6 + 12 + 10, 0); // the face record's offset
        QTest::newRow("both names at string offset 0: no face")
            << BuildFontWithNameTable(shared.bytes) << QStringList {} << QStringList {};
        QTest::newRow("no qualifying name: no face")
            << BuildFont({ WindowsName(kFamily, "Deutsch", 0x0407) }) << QStringList {} << QStringList {};
        QTest::newRow("64 name records at most: record 63 counts")
            << ManyRecordsFont(80, 63) << QStringList { "F63" } << QStringList { "Face" };
        QTest::newRow("64 name records at most: record 64 does not")
            << ManyRecordsFont(80, 62, 64) << QStringList { "F62" } << QStringList { "Face" };
        QTest::newRow("32 tables at most: name in record 31")
            << ManyTablesFont(40, 31) << QStringList { "Fam" } << QStringList { "Fac" };
        QTest::newRow("32 tables at most: name in record 32") << ManyTablesFont(40, 32) << QStringList {}
                                                              << QStringList {};
        QTest::newRow("OpenType with CFF outlines")
            << BuildFont({ WindowsName(kFamily, "F"), WindowsName(kFace, "F") }, 0x4F54544F) << QStringList {}
            << QStringList {};
        QTest::newRow("Apple 'true' sfnt")
            << BuildFont({ WindowsName(kFamily, "F"), WindowsName(kFace, "F") }, 0x74727565) << QStringList {}
            << QStringList {};
    }

    void readSingleFont()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, families);
        QFETCH(QStringList, faces);
        QTemporaryDir dir;
        FontFileReader reader;
        reader.Read(WriteTestFile(dir, "font.ttf", bytes));
        QCOMPARE(reader.FamilyNames(), families);
        QCOMPARE(reader.FaceNames(), faces);
    }

    void readCollection_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("faces");

        const QList<QList<SfntName>> three {
            { WindowsName(kFamily, "A"), WindowsName(kFace, "A1") },
            { WindowsName(kFamily, "B"), WindowsName(kFace, "B1") },
            { WindowsName(kFamily, "C"), WindowsName(kFace, "C1") },
        };
        const QByteArray collection = BuildCollection(three);
        QTest::newRow("three faces in file order") << collection << QStringList { "A1", "B1", "C1" };
        QTest::newRow("single declared face") << BuildCollection({ three[0] }) << QStringList { "A1" };

        SfntWriter huge { collection };
        huge.PutU32(8, 0xFFFFFFFF);
        QTest::newRow("huge font count ends with the data") << huge.bytes << QStringList { "A1", "B1", "C1" };

        SfntWriter pastEnd { collection };
        pastEnd.PutU32(12, 0xFFFFFFF0);
        QTest::newRow("first offset past the end") << pastEnd.bytes << QStringList {};

        // The header's offset of the second face is ignored: its offset table
        // is looked for right after the first one.
        SfntWriter gap;
        const QByteArray nameA = NameTable(three[0]);
        const QByteArray nameB = NameTable(three[1]);
        gap.CollectionHeader(2, { 20, 52 });
        gap.bytes.resize(80, '\0');
        const quint32 a = gap.Append(nameA);
        const quint32 b = gap.Append(nameB);
        gap.OffsetTable(20, { { "name", a, quint32(nameA.size()) } });
        gap.OffsetTable(52, { { "name", b, quint32(nameB.size()) } });
        QTest::newRow("later faces assumed back to back") << gap.bytes << QStringList { "A1" };

        // A first face with 40 table records: the next offset table is looked
        // for 12 + 16 * 32 bytes on, over the records the reader does not count.
        SfntWriter wide;
        wide.CollectionHeader(2, { 16 });
        wide.bytes.resize(16 + 12 + 16 * 40, '\0');
        const quint32 wa = wide.Append(nameA);
        const quint32 wb = wide.Append(nameB);
        QList<SfntTableRecord> records { { "name", wa, quint32(nameA.size()) } };
        for (int i = 1; i < 40; ++i)
            records.append({ "zzzz", 0, 0 });
        wide.OffsetTable(16, records);
        wide.OffsetTable(16 + 524, { { "name", wb, quint32(nameB.size()) } });
        QTest::newRow("next face 524 bytes after a 40-table face") << wide.bytes << QStringList { "A1", "B1" };

        QTest::newRow("collection tag only") << QByteArray("ttcf") << QStringList {};
    }

    void readCollection()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, faces);
        QTemporaryDir dir;
        FontFileReader reader;
        QElapsedTimer timer;
        timer.start();
        reader.Read(WriteTestFile(dir, "font.ttc", bytes));
        QVERIFY(timer.elapsed() < 5000);
        QCOMPARE(reader.FaceNames(), faces);
        QCOMPARE(reader.FamilyNames().size(), faces.size());
    }

    // Damaged files: never a crash or a read outside the buffers (the ASan
    // build runs these), and the designed result.
    void damagedFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("faceCount");

        const QByteArray good = BuildFont({ WindowsName(kFamily, "Family"), WindowsName(kFace, "Face") });
        QTest::newRow("zero length") << QByteArray() << 0;
        QTest::newRow("truncated in the directory") << good.left(20) << 0;
        QTest::newRow("truncated in the name table") << good.left(good.size() - 30) << 1;
        QTest::newRow("not a font") << QByteArray("PK\x03\x04 this is a zip archive, not a font") << 0;

        SfntWriter tables { good };
        tables.PutU16(4, 0xFFFF);
        QTest::newRow("table count 0xFFFF") << tables.bytes << 1;

        SfntWriter nameFar { good };
        nameFar.PutU32(12 + 8, 0xFFFFFFF0);
        QTest::newRow("name table past the end") << nameFar.bytes << 0;

        const qsizetype nameTable = 28;
        SfntWriter records { good };
        records.PutU16(nameTable + 2, 0xFFFF);
        QTest::newRow("name count 0xFFFF") << records.bytes << 1;

        SfntWriter outside { good };
        outside.PutU16(nameTable + 6 + 8, 0xFFFF); // length of the family record
        outside.PutU16(nameTable + 6 + 10, 0xFFF0); // its offset
        outside.PutU16(nameTable + 4, 0xFFFF); // string offset
        QTest::newRow("name records pointing outside the file") << outside.bytes << 1;
    }

    void damagedFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, faceCount);
        QTemporaryDir dir;
        FontFileReader reader;
        reader.Read(WriteTestFile(dir, "damaged.ttf", bytes));
        QCOMPARE(reader.FamilyNames().size(), faceCount);
        QCOMPARE(reader.FaceNames().size(), faceCount);
    }

    // Thousands of faces sharing one table of 32,000-unit names: each name is
    // cut, and reading stops once the names of the file reach their bound,
    // the faces before it named.
    void hostileNamesAreBounded()
    {
        QTemporaryDir dir;
        FontFileReader reader;
        reader.Read(WriteTestFile(dir, "bomb.ttc", BuildNameBombCollection(1500, 32000, 0xFFFFFFFF)));
        const QStringList& faces = reader.FaceNames();
        QCOMPARE(reader.FamilyNames().size(), faces.size());
        QVERIFY(faces.size() >= 100);
        QVERIFY(faces.size() <= 600);
        QCOMPARE(faces.constFirst(), QString(1024, u'N'));
        QCOMPARE(reader.FamilyNames().constLast(), QString(1024, u'F'));

        // A pair of UTF-16 units is never split at the cut.
        const QString astral = QString::fromUcs4(U"\U0001F600").repeated(600);
        reader.Read(WriteTestFile(dir, "astral.ttf", BuildFont({ WindowsName(kFamily, astral), WindowsName(kFace, "A") })));
        QCOMPARE(reader.FamilyNames(), QStringList { astral.left(1024) });
        reader.Read(WriteTestFile(dir, "odd.ttf", BuildFont({ WindowsName(kFamily, "x" + astral), WindowsName(kFace, "A") })));
        QCOMPARE(reader.FamilyNames(), QStringList { ("x" + astral).left(1023) });
    }

    void readerIsReusable()
    {
        QTemporaryDir dir;
        FontFileReader reader;
        reader.Read(WriteTestFile(dir, "a.ttf", BuildFont({ WindowsName(kFamily, "A"), WindowsName(kFace, "A") })));
        reader.Read(dir.filePath("missing.ttf"));
        QCOMPARE(reader.FileName(), dir.filePath("missing.ttf"));
        QVERIFY(reader.FamilyNames().isEmpty());
        QVERIFY(reader.FaceNames().isEmpty());
    }

    void onlyRegularFilesAreOpened_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("fifo") << "fifo";
        QTest::newRow("folder") << "folder";
        QTest::newRow("device") << "device";
    }

    void onlyRegularFilesAreOpened()
    {
        QFETCH(QString, kind);
        QTemporaryDir dir;
        QString path = dir.filePath("font.ttf");
        if (kind == "fifo")
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (kind == "folder")
            QVERIFY(QDir().mkdir(path));
        else
            path = "/dev/zero";
        QElapsedTimer timer;
        timer.start();
        const FontFileAnalysis analysis = AnalyseFontFile(path, dir.path());
        QVERIFY(timer.elapsed() < 5000);
        QVERIFY(analysis.FaceNames.isEmpty());
        QCOMPARE(analysis.Size, 0);
        QCOMPARE(FileSizeOf(path), 0);
    }

    void analyseFontFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("faces");
        QTest::addColumn<bool>("macintosh");
        QTest::addColumn<int>("size");

        const QByteArray font = BuildFont({ WindowsName(kFamily, "Family"), WindowsName(kFace, "Face") });
        QTest::newRow("plain font") << font << QStringList { "Face" } << false << int(font.size());
        QTest::newRow("macintosh font") << BuildMacBinary({ .font = font }) << QStringList { "Face" } << true
                                        << int(font.size());
        QTest::newRow("OTTO, then not a Macintosh file")
            << BuildFont({ WindowsName(kFamily, "F"), WindowsName(kFace, "F") }, 0x4F54544F) << QStringList {}
            << false << 0;
        QTest::newRow("macintosh file holding no sfnt")
            << BuildMacBinary({ .font = QByteArray("not a font") }) << QStringList {} << true << 10;
    }

    void analyseFontFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, faces);
        QFETCH(bool, macintosh);
        QFETCH(int, size);
        QTemporaryDir work;
        QTemporaryDir files;
        const FontFileAnalysis analysis = AnalyseFontFile(WriteTestFile(files, "input.ttf", bytes), work.path());
        QCOMPARE(analysis.FaceNames, faces);
        QCOMPARE(analysis.FamilyNames.size(), faces.size());
        QCOMPARE(analysis.Macintosh, macintosh);
        QCOMPARE(analysis.Size, size);
        // Nothing is left in the work folder; a file that is no Macintosh
        // font file never creates the temporary file at all.
        QVERIFY(!QFile::exists(work.filePath("typozind.mac.ttx")));
    }

    void missingFileHasNoFaceAndNoSize()
    {
        QTemporaryDir work;
        const FontFileAnalysis analysis = AnalyseFontFile(work.filePath("missing.ttf"), work.path());
        QVERIFY(analysis.FaceNames.isEmpty());
        QCOMPARE(analysis.Size, 0);
        QCOMPARE(FileSizeOf(work.filePath("missing.ttf")), 0);
    }
};

QTEST_GUILESS_MAIN(TestFontFileReader)
#include "test_fontfilereader.moc"
