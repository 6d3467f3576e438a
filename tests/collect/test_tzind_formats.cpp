// tzind and the wider set of font formats: it follows the environment
// setting, --all-formats and --designed-formats override it, in adding,
// listing archives and copying; and with real installed fonts every face
// fontconfig knows from TrueType, OpenType, WOFF and collection files becomes
// a row.
#include "SettingsFiles.h"
#include "SfntWriter.h"
#include "TestSupport.h"
#include "WiderArchives.h"

#include <QDir>
#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include "ListFileSupport.h"

#include <QtTest>

using namespace tz::test;

class TzindFormatsTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString tree_;
    QByteArray font_;

    void Write(const QString& path, const QByteArray& bytes) { QVERIFY(WriteBytes(path, bytes)); }
    static ProcessResult Tzind(const QStringList& args) { return RunProcess(BinPath("tzind"), args); }
    static QStringList SortedRows(const QByteArray& list)
    {
        QStringList rows = QString::fromUtf8(list).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts).mid(4);
        for (QString& row : rows)
            row = row.section(u'\t', 3, 4); // file and member
        rows.sort();
        return rows;
    }

private slots:
    void initTestCase()
    {
        tree_ = dir_.filePath("tree");
        font_ = BuildFont({ WindowsName(1, "Alpha"), WindowsName(4, "Alpha Regular") });
        Write(tree_ + "/a.ttf", font_);
        Write(tree_ + "/renamed.woff2", font_); // named by its bytes once it is looked at
        Write(tree_ + "/pack.rar", StoredRar({ { "inner.ttf", font_ } }));
    }
    void init() { RemoveSettingsFile(); }
    void cleanupTestCase() { RemoveSettingsFile(); }

    void addFollowsTheSettingAndTheOptions()
    {
        const QString upper = tree_.toUpper();
        const QStringList designed { upper + "/A.TTF\t" };
        const QStringList all { upper + "/A.TTF\t", upper + "/PACK.RAR\tINNER.TTF", upper + "/RENAMED.WOFF2\t" };

        QCOMPARE(SortedRows(Tzind({ "add", tree_ }).out), designed);
        QCOMPARE(SortedRows(Tzind({ "add", "--all-formats", tree_ }).out), all);
        WriteSettingsFile("[Zindel\\Misc]\n\"EnableAllFormats\"=dword:00000001\n");
        QCOMPARE(SortedRows(Tzind({ "add", tree_ }).out), all);
        QCOMPARE(SortedRows(Tzind({ "add", "--designed-formats", tree_ }).out), designed);
        // The last option given counts.
        QCOMPARE(SortedRows(Tzind({ "add", "--designed-formats", tree_, "--all-formats" }).out), all);
        // tzind only reads the settings.
        QVERIFY(!ReadSettingsFile().contains("EnableMacExt"));
    }

    void archiveCommands()
    {
        const QString rar = tree_ + "/pack.rar";
        QCOMPARE(Tzind({ "archive-members", rar }).exitCode, 1);
        const ProcessResult members = Tzind({ "archive-members", "--all-formats", rar });
        QCOMPARE(members.exitCode, 0);
        QVERIFY(members.out.startsWith("fonts 1\n  inner.ttf\n"));
        const QString out = dir_.filePath("inner.ttx");
        QCOMPARE(Tzind({ "archive-extract", rar, "INNER.TTF", out }).exitCode, 1);
        QCOMPARE(Tzind({ "archive-extract", "--all-formats", rar, "INNER.TTF", out }).exitCode, 0);
        QFile extracted(out);
        QVERIFY(extracted.open(QIODevice::ReadOnly));
        QCOMPARE(extracted.readAll(), font_);
    }

    void copyKeepsTheExtensionOfTheWiderFormats()
    {
        for (const bool all : { false, true }) {
            const QString out = dir_.filePath(all ? "copy-all" : "copy-designed");
            QVERIFY(QDir().mkpath(out));
            QStringList args { "copy", "-o", out, tree_ + "/renamed.woff2" };
            if (all)
                args << "--all-formats";
            QCOMPARE(Tzind(args).exitCode, 0);
            QCOMPARE(QDir(out).entryList(QDir::Files), QStringList { all ? "renamed.woff2" : "renamed.woff2.ttf" });
        }
    }

    // tzind sample hands the option on to tzind-sample, whose run takes the
    // font out of the RAR archive and draws it.
    void sampleOfARarMember()
    {
        QFile dejaVu(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"));
        if (!dejaVu.open(QIODevice::ReadOnly))
            QSKIP("fonts-dejavu-core is not installed");
        const QString rar = dir_.filePath("dejavu.rar");
        Write(rar, StoredRar({ { "DejaVuSans.ttf", dejaVu.readAll() } }));
        const QString out = dir_.filePath("sample");
        const ProcessResult run = Tzind({ "sample", "--no-printer", "--all-formats", "-o", out, rar });
        QCOMPARE(run.exitCode, 0);
        QFile index(out + "/index.tsv");
        QVERIFY(index.open(QIODevice::ReadOnly));
        QCOMPARE(index.readAll().split('\n').value(0).split('\t').value(2), QByteArray("DejaVu Sans"));
        QFile log(out + "/log.txt");
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(log.readAll(), QByteArray());
    }

    void flagsInHelp()
    {
        // Each command's synopsis: its line and the indented lines below it.
        QMap<QString, QString> synopses;
        QString command;
        for (const QString& line : QString::fromUtf8(Tzind({ "--help" }).out).split(u'\n')) {
            if (line.startsWith(QStringLiteral("  ")) && line.size() > 2 && line[2].isLetter())
                command = line.mid(2).section(u' ', 0, 0);
            else if (!line.startsWith(QStringLiteral("      ")))
                continue;
            synopses[command] += line;
        }
        for (const char* name : { "add", "archive-extract", "archive-members", "copy", "dups", "faces", "find",
                 "install", "list", "sample" }) {
            const QString synopsis = synopses.value(QLatin1String(name));
            QVERIFY2(synopsis.contains("--all-formats") && synopsis.contains("--designed-formats"), name);
        }
    }

    // Needs the reader of the wider formats: every face fontconfig lists
    // from a TrueType, OpenType, WOFF or collection file (Type 1 aside) is a
    // row, and no other.
    void everyInstalledFaceWithAllFormats()
    {
        const ProcessResult listed
            = RunProcess(QStringLiteral("fc-list"), { "--format", "%{file}\\t%{index}\\t%{fontformat}\\n" });
        if (listed.exitCode != 0)
            QSKIP("fc-list is not installed");
        QMap<QString, QSet<int>> facesOfFile; // upper-cased path: face indexes
        QString cffFile;
        for (const QString& line : QString::fromUtf8(listed.out).split(u'\n', Qt::SkipEmptyParts)) {
            const QStringList fields = line.split(u'\t');
            const QString format = fields.value(2);
            const int index = fields.value(1).toInt();
            // Named instances of a variable font are one face with it.
            if ((format != u"TrueType" && format != u"CFF") || index >= 0x10000)
                continue;
            facesOfFile[fields[0].toUpper()].insert(index);
            if (format == u"CFF" && fields[0].endsWith(QStringLiteral(".otf")))
                cffFile = fields[0];
        }
        if (cffFile.isEmpty())
            QSKIP("no OpenType CFF font is installed (fonts-urw-base35, fonts-noto-cjk)");
        if (Tzind({ "faces", "--all-formats", cffFile }).exitCode != 0)
            QSKIP("this build's font reader names TrueType outlines only (the reader of the wider formats is not in)");
        const ProcessResult added = Tzind({ "add", "--installed", "-f", "all", "--all-formats" });
        QCOMPARE(added.exitCode, 0);
        QMap<QString, int> rowsOfFile;
        for (const QString& row : QString::fromUtf8(added.out).split(u'\n', Qt::SkipEmptyParts).mid(4))
            ++rowsOfFile[row.section(u'\t', 3, 3)];
        QMap<QString, int> expected;
        for (auto it = facesOfFile.cbegin(); it != facesOfFile.cend(); ++it)
            expected[it.key()] = int(it.value().size());
        QCOMPARE(rowsOfFile, expected);
    }
};

QTEST_GUILESS_MAIN(TzindFormatsTest)
#include "test_tzind_formats.moc"
