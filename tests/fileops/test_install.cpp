#include "FileOpsFixtures.h"
#include "TestSupport.h"
#include "WiderArchives.h"
#include "archive/Archivettf.h"
#include "fileops/FontInstaller.h"
#include "fileops/InstallWizard.h"
#include "fileops/SelectionSummary.h"
#include "fontfile/InstalledFontFiles.h"
#include "fontlist/FontList.h"
#include "platform/PathResolver.h"
#include "platform/WorkFolder.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace tz;
using namespace tz::test;

// Installing into a private XDG data folder, with fontconfig listing the
// result; the wizard's summary and pages; tzind copy and tzind install.
class InstallTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    WorkFolder work_;
    QByteArray realFont_; // a font fontconfig reads: a copy of an installed one

    QString Path(const QString& relative) const { return dir_.filePath(relative); }
    static QString FontsFolder() { return InstalledFontFiles::FontsFolder(); }
    static void Add(FontList& list, const QString& path, const QString& member = {}, int kind = kKindSingle,
        const QString& size = QStringLiteral("100"))
    {
        list.AddEntry(QStringLiteral("Face"), QStringLiteral("Family"), path, member, size, kind);
    }
    static QStringList FontconfigFiles()
    {
        QProcess list;
        list.start(QStringLiteral("fc-list"), { QStringLiteral(":"), QStringLiteral("file") });
        list.waitForFinished(60000);
        return QString::fromUtf8(list.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    }
    static QString Text(const QStringList& lines) { return lines.join(u'\n'); }

private slots:
    void initTestCase()
    {
        InstalledFontFiles installed;
        QVERIFY(installed.Refresh());
        for (const QString& path : installed.Paths()) {
            QFile file(ResolvePath(path));
            if (path.endsWith(u".TTF") && file.open(QIODevice::ReadOnly)) {
                realFont_ = file.readAll();
                break;
            }
        }
        QVERIFY(!realFont_.isEmpty());
        QDir().mkpath(Path("src"));
    }

    void init() { QDir(FontsFolder()).removeRecursively(); }

    void summaryCounts()
    {
        FontList list;
        for (int i = 0; i < 3; ++i)
            Add(list, "/f/BIG.TTC", {}, kKindCollection, "10485760");
        QCOMPARE(Text(InstallSummaryLines(SummarizeSelection(list), { false, true, "/home/u/fonts" })),
            QStringLiteral("標準インストール\nをおこないます．\n\nインストールフォルダは，\n/home/u/fonts\nです．\n\n"
                           "3 書体 1ファイル 10.00MBが選択中です．\n\n次の書体がインストールされます．\n---\n"
                           "BIG.TTC\nBIG.TTC\nBIG.TTC\n---"));

        FontList zip;
        Add(zip, "/f/P.ZIP", "A.TTF");
        Add(zip, "/f/P.ZIP", "B.TTF");
        const SelectionSummary members = SummarizeSelection(zip);
        QCOMPARE(members.Files, 2);
        QCOMPARE(members.FaceLines, QStringList({ "Face(A.TTF)", "Face(B.TTF)" }));
        const QStringList copied = InstallSummaryLines(members, { true, true, "/x" });
        QCOMPARE(copied.first(), QStringLiteral("カスタムインストール(コピーしてインストール)"));
        QVERIFY(copied.contains("書庫ファイルが含まれています．"));
        QVERIFY(!copied.contains("いくつかのファントファイルはインストールできません．"));
        const QStringList linked = InstallSummaryLines(members, { true, false, "/x" });
        QCOMPARE(linked.first(), QStringLiteral("カスタムインストール(コピーせずにインストール)"));
        QVERIFY(linked.contains("書庫ファイルが含まれています．"));
        QVERIFY(linked.contains("いくつかのファントファイルはインストールできません．"));
        QVERIFY(!linked.contains("インストールフォルダは，"));
    }

    // With the wider set of formats a file of one of them is installed
    // under its own name, from a RAR archive too; a data-fork suitcase is
    // copied as it is and may even be linked.
    void widerFormatsKeepTheirNames()
    {
        LoadArchiverLibraries();
        const QString otf = WriteFile(Path("wider/Real.otf"), realFont_);
        const QString rar = Path("wider/pack.rar");
        WriteFile(rar, StoredRar({ { "Inner.woff2", realFont_ } }));
        const QString suitcase = WriteFile(Path("wider/Mac.dfont"), "a data-fork suitcase");
        FontList list;
        Add(list, otf);
        Add(list, rar, "INNER.WOFF2");
        Add(list, suitcase, {}, kKindMac);
        FontInstaller installer(list, work_.Path());
        installer.Formats = FontFormats::All;
        installer.RefreshFontCache = [](const QString&) { return 0; };
        const InstallResult result = installer.Run();
        QVERIFY2(result.Problems.isEmpty(), qPrintable(Text(result.Problems)));
        QCOMPARE(FolderNames(FontsFolder()), QStringList({ "Inner.woff2", "Mac.dfont", "Real.otf" }));

        QDir(FontsFolder()).removeRecursively();
        FontList linked;
        Add(linked, suitcase, {}, kKindMac);
        FontInstaller linker(linked, work_.Path());
        linker.Formats = FontFormats::All;
        linker.Method = InstallMethod::LinkInPlace;
        linker.RefreshFontCache = [](const QString&) { return 0; };
        QVERIFY(linker.Run().Problems.isEmpty());
        QCOMPARE(QFileInfo(FontsFolder() + "/Mac.dfont").symLinkTarget(), suitcase);
    }

    void standardInstall()
    {
        const QString plain = WriteFile(Path("src/Real.otf"), realFont_);
        const QString zip = GeneratedZip(Path("src"), "pack.zip", { { "fonts/Inner.ttf", realFont_ } });
        MacBinarySpec spec;
        spec.font = realFont_;
        const QString mac = WriteFile(Path("src/MACFONT"), BuildMacBinary(spec));
        FontList list;
        Add(list, plain);
        Add(list, plain);
        Add(list, zip, "FONTS/INNER.TTF");
        Add(list, mac, {}, kKindMac);
        FontInstaller installer(list, work_.Path());
        QStringList refreshed;
        installer.RefreshFontCache = [&](const QString& folder) {
            refreshed << folder;
            return FontInstaller::RunFcCache(folder);
        };
        const InstallResult result = installer.Run();
        QVERIFY2(result.Problems.isEmpty(), qPrintable(Text(result.Problems)));
        QCOMPARE(result.Installed, 3);
        QCOMPARE(FolderNames(FontsFolder()), QStringList({ "Inner.ttf", "MACFONT.ttf", "Real.otf.ttf" }));
        QCOMPARE(refreshed, QStringList { FontsFolder() });
        const QStringList listed = FontconfigFiles();
        for (const char* name : { "/Inner.ttf", "/MACFONT.ttf", "/Real.otf.ttf" })
            QVERIFY2(
                listed.contains(FontsFolder() + name + QStringLiteral(": ")) || listed.contains(FontsFolder() + name),
                name);
        // Nothing beyond what a fresh work folder holds (its ownership mark).
        QCOMPARE(FolderNames(work_.Path()), FolderNames(WorkFolder().Path()));

        // Again: the same content is there already; a different file of the
        // same name is left alone.
        WriteFile(FontsFolder() + "/MACFONT.ttf", "someone else's");
        refreshed.clear();
        const InstallResult again = installer.Run();
        QCOMPARE(again.Installed, 0);
        QCOMPARE(again.AlreadyInstalled, 2);
        QCOMPARE(
            again.Problems, QStringList { "MACFONT.ttf と同じ名前のファイルがあるためインストールしませんでした．" });
        QVERIFY(refreshed.isEmpty());
        // A font taken from the font folder itself is not copied beside itself.
        FontList installedRows;
        Add(installedRows, FontsFolder() + "/Real.otf.ttf");
        Add(installedRows, WriteFile(FontsFolder() + "/sub/Other.otf", realFont_));
        const InstallResult fromFolder = FontInstaller(installedRows, work_.Path()).Run();
        QCOMPARE(fromFolder.AlreadyInstalled, 2);
        QCOMPARE(fromFolder.Installed, 0);
        QVERIFY(!QFileInfo::exists(FontsFolder() + "/Other.otf.ttf"));
        QFile kept(FontsFolder() + "/MACFONT.ttf");
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("someone else's"));
    }

    void linkInPlaceAndCopyFolder()
    {
        const QString plain = WriteFile(Path("src/Linked.ttf"), realFont_);
        const QString zip = GeneratedZip(Path("src"), "skip.zip", { { "Skipped.ttf", realFont_ } });
        FontList list;
        Add(list, plain);
        Add(list, zip, "SKIPPED.TTF");
        FontInstaller installer(list, work_.Path());
        installer.RefreshFontCache = [](const QString&) { return 0; };
        installer.Method = InstallMethod::LinkInPlace;
        const InstallResult linked = installer.Run();
        QCOMPARE(linked.Installed, 1);
        QCOMPARE(linked.Problems, QStringList { "Face はコピーせずにインストールできません．" });
        QCOMPARE(QFileInfo(FontsFolder() + "/Linked.ttf").symLinkTarget(), plain);
        QCOMPARE(installer.Run().AlreadyInstalled, 1);

        installer.Method = InstallMethod::CopyToFolder;
        installer.Folder = Path("chosen/fonts");
        const InstallResult copied = installer.Run();
        QCOMPARE(copied.Installed, 2);
        QCOMPARE(FolderNames(Path("chosen/fonts")), QStringList({ "Linked.ttf", "Skipped.ttf" }));
    }

    void abortStopsAfterTheCurrentFile()
    {
        FontList list;
        for (const char* name : { "a1.ttf", "a2.ttf", "a3.ttf" })
            Add(list, WriteFile(Path("src/") + name, realFont_));
        FontInstaller installer(list, work_.Path());
        installer.RefreshFontCache = [](const QString&) { return 0; };
        QList<int> percents;
        installer.Progress = [&](int percent, const QString&) {
            percents << percent;
            if (percents.size() == 2)
                installer.Abort();
        };
        const InstallResult result = installer.Run();
        QVERIFY(result.Stopped);
        QCOMPARE(result.Installed, 1);
        QVERIFY(result.Log.contains("インストールを中止しました．"));
        QCOMPARE(percents, QList<int>({ 0, 33, 100 }));
    }

    void wizardPages()
    {
        FontList list;
        Add(list, WriteFile(Path("src/Wizard.ttf"), realFont_));
        InstallWizard wizard(list, work_.Path());
        wizard.show();
        wizard.ShowPage(1);
        auto click = [&](const char* name) { wizard.findChild<QPushButton*>(QString::fromLatin1(name))->click(); };
        click("btnNext1");
        QCOMPARE(wizard.CurrentPage(), 3);
        click("btnBack3");
        QCOMPARE(wizard.CurrentPage(), 1);
        wizard.findChild<QRadioButton*>("rbtnCustomize")->setChecked(true);
        click("btnNext1");
        QCOMPARE(wizard.CurrentPage(), 2);
        QCOMPARE(wizard.findChild<QLineEdit*>("edtCopyFolder")->text(), FontsFolder());
        click("btnNext2");
        QCOMPARE(wizard.CurrentPage(), 3);
        const QString summary = wizard.findChild<QPlainTextEdit*>("Memo3")->toPlainText();
        QVERIFY(summary.startsWith("カスタムインストール(コピーしてインストール)\nをおこないます．"));
        QVERIFY(summary.contains(FontsFolder()));
        click("btnBack3");
        QCOMPARE(wizard.CurrentPage(), 2);
        click("btnNext2");
        click("btnInstall");
        QCOMPARE(wizard.CurrentPage(), 4);
        QCOMPARE(wizard.findChild<QProgressBar*>("ProgressBar1")->value(), 100);
        QVERIFY(!wizard.findChild<QPushButton*>("btnBack4")->isEnabled());
        click("btnNext4");
        QCOMPARE(wizard.CurrentPage(), 5);
        QVERIFY(wizard.findChild<QPlainTextEdit*>("memoInstalledLog")
                    ->toPlainText()
                    .contains("Wizard.ttf をインストールしました．"));
        QVERIFY(QFileInfo::exists(FontsFolder() + "/Wizard.ttf"));
        click("Button5");
        QCOMPARE(wizard.CurrentPage(), 1);
        QVERIFY(!wizard.isVisible());
    }

    void tzindCopyAndInstall()
    {
        const QString font = WriteFile(Path("cli/Cli.ttf"), realFont_);
        const QString out = Path("cli-out");
        QDir().mkpath(out);
        ProcessResult first = RunProcess(BinPath("tzind"), { "copy", "-o", out, font });
        QCOMPARE(first.exitCode, 0);
        QCOMPARE(FolderNames(out), QStringList { "Cli.ttf" });
        ProcessResult second = RunProcess(BinPath("tzind"), { "copy", "-o", out, font });
        QCOMPARE(second.exitCode, 3);
        QVERIFY(second.err.contains("exists; left alone"));
        ProcessResult missing = RunProcess(BinPath("tzind"), { "copy", "-o", out, Path("cli/none.ttf") });
        QCOMPARE(missing.exitCode, 3);
        QVERIFY(QString::fromUtf8(missing.err).contains("none.ttf"));

        ProcessResult install = RunProcess(BinPath("tzind"), { "install", font });
        QCOMPARE(install.exitCode, 0);
        QVERIFY(QString::fromUtf8(install.out).contains("Cli.ttf をインストールしました．"));
        QVERIFY(QFileInfo::exists(FontsFolder() + "/Cli.ttf"));
        QVERIFY(FontconfigFiles().join(u'\n').contains(FontsFolder() + "/Cli.ttf"));
    }
};

QTEST_MAIN(InstallTest)
#include "test_install.moc"
