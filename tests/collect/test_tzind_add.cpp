#include "ArchiveZipWriter.h"
#include "SfntWriter.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include "ListFileSupport.h"

#include <QtTest>

using namespace tz::test;

// tzind add as a user runs it: real files, real archives, a controlled
// fontconfig configuration for the installed fonts.
class TzindAddTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString tree_;
    QByteArray font_;

    void Write(const QString& path, const QByteArray& bytes) { QVERIFY(WriteBytes(path, bytes)); }
    ProcessResult Add(const QStringList& args, const QStringList& env = {})
    {
        return RunProcess(BinPath("tzind"), QStringList { "add" } + args, env);
    }
    static QStringList Rows(const QByteArray& file)
    {
        QStringList rows = QString::fromUtf8(file).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        return rows.mid(4);
    }

private slots:
    void initTestCase()
    {
        tree_ = dir_.filePath("tree");
        font_ = BuildFont({ WindowsName(1, "Alpha"), WindowsName(4, "Alpha Regular") });
        const QByteArray two = BuildCollection({ { WindowsName(1, "Two"), WindowsName(4, "Two A") },
            { WindowsName(1, "Two"), WindowsName(4, "Two B") } });
        Write(tree_ + "/a.ttf", font_);
        Write(tree_ + "/bad.ttf", "not a font");
        Write(tree_ + "/setup.exe", "MZ not an archive");
        Write(tree_ + "/sub/two.ttc", two);
        QVERIFY(WriteZip(tree_ + "/sub/pack.zip", { ZipEntry { "inner.ttf", font_ } }));
    }

    void folderTree()
    {
        const QString out = dir_.filePath("out.tzl");
        const ProcessResult r = Add({ "-f", "all", "-o", out, tree_ });
        QCOMPARE(r.exitCode, 0);
        QFile file(out);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        QVERIFY(content.startsWith("[Generator]\r\nSoftware=\"Typoscan Zindel\"\r\nVersion=0.99\r\n[List099]\r\n"));
        QStringList rows = Rows(content);
        rows.sort();
        const QString upper = tree_.toUpper();
        QCOMPARE(rows, (QStringList {
                           QStringLiteral("0\tAlpha Regular\tAlpha\t%1/A.TTF\t\t%2").arg(upper).arg(font_.size()),
                           QStringLiteral("0\tAlpha Regular\tAlpha\t%1/SUB/PACK.ZIP\tINNER.TTF\t%2").arg(upper).arg(font_.size()),
                           QStringLiteral("1\tTwo A\tTwo\t%1/SUB/TWO.TTC\t\t").arg(upper) + rows.value(2).section(u'\t', 5),
                           QStringLiteral("1\tTwo B\tTwo\t%1/SUB/TWO.TTC\t\t").arg(upper) + rows.value(3).section(u'\t', 5),
                       }));
        // The font file that added nothing is named; the .exe is not.
        const QString err = QString::fromUtf8(r.err);
        QVERIFY(err.contains(QStringLiteral("bad.ttf: フォントではありません\n")));
        QVERIFY(!err.contains("setup.exe"));
        QVERIFY(err.trimmed().endsWith(QStringLiteral("以上のファイルが追加できませんでした．")));
    }

    void longJapanesePathReadsBack()
    {
        // Five levels of long Japanese folder names: the saved row is far
        // longer than 1,023 bytes, and tzind list prints it all the same.
        QString folder = dir_.filePath("deep");
        for (int level = 0; level < 5; ++level)
            folder += u'/' + QString(70, u'書');
        Write(folder + "/a.ttf", font_);
        QVERIFY(folder.toUtf8().size() > 1060);
        const QString list = dir_.filePath("long.tzl");
        QCOMPARE(Add({ "-o", list, folder }).exitCode, 0);
        const ProcessResult listed = RunProcess(BinPath("tzind"), { "list", list });
        QCOMPARE(listed.err, QByteArray());
        QCOMPARE(listed.exitCode, 0);
        QCOMPARE(QString::fromUtf8(listed.out),
            QStringLiteral("0\tAlpha Regular\tAlpha\t%1/A.TTF\t\t%2\n").arg(folder.toUpper()).arg(font_.size()));
    }

    void settingsOfTheWalk()
    {
        const ProcessResult noArchives = Add({ "--no-archives", tree_ });
        QCOMPARE(noArchives.exitCode, 0);
        QVERIFY(!noArchives.out.contains("PACK.ZIP"));
        // Default: the first face of a collection only.
        QCOMPARE(noArchives.out.count("TWO.TTC"), 1);
        QVERIFY(noArchives.out.contains("Two A"));
        const ProcessResult last = Add({ "-f", "last", "--no-sfx", tree_ + "/sub/two.ttc" });
        QCOMPARE(last.exitCode, 0);
        QVERIFY(last.out.contains("Two B") && !last.out.contains("Two A"));
    }

    void exitStatuses_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::newRow("some path added nothing") << QStringList { tree_ + "/a.ttf", tree_ + "/bad.ttf" } << 3;
        QTest::newRow("missing file") << QStringList { dir_.filePath("none.ttf") } << 3;
        QTest::newRow("no path") << QStringList {} << 2;
        QTest::newRow("bad face choice") << QStringList { "-f", "middle", tree_ } << 2;
        QTest::newRow("unknown option") << QStringList { "--bogus", tree_ } << 2;
        QTest::newRow("unwritable output") << QStringList { "-o", dir_.filePath("no/such/dir/x.tzl"), tree_ } << 2;
    }
    void exitStatuses()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QCOMPARE(Add(args).exitCode, status);
    }

    // A folder given with a trailing '/' that adds nothing is named by its
    // own name, as the window names it, never by the empty text after the '/'.
    void folderWithTrailingSlashIsNamed()
    {
        const QString empty = dir_.filePath("nofonts");
        Write(empty + "/readme.txt", "no font here");
        const ProcessResult r = Add({ empty + u'/' });
        QCOMPARE(r.exitCode, 3);
        const QString err = QString::fromUtf8(r.err);
        QVERIFY2(err.startsWith(QStringLiteral("nofonts: フォントが含まれていません\n")), qPrintable(err));
        QVERIFY(!err.contains(QStringLiteral("\n: ")));
    }

    // LZH, CAB and self-extracting archives are read through the archiver
    // library, which tzind loads as the program does: named as files and found
    // by the walk, each of their two fonts gives a row; without the library
    // they give none.
    void everyArchiveKind_data()
    {
        QTest::addColumn<bool>("library");
        QTest::newRow("library present") << true;
        QTest::newRow("library missing") << false;
    }
    void everyArchiveKind()
    {
        QFETCH(bool, library);
        const QStringList archives { "named.lzh", "named.cab", "namedlzh.exe", "namedcab.exe" };
        const QString folder = dir_.filePath("archives");
        QDir().mkpath(folder);
        QStringList files;
        for (const QString& name : archives) {
            files << folder + u'/' + name;
            QFile::remove(files.constLast());
            QVERIFY(QFile::copy(QStringLiteral(TZ_TEST_DATA "/archive/") + name, files.constLast()));
        }
        const QStringList env { library ? QStringLiteral("TYPOSCAN_ARCHIVER_LIBRARY=")
                                        : QStringLiteral("TYPOSCAN_ARCHIVER_LIBRARY=libtyposcan-missing.so.0") };
        const QString font = QString::number(78); // the size of each small font member
        QStringList expected;
        for (const QString& file : files) {
            for (int i = 0; i < 2; ++i)
                expected << QStringLiteral("0\tMany %1\tMany\t%2\tF%1.TTF\t%3").arg(i).arg(file.toUpper(), font);
        }
        const ProcessResult named = Add(files, env);
        QCOMPARE(named.exitCode, library ? 0 : 3);
        QCOMPARE(Rows(named.out), library ? expected : QStringList());
        const ProcessResult walked = Add({ folder }, env);
        QStringList rows = Rows(walked.out);
        rows.sort();
        expected.sort();
        QCOMPARE(rows, library ? expected : QStringList());
    }

    // A ZIP of four members of zeros, each 100 MiB when extracted, and one
    // font: the font is added, each bomb is refused and named as not added,
    // and the work folder never holds more than the bound.
    void archiveBombsAreNotAdded_data()
    {
        QTest::addColumn<bool>("library");
        QTest::newRow("library") << true;
        QTest::newRow("built-in reader") << false;
    }
    void archiveBombsAreNotAdded()
    {
        QFETCH(bool, library);
        const QString zip = dir_.filePath("bomb.zip");
        if (!QFile::exists(zip)) {
            const QByteArray zeros(100 << 20, '\0');
            QList<ZipEntry> entries;
            for (int i = 1; i <= 4; ++i)
                entries << ZipEntry { QByteArray("ZERO") + QByteArray::number(i) + ".TTF", zeros };
            entries << ZipEntry { "GOOD.TTF", font_ };
            QVERIFY(WriteZip(zip, entries));
        }
        const QString temp = dir_.filePath("tmp-bomb");
        QDir().mkpath(temp);
        // The extraction may not pass 16 MiB in any file.
        const ProcessResult r = RunProcess("/bin/sh",
            { "-c", "trap '' XFSZ; ulimit -f 32768; exec \"$0\" add \"$1\"", BinPath("tzind"), zip },
            { "TMPDIR=" + temp,
                library ? QStringLiteral("TYPOSCAN_ARCHIVER_LIBRARY=")
                        : QStringLiteral("TYPOSCAN_ARCHIVER_LIBRARY=libtyposcan-missing.so.0") });
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(Rows(r.out).size(), 1);
        QVERIFY(Rows(r.out).constFirst().contains("\tGOOD.TTF\t"));
        const QString err = QString::fromUtf8(r.err);
        for (int i = 1; i <= 4; ++i)
            QVERIFY(err.contains(QStringLiteral("bomb.zip/ZERO%1.TTF: ").arg(i)));
        QVERIFY(err.trimmed().endsWith(QStringLiteral("以上のファイルが追加できませんでした．")));
        QCOMPARE(QDir(temp).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    }

    void installedFonts()
    {
        // A fontconfig configuration that knows one folder only.
        const QString fonts = dir_.filePath("installed");
        QVERIFY(QDir().mkpath(fonts));
        QVERIFY(QFile::copy(QStringLiteral("/usr/share/fonts/opentype/urw-base35/P052-Roman.otf"), fonts + "/P052.otf"));
        QVERIFY(QFile::copy(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"), fonts + "/DejaVuSans.ttf"));
        const QString conf = dir_.filePath("fonts.conf");
        Write(conf, QStringLiteral("<?xml version=\"1.0\"?><!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">"
                                   "<fontconfig><dir>%1</dir><cachedir>%2</cachedir></fontconfig>")
                        .arg(fonts, dir_.filePath("fc-cache"))
                        .toUtf8());
        const ProcessResult r = Add({ "--installed" }, { "FONTCONFIG_FILE=" + conf });
        QCOMPARE(r.exitCode, 0);
        const QStringList rows = Rows(r.out);
        // Only .TTF and .TTC files, in the order of their upper-cased paths.
        QCOMPARE(rows.size(), 1);
        QVERIFY(rows[0].contains("/DEJAVUSANS.TTF"));
    }
};

QTEST_GUILESS_MAIN(TzindAddTest)
#include "test_tzind_add.moc"
