// tzind sample as a user runs it: the output folder, the exit statuses, the
// lock held by another run, and a full disk.
#include "ArchiveZipWriter.h"
#include "SampleSupport.h"
#include "SettingsPrivateFonts.h"
#include "SfntWriter.h"
#include "TestSupport.h"
#include "fontlist/FontList.h"
#include "fontlist/ListFile.h"
#include "sample/RunLock.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace tz;
using namespace tz::test;

class TestTzindSample : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

    QString Out(const QString& name) const { return dir_.filePath(name); }

    static QByteArray ReadAll(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void pagesIndexAndLog()
    {
        const ProcessResult run = RunProcess(BinPath("tzind"),
            { "sample", "--no-printer", "-o", Out("png"), kDejaVuSans, kDejaVuSerif, kIpaPGothic });
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(QDir(Out("png")).entryList(QDir::Files), (QStringList { "index.tsv", "log.txt", "tzsm0001.png" }));
        const QList<QByteArray> lines = ReadAll(Out("png/index.tsv")).split('\n');
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[0], QByteArray("000100094\t0\tDejaVu Sans"));
        QVERIFY(lines[2].endsWith("\tIPA Pゴシック"));
        QVERIFY(lines[3].isEmpty());
        const QImage page(Out("png/tzsm0001.png"));
        QCOMPARE(page.size(), QSize(1122, 793)); // landscape: no printer is installed
        QVERIFY(ReadAll(Out("png/log.txt")).isEmpty());
    }

    void bmpPagesAreThePageFilesDecompressed()
    {
        QCOMPARE(RunProcess(BinPath("tzind"), { "sample", "--no-printer", "--format", "tzg", "-o", Out("tzg"), kDejaVuSans })
                     .exitCode,
            0);
        QCOMPARE(RunProcess(BinPath("tzind"), { "sample", "--no-printer", "--format", "bmp", "--preview-dpi", "72", "-o",
                                                  Out("bmp"), kDejaVuSans })
                     .exitCode,
            0);
        QVERIFY(QFile::exists(Out("tzg/0001.tzg")));
        const QImage page(Out("bmp/tzsm0001.bmp"), "BMP");
        QCOMPARE(page.depth(), 1);
        QCOMPARE(page.size(), QSize(841, 595));
    }

    void rowsThatWereNotDrawnGiveStatus3()
    {
        const QString listFile = Out("list.tzl");
        // A list naming a file that went missing since it was saved.
        FontList list;
        list.AddEntry("Gone", "Gone", "/NO/SUCH/GONE.TTF", {}, "100", 0);
        QVERIFY(WriteListFile(list, listFile));
        const ProcessResult run = RunProcess(BinPath("tzind"), { "sample", "-o", Out("partial"), listFile, kDejaVuSans });
        QCOMPARE(run.exitCode, 3);
        QVERIFY(run.err.contains("[ｴﾗｰ] Gone(GONE.TTF)が利用できませんでした．"));
        QVERIFY(ReadAll(Out("partial/log.txt")).contains("Gone(GONE.TTF)"));
        QCOMPARE(ReadAll(Out("partial/index.tsv")).count('\n'), 1);
    }

    // Real fonts among hostile rows: a face whose cmap lists no subtables, a
    // collection of thousands of faces with huge names, a FIFO and /dev/zero
    // named as fonts, and a ZIP member in a row written on Windows. The run
    // ends in time, draws the real faces and logs the rest as unavailable.
    void hostileRows()
    {
        QVERIFY(QDir().mkpath(Out("hostile")));
        const QByteArray noCmap = WithTableFirst(
            RenamedFont(kDejaVuSans, "Hostile Cmap", "Hostile Cmap"), "cmap", QByteArray(4, '\0'));
        QVERIFY(WriteBytes(Out("hostile/nocmap.ttf"), noCmap));
        QVERIFY(WriteBytes(Out("hostile/bomb.ttc"), BuildNameBombCollection(1500, 32000, 0xFFFFFFFF)));
        QVERIFY(WriteZip(Out("hostile/win.zip"), { { "Fonts/Win.ttf", RenamedFont(kDejaVuSans, "Win Sans", "Win Sans") } }));
        QCOMPARE(::mkfifo(QFile::encodeName(Out("hostile/pipe.ttf")).constData(), 0600), 0);
        FontList list;
        list.AddEntry("Win Sans", "Win Sans", Out("hostile/win.zip"), "FONTS\\WIN.TTF", "100", 0);
        list.AddEntry("Pipe", "Pipe", Out("hostile/pipe.ttf"), {}, "100", 0);
        list.AddEntry("Zero", "Zero", "/dev/zero", {}, "100", 0);
        QVERIFY(WriteListFile(list, Out("hostile/rows.tzl")));
        const ProcessResult run = RunProcess(BinPath("tzind"),
            { "sample", "--no-printer", "-o", Out("hostile-out"), kDejaVuSans, Out("hostile/nocmap.ttf"),
                Out("hostile/bomb.ttc"), Out("hostile/rows.tzl"), kIpaPGothic },
            {}, 60000);
        QCOMPARE(run.exitCode, 3);
        const QByteArray index = ReadAll(Out("hostile-out/index.tsv"));
        QVERIFY(index.contains("\tDejaVu Sans\n"));
        QVERIFY(index.contains("\tWin Sans\n"));
        QVERIFY(index.contains("\tIPA Pゴシック\n"));
        const QString log = QString::fromUtf8(ReadAll(Out("hostile-out/log.txt")));
        QVERIFY(log.contains("Pipe(pipe.ttf)が利用できませんでした"));
        QVERIFY(log.contains("Zero(zero)が利用できませんでした"));
        QVERIFY(!log.contains("Win Sans"));
    }

    void anotherRunHoldsTheLock()
    {
        RunLock other;
        QVERIFY(other.TryAcquire());
        const ProcessResult run = RunProcess(BinPath("tzind"), { "sample", "-o", Out("busy"), kDejaVuSans });
        QCOMPARE(run.exitCode, 4);
        QCOMPARE(QDir(Out("busy")).entryList(QDir::Files), QStringList { "log.txt" });
        QCOMPARE(ReadAll(Out("busy/log.txt")),
            QStringLiteral("[中断] 他のTyposcanが実行中です．本Typoscanの実行を中止しました．\n").toUtf8());
    }

    // Files may not grow beyond 4 KiB: the page can't be written, which is
    // a file error of the run and an output that was not written.
    void aFullDiskIsAFileError()
    {
        const ProcessResult run = RunProcess("/bin/sh",
            { "-c", "trap '' XFSZ; ulimit -f 8; exec \"$0\" sample --no-printer --preview-dpi 300 -o \"$1\" \"$2\"",
                BinPath("tzind"), Out("full"), kDejaVuSans });
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.err.contains("[中断]ファイルエラーが発生しました．"));
        QVERIFY(run.err.contains("cannot write " + QFile::encodeName(Out("full/tzsm0001.png"))));
        QVERIFY(!QFile::exists(Out("full/tzsm0001.png")));
    }

    // The settings in force are read, never written.
    void settingsAreReadOnly()
    {
        const QString missing = Out("none/Typoscan.reg");
        QCOMPARE(RunProcess(BinPath("tzind"), { "sample", "-o", Out("s1"), kDejaVuSans }, { "TYPOSCAN_SETTINGS=" + missing })
                     .exitCode,
            0);
        QVERIFY(!QFile::exists(missing));
        const QString settings = Out("portrait.reg");
        const QByteArray content = "[HKEY_CURRENT_USER\\Software\\Quillmoor\\Typoscan\\Common\\Settings\\Set1]\r\n"
                                   "\"Name\"=\"A4\"\r\n\"Bind\"=dword:00000000\r\n\"Orientation\"=dword:00000000\r\n"
                                   "\"PRT\"=\"\"\r\n\"Size\"=dword:00000009\r\n\"MarginL\"=dword:00000023\r\n"
                                   "\"MarginT\"=dword:00000019\r\n\"MarginR\"=dword:0000000d\r\n\"MarginB\"=dword:00000023\r\n";
        QVERIFY(WriteBytes(settings, content));
        QCOMPARE(RunProcess(BinPath("tzind"), { "sample", "-o", Out("s2"), kDejaVuSans }, { "TYPOSCAN_SETTINGS=" + settings })
                     .exitCode,
            0);
        QCOMPARE(QImage(Out("s2/tzsm0001.png")).size(), QSize(793, 1122));
        QCOMPARE(ReadAll(settings), content);
    }

    // The pages, the index and the log are the same with one thread and
    // with several; --jobs, else the settings' value, sets their number.
    void theWorkersChangeNoOutput()
    {
        const QString settings = Out("workers.reg");
        QVERIFY(WriteBytes(settings,
            "[HKEY_CURRENT_USER\\Software\\Quillmoor\\Typoscan\\Zindel\\Sample]\r\n\"Workers\"=dword:00000003\r\n"));
        const QStringList fonts { kDejaVuSans, kIpaPGothic, kDejaVuSerif, kDejaVuSans, kIpaPGothic, kDejaVuSerif,
            kDejaVuSans, kIpaPGothic, kDejaVuSerif, kDejaVuSans };
        for (const char* format : { "png", "bmp", "tzg" }) {
            auto run = [&](const QStringList& jobs, const QString& out) {
                return RunProcess(BinPath("tzind"),
                    QStringList { "sample", "--no-printer", "--stats", "--format", format, "-o", Out(out) } + jobs + fonts,
                    { "TYPOSCAN_SETTINGS=" + settings });
            };
            const QString one = QStringLiteral("one-%1").arg(format);
            const QString many = QStringLiteral("many-%1").arg(format);
            const ProcessResult single = run({ "--jobs", "1" }, one);
            const ProcessResult fromSettings = run({}, many);
            QCOMPARE(single.exitCode, 0);
            QCOMPARE(fromSettings.exitCode, 0);
            QVERIFY(single.err.contains("workers 1\n"));
            QVERIFY(fromSettings.err.contains("workers 3\n"));
            const QStringList files = QDir(Out(one)).entryList(QDir::Files);
            QVERIFY(files.size() >= 4); // at least two pages, the index and the log
            QCOMPARE(QDir(Out(many)).entryList(QDir::Files), files);
            for (const QString& file : files)
                QVERIFY2(ReadAll(Out(one + "/" + file)) == ReadAll(Out(many + "/" + file)), qPrintable(file));
        }
    }

    void usage()
    {
        QCOMPARE(RunProcess(BinPath("tzind"), { "sample", kDejaVuSans }).exitCode, 2);
        QCOMPARE(RunProcess(BinPath("tzind"), { "sample", "--format", "gif", "-o", Out("x"), kDejaVuSans }).exitCode, 2);
        QCOMPARE(RunProcess(BinPath("tzind"), { "sample", "--jobs", "0", "-o", Out("x"), kDejaVuSans }).exitCode, 2);
        QVERIFY(WriteBytes(Out("file"), "x"));
        const ProcessResult run = RunProcess(BinPath("tzind"), { "sample", "-o", Out("file/sub"), kDejaVuSans });
        QCOMPARE(run.exitCode, 2);
    }
};

int main(int argc, char** argv)
{
    QTemporaryDir root;
    const PrivateFonts fonts = UsePrivateFonts(root.filePath(QStringLiteral("fc")), { kIpaPGothic });
    Q_UNUSED(fonts);
    QCoreApplication app(argc, argv);
    TestTzindSample test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_tzindsample.moc"
