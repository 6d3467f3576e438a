// The list file format: the writer's bytes, the reader's tolerance and
// failure counts, round trips, Windows-made lists and the atomic save.
#include "ListFileSupport.h"
#include "TestSupport.h"
#include "fontlist/FontList.h"
#include "fontlist/ListFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

using namespace tz;

namespace {

const QByteArray kHeader = test::ListHeader();

// The rows of a list as "kind|face|family|path|member|size" lines.
QString Rows(const FontList& list)
{
    QStringList rows;
    for (int i = 0; i < list.Count(); ++i) {
        const FontEntry& e = list.Entry(i);
        rows << QStringList { QString::number(e.Kind), e.FaceName, e.FamilyName, e.FilePath, e.MemberName, e.Size }
                    .join(u'|');
    }
    return rows.join(u'\n');
}

// A row whose whole line, line end excluded, is exactly length bytes.
QByteArray RowOfLength(qsizetype length)
{
    QByteArray row = "0\tF\tG\tP\t\t";
    row += QByteArray(length - row.size(), '9');
    return row;
}

} // namespace

class TestListFile : public QObject {
    Q_OBJECT
private slots:
    void writesTheDesignedBytes_data();
    void writesTheDesignedBytes();
    void keepsEveryRowReadable();
    void read_data();
    void read();
    void roundTripsByteForByte_data();
    void roundTripsByteForByte();
    void readsWindowsMadeLists();
    void longRowsReadBack();
    void readsBadInputWithoutHarm();
    void countsAMillionLines();
    void previousFormat();
    void unexpectedErrorKeepsTheRowsRead();
    void cannotOpen();
    void failedSaveKeepsTheOldFile();
    void saveKeepsPermissionsAndLinks();
    void saveIntoFifoKeepsIt();
};

void TestListFile::writesTheDesignedBytes_data()
{
    QTest::addColumn<QList<FontEntry>>("entries");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("empty list: the header only") << QList<FontEntry> {} << kHeader;
    QTest::newRow("one plain TrueType row")
        << QList<FontEntry> { { "Arial", "Arial", "/fonts/arial.ttf", "", "367112", 0 } }
        << kHeader + "0\tArial\tArial\t/FONTS/ARIAL.TTF\t\t367112\r\n";
    QTest::newRow("archive member and UTF-8 names")
        << QList<FontEntry> { { "IPAゴシック", "IPA", "/a/Fonts.zip", "sub/ipa.ttc", "10", 1 },
               { "Mac", "Mac", "/m.bin", "", "7", 2 } }
        << kHeader
            + "1\tIPA\xE3\x82\xB4\xE3\x82\xB7\xE3\x83\x83\xE3\x82\xAF\tIPA\t/A/FONTS.ZIP\tSUB/IPA.TTC\t10\r\n"
              "2\tMac\tMac\t/M.BIN\t\t7\r\n";
}

void TestListFile::writesTheDesignedBytes()
{
    QFETCH(QList<FontEntry>, entries);
    QFETCH(QByteArray, expected);
    FontList list;
    for (const FontEntry& e : entries)
        list.AddEntry(e.FaceName, e.FamilyName, e.FilePath, e.MemberName, e.Size, e.Kind);
    QCOMPARE(FormatListFile(list), expected);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.tzl"));
    QVERIFY(WriteListFile(list, path));
    QCOMPARE(test::ReadBytes(path), expected);
}

void TestListFile::keepsEveryRowReadable()
{
    // Names come from fonts and may hold anything; a saved row must read back
    // as one row. Tabs after the fifth belong to the size and stay.
    FontList list;
    list.AddEntry("Face\twith tab", "Family\r\nbroken", "/a\tb.ttf", QString::fromLatin1("m\0x", 3), "12\t34", 0);
    QCOMPARE(FormatListRow(list.Entry(0)), QByteArray("0\tFace with tab\tFamily  broken\t/A B.TTF\tM X\t12\t34"));
    FontList again;
    const ListReadResult result = ReadListContent(again, FormatListFile(list), {}, {});
    QCOMPARE(result.Added, 1);
    QCOMPARE(result.Failures, 0);
    QCOMPARE(again.Entry(0).Size, QStringLiteral("12\t34"));
}

void TestListFile::read_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("failures");
    QTest::addColumn<QString>("rows");
    const int none = int(ListFormat::None), current = int(ListFormat::Current);

    QTest::newRow("one row") << kHeader + "0\tA\tB\t/x/a.ttf\t\t12\r\n" << current << 0 << "0|A|B|/X/A.TTF||12";
    QTest::newRow("only four tabs") << kHeader + "0\tA\tB\t/A.TTF\t12\r\n1\tC\tD\tE\r\n" << current << 2 << "";
    QTest::newRow("kind 7 rejected, x read as 0") << kHeader + "7\tA\tB\tC\t\t1\r\nx\tD\tE\tF\t\t2\r\n"
                                                  << current << 1 << "0|D|E|F||2";
    QTest::newRow("kind with blanks, sign and trailing text")
        << kHeader + " 3\tA\tA\tA\t\t1\r\n+2\tB\tB\tB\t\t2\r\n1abc\tC\tC\tC\t\t3\r\n-0\tD\tD\tD\t\t4\r\n"
        << current << 0 << "3|A|A|A||1\n2|B|B|B||2\n1|C|C|C||3\n0|D|D|D||4";
    QTest::newRow("kinds out of range") << kHeader
            + "-1\tA\tA\tA\t\t1\r\n4\tB\tB\tB\t\t2\r\n99999999999999999999\tC\tC\tC\t\t3\r\n"
                                        << current << 3 << "";
    QTest::newRow("kind only from the first field") << kHeader + "\t3D\tB\tC\t\t1\r\n" << current << 0 << "0|3D|B|C||1";
    QTest::newRow("extra tabs stay in the size") << kHeader + "0\tA\tB\tC\tM\t5\t6\t\r\n"
                                                 << current << 0 << "0|A|B|C|M|5\t6\t";
    QTest::newRow("blank lines are failures") << kHeader + "\r\n0\tA\tB\tC\t\t1\r\n\r\n"
                                              << current << 2 << "0|A|B|C||1";
    QTest::newRow("a [ line ends the section") << kHeader + "0\tA\tB\tC\t\t1\r\n[Other]\r\n0\tD\tE\tF\t\t2\r\n"
                                               << current << 0 << "0|A|B|C||1";
    QTest::newRow("missing section") << QByteArray("[Generator]\r\n0\tA\tB\tC\t\t1\r\n") << none << 0 << "";
    QTest::newRow("empty file") << QByteArray() << none << 0 << "";
    QTest::newRow("section line without rows") << QByteArray("[List0") << current << 0 << "";
    QTest::newRow("rows before the section are ignored")
        << QByteArray("0\tA\tB\tC\t\t1\r\nnoise\r\n[List099]\r\n0\tD\tE\tF\t\t2") << current << 0 << "0|D|E|F||2";
    QTest::newRow("any other [List0 line is the current format")
        << QByteArray("[List077] whatever\n0\tA\tB\tC\t\t1\n") << current << 0 << "0|A|B|C||1";
    QTest::newRow("LF line ends") << QByteArray("[List099]\n0\tA\tB\tC\t\t1\n1\tD\tE\tF\tG\t2\n") << current << 0
                                  << "0|A|B|C||1\n1|D|E|F|G|2";
    QTest::newRow("CR-only line ends make one line")
        << QByteArray("[Generator]\r[List099]\r0\tA\tB\tC\t\t1\r") << none << 0 << "";
    QTest::newRow("a lone CR stays in the field") << kHeader + "0\tA\rB\tC\tD\t\t1\r\r\n"
                                                  << current << 0 << "0|A\rB|C|D||1\r";
    QTest::newRow("NUL bytes make a failure") << kHeader + "0\tA" + '\0' + "B\tC\tD\t\t1\r\n0\tE\tF\tG\t\t2" + '\0'
            + "\r\n" << current << 2 << "";
    QTest::newRow("rows longer than 1023 bytes read whole")
        << kHeader + RowOfLength(1023) + "\r\n" + RowOfLength(70000) + "\t0\tX\tY\tZ\t\t1\r\n0\tA\tB\tC\t\t2"
        << current << 0
        << QString("0|F|G|P||") + QString(1014, u'9') + "\n0|F|G|P||" + QString(69991, u'9') + "\t0\tX\tY\tZ\t\t1"
            + "\n0|A|B|C||2";
    QTest::newRow("a long section line") << QByteArray("[List099]") + QByteArray(2000, 'x') + "\n0\tA\tB\tC\t\t1\n"
                                         << current << 0 << "0|A|B|C||1";
    QTest::newRow("a 10 MB line is one row") << kHeader + QByteArray(10 * 1024 * 1024, '\t') + "\r\n0\tA\tB\tC\t\t1\r\n"
                                             << current << 0
                                             << "0|||||" + QString(10 * 1024 * 1024 - 5, u'\t') + "\n0|A|B|C||1";
    QTest::newRow("neither UTF-8 nor CP932") << kHeader + "0\t\xFF\xFE\tB\tC\t\t1\r\n0\tA\tB\tC\t\t2\r\n"
                                             << current << 1 << "0|A|B|C||2";
}

void TestListFile::read()
{
    QFETCH(QByteArray, content);
    QFETCH(int, format);
    QFETCH(int, failures);
    QFETCH(QString, rows);
    FontList list;
    const ListReadResult result = ReadListContent(list, content, QStringLiteral("/lists/a.tzl"), {});
    QCOMPARE(int(result.Status), int(ListReadStatus::Read));
    QCOMPARE(int(result.Format), format);
    QCOMPARE(IsFontList(content), result.Format != ListFormat::None); // the commands' test before reading
    QCOMPARE(result.Failures, failures);
    QCOMPARE(result.Added, list.Count());
    QCOMPARE(Rows(list), rows);
    QCOMPARE(list.SelectedCount(), list.Count()); // new rows arrive selected
}

void TestListFile::roundTripsByteForByte_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::newRow("UTF-8 list with archive rows and extra tabs") << "current.tzl";
}

void TestListFile::roundTripsByteForByte()
{
    QFETCH(QString, fixture);
    const QString path = test::DataPath(QStringLiteral("listfile/") + fixture);
    FontList list;
    const ListReadResult result = ReadListFile(list, path, {});
    QCOMPARE(result.Failures, 0);
    QVERIFY(list.Count() > 0);
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("copy.tzl"));
    QVERIFY(WriteListFile(list, copy));
    QCOMPARE(test::ReadBytes(copy), test::ReadBytes(path));
}

void TestListFile::readsWindowsMadeLists()
{
    FontList list;
    const QString fixture = test::DataPath(QStringLiteral("listfile/windows-cp932.tzl"));
    QVERIFY(IsFontList(test::ReadBytes(fixture)));
    QVERIFY(IsFontList(FormatListFile(FontList()))); // an empty list the program saved
    const ListReadResult result = ReadListFile(list, fixture, {});
    QCOMPARE(result.Failures, 0);
    QCOMPARE(Rows(list),
        QStringLiteral("1|ＭＳ 明朝|ＭＳ 明朝|C:\\WINDOWS\\FONTS\\MSMINCHO.TTC||9176636\n"
                       "1|ＭＳ Ｐ明朝|ＭＳ Ｐ明朝|C:\\WINDOWS\\FONTS\\MSMINCHO.TTC||9176636\n"
                       "0|表示用ゴシック～①|表示用ゴシック|D:\\FONTS\\ARCHIVE.ZIP|ﾌｫﾝﾄ\\HYOJI.TTF|123456\n"
                       "2|Osaka|Osaka|\\\\SERVER\\SHARE\\MAC\\OSAKA.BIN||654321"));
    // Saved again, the list is UTF-8 and reads back unchanged.
    FontList again;
    QCOMPARE(ReadListContent(again, FormatListFile(list), {}, {}).Failures, 0);
    QCOMPARE(Rows(again), Rows(list));
}

void TestListFile::longRowsReadBack()
{
    QTemporaryDir dir;
    const QString saved = dir.filePath(QStringLiteral("saved.tzl"));
    auto saveAndReadBack = [&saved](const FontList& list) {
        FontList again;
        if (!WriteListFile(list, saved))
            return QStringLiteral("not saved");
        const ListReadResult result = ReadListFile(again, saved, {});
        return result.Failures == 0 ? Rows(again) : QStringLiteral("%1 failures").arg(result.Failures);
    };

    // A font five Japanese folders deep (a path of 1,100 bytes) with long names.
    QString path = QStringLiteral("/home/user");
    for (int level = 0; level < 5; ++level)
        path += u'/' + QString(70, u'書');
    path += u'/' + QString(1100 - path.toUtf8().size() - 5, u'a') + QStringLiteral(".ttf");
    QCOMPARE(path.toUtf8().size(), 1100);
    FontList list;
    list.AddEntry(QString(400, u'明'), QString(300, u'朝'), path, QString(), "1234", 0);
    list.AddEntry("Face", "Family", "/a/fonts.zip", QStringLiteral("sub/") + QString(600, u'体') + ".ttf", "5", 1);
    QCOMPARE(saveAndReadBack(list), Rows(list));

    // A Windows-made CP932 list of half-width katakana rows below 1,023 bytes
    // that grow past it when saved as UTF-8.
    const QByteArray row = "0\t" + QByteArray(500, '\xB1') + "\t" + QByteArray(300, '\xB2') + "\tC:\\FONTS\\"
        + QByteArray(100, '\xB3') + ".TTF\t\t123\r\n";
    QVERIFY(row.size() < 1023);
    const QString windowsList = dir.filePath(QStringLiteral("windows.tzl"));
    QVERIFY(test::WriteBytes(windowsList, kHeader + row + row));
    FontList windows;
    QCOMPARE(ReadListFile(windows, windowsList, {}).Failures, 0);
    QCOMPARE(windows.Count(), 2);
    QCOMPARE(windows.Entry(0).FaceName, QString(500, u'ｱ'));
    QCOMPARE(windows.Entry(1).FilePath, QStringLiteral("C:\\FONTS\\") + QString(100, u'ｳ') + ".TTF");
    QCOMPARE(saveAndReadBack(windows), Rows(windows));
    QVERIFY(test::ReadBytes(saved).size() > 4 * 1023);
}

void TestListFile::readsBadInputWithoutHarm()
{
    // Every byte value, and pseudo-random bytes after a section line: whatever
    // the input, each line of the section is either a row or one failure.
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes += char(i);
    quint32 seed = 12345;
    QByteArray noise = "[List099]\n";
    for (int i = 0; i < 200000; ++i) {
        seed = seed * 1103515245u + 12345u;
        noise += char(seed >> 24);
    }
    for (const QByteArray& content : { bytes, bytes.repeated(100), kHeader + bytes }) {
        FontList list;
        const ListReadResult result = ReadListContent(list, content, {}, {});
        QCOMPARE(int(result.Status), int(ListReadStatus::Read));
        QCOMPARE(result.Added, list.Count());
    }
    qsizetype sectionLines = 0;
    for (const QByteArray& line : noise.split('\n').mid(1)) {
        if (line.startsWith('['))
            break;
        ++sectionLines;
    }
    if (noise.endsWith('\n'))
        --sectionLines;
    FontList list;
    const ListReadResult result = ReadListContent(list, noise, {}, {});
    QCOMPARE(result.Added + result.Failures, int(sectionLines));
    QCOMPARE(result.Added, list.Count());
}

void TestListFile::countsAMillionLines()
{
    QByteArray content = kHeader;
    content.reserve(content.size() + 1000000 * 16);
    for (int i = 0; i < 1000000; ++i)
        content += i % 10 == 0 ? "1\tA\tB\tC\t\t42\r\n" : "5\tA\tB\tC\t\t42\r\n";
    FontList list;
    const ListReadResult result = ReadListContent(list, content, {}, {});
    QCOMPARE(result.Added, 100000);
    QCOMPARE(result.Failures, 900000);
    QCOMPARE(list.Count(), 100000);
}

void TestListFile::previousFormat()
{
    const QString path = test::DataPath(QStringLiteral("listfile/previous.tzl"));
    {
        FontList list;
        const ListReadResult declined = ReadListFile(list, path, {}); // nobody to ask: declined
        QCOMPARE(int(declined.Format), int(ListFormat::Previous));
        QVERIFY(declined.ConversionDeclined);
        QCOMPARE(list.Count(), 0);
        QCOMPARE(declined.Failures, 0);
    }
    FontList list;
    QStringList measured;
    ListReadOptions options;
    int asked = 0;
    options.ConfirmConversion = [&asked] { return ++asked > 0; };
    options.MeasureSize = [&measured](const QString& file, const QString& member) {
        measured << file + u'|' + member;
        return QString::number(measured.size() * 100);
    };
    const ListReadResult result = ReadListFile(list, path, options);
    QCOMPARE(asked, 1);
    QVERIFY(!result.ConversionDeclined);
    QCOMPARE(result.Failures, 2); // three fields only; kind 9
    QCOMPARE(measured, QStringList({ "PLAIN.TTF|", "FONTS.ZIP|ZIPPED.TTF" }));
    QCOMPARE(
        Rows(list), QStringLiteral("0|Plain Face|Plain|PLAIN.TTF||100\n0|Zipped Face|Zipped|FONTS.ZIP|ZIPPED.TTF|200"));

    FontList unmeasured;
    options.MeasureSize = nullptr;
    ReadListFile(unmeasured, path, options);
    QCOMPARE(unmeasured.Entry(1).Size, QStringLiteral("0"));
}

void TestListFile::unexpectedErrorKeepsTheRowsRead()
{
    const QByteArray content = "[List098]\n0\tA\tA\tA.TTF\t\n0\tB\tB\tB.TTF\t\n0\tC\tC\tC.TTF\t\n9\n";
    ListReadOptions options;
    options.ConfirmConversion = [] { return true; };
    options.MeasureSize = [](const QString& file, const QString&) -> QString {
        if (file == u"B.TTF")
            throw std::runtime_error("archive gone");
        return QStringLiteral("1");
    };
    FontList list;
    const ListReadResult result = ReadListContent(list, content, {}, options);
    QCOMPARE(int(result.Status), int(ListReadStatus::InternalError));
    QCOMPARE(Rows(list), QStringLiteral("0|A|A|A.TTF||1"));
    QCOMPARE(result.Failures, 0);
}

void TestListFile::cannotOpen()
{
    QTemporaryDir dir;
    for (const QString& path : { dir.filePath(QStringLiteral("missing.tzl")), dir.path() }) {
        FontList list;
        const ListReadResult result = ReadListFile(list, path, {});
        QCOMPARE(int(result.Status), int(ListReadStatus::CannotOpen));
        QCOMPARE(list.Count(), 0);
    }
}

void TestListFile::failedSaveKeepsTheOldFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list.tzl"));
    const QByteArray old = kHeader + "0\tOld\tOld\t/OLD.TTF\t\t1\r\n";
    QVERIFY(test::WriteBytes(path, old));
    FontList list;
    for (int i = 0; i < 2000; ++i)
        list.AddEntry(QStringLiteral("Face %1").arg(i), "Family", "/fonts/face.ttf", "", "1000", 0);
    {
        const test::FileSizeLimit fullDisk(4096);
        QVERIFY(!WriteListFile(list, path));
    }
    QCOMPARE(test::ReadBytes(path), old);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList { "list.tzl" });
    QVERIFY(!WriteListFile(list, dir.filePath(QStringLiteral("no/such/folder/list.tzl"))));
}

void TestListFile::saveKeepsPermissionsAndLinks()
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("real.tzl"));
    const QString link = dir.filePath(QStringLiteral("link.tzl"));
    QVERIFY(test::WriteBytes(target, "old"));
    QVERIFY(QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    QVERIFY(QFile::link(target, link));
    FontList list;
    list.AddEntry("A", "A", "/a.ttf", "", "1", 0);
    QVERIFY(WriteListFile(list, link));
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(test::ReadBytes(target), FormatListFile(list));
    QCOMPARE(QFile::permissions(target) & 0x0FFF, QFile::ReadUser | QFile::WriteUser | QFile::ReadGroup);
}

// tzind add -o /dev/null: a device or FIFO is written into, never replaced by
// a regular file.
void TestListFile::saveIntoFifoKeepsIt()
{
    QTemporaryDir dir;
    const QByteArray fifo = QFile::encodeName(dir.filePath(QStringLiteral("pipe")));
    QCOMPARE(::mkfifo(fifo.constData(), 0600), 0);
    // A reader that is already there, so opening for writing doesn't wait.
    const int reader = ::open(fifo.constData(), O_RDONLY | O_NONBLOCK);
    QVERIFY(reader >= 0);
    FontList list;
    list.AddEntry("A", "A", "/a.ttf", "", "1", 0);
    QVERIFY(WriteListFile(list, QFile::decodeName(fifo)));
    QByteArray received(4096, '\0');
    const ssize_t got = ::read(reader, received.data(), size_t(received.size()));
    ::close(reader);
    QCOMPARE(received.left(qsizetype(got)), FormatListFile(list));
    struct stat st;
    QVERIFY(::lstat(fifo.constData(), &st) == 0 && S_ISFIFO(st.st_mode));
}

QTEST_GUILESS_MAIN(TestListFile)
#include "test_listfile.moc"
