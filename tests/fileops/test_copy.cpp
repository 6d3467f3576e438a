#include "DialogHelpers.h"
#include "FileOpsFixtures.h"
#include "WiderArchives.h"
#include "TestSupport.h"
#include "app/Application.h"
#include "app/MainWindow.h"
#include "archive/Archivettf.h"
#include "fileops/CopyRun.h"
#include "fileops/CopyWindow.h"
#include "fontlist/FontList.h"
#include "fontlist/ListFile.h"
#include "platform/WorkFolder.h"

#include <QFileDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>
#include <unistd.h>

using namespace tz;
using namespace tz::test;

// Copying the files behind the selected rows: one copy per file, archive
// members and Macintosh fonts, names, the name prompt, free space, Stop and
// failures; then the whole command from the main window.
class CopyTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    WorkFolder work_;
    QByteArray font_ = TestFont(QStringLiteral("Alpha"));

    QString Source(const QString& name, const QByteArray& bytes)
    {
        return WriteFile(dir_.filePath("src/" + name), bytes);
    }
    QString FreshFolder(const QString& name)
    {
        QDir(dir_.filePath(name)).removeRecursively();
        QDir().mkpath(dir_.filePath(name));
        return dir_.filePath(name);
    }
    static void Add(FontList& list, const QString& path, const QString& member = {}, int kind = kKindSingle,
        const QString& face = QStringLiteral("Alpha Regular"))
    {
        list.AddEntry(face, QStringLiteral("Alpha"), path, member, QStringLiteral("100"), kind);
    }
    CopyRun MakeRun(FontList& list, const QString& destination)
    {
        CopyRun run(list, work_.Path());
        run.Destination = destination;
        return run;
    }

private slots:
    void oneFilePerKey()
    {
        const QString ttc = Source("pair.ttc", BuildCollection({ { WindowsName(4, "A") }, { WindowsName(4, "B") } }));
        const QString zip = GeneratedZip(
            dir_.filePath("src"), "pack.zip", { { "Fonts/one.ttf", TestFont("One") }, { "Two.TTF", TestFont("Two") } });
        FontList list;
        Add(list, ttc, {}, kKindCollection);
        Add(list, ttc, {}, kKindCollection);
        Add(list, zip, "FONTS/ONE.TTF");
        Add(list, zip, "TWO.TTF");
        const QString out = FreshFolder("out-keys");
        CopyRun run = MakeRun(list, out);
        run.Run();
        QVERIFY(run.Messages().isEmpty());
        // Names as on disk and in the archive; the extracted members are gone.
        QCOMPARE(FolderNames(out), QStringList({ "Two.TTF", "one.ttf", "pair.ttc" }));
        // Nothing beyond what a fresh work folder holds (its ownership mark).
        QCOMPARE(FolderNames(work_.Path()), FolderNames(WorkFolder().Path()));
        QCOMPARE(list.SelectedCount(), 1);
        QVERIFY(list.IsSelected(1));
        QCOMPARE(run.CopiedFiles(), 3);
    }

    void targetNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("setting");
        QTest::addColumn<QString>("expected");
        QTest::newRow("suitcase on") << "SUITCASE" << 2 << true << "SUITCASE.ttf";
        QTest::newRow("suitcase off") << "SUITCASE" << 2 << false << "SUITCASE";
        QTest::newRow("mac collection") << "Pack" << 3 << true << "Pack.ttc";
        QTest::newRow("otf") << "Face.OTF" << 0 << true << "Face.OTF.ttf";
        QTest::newRow("ttf kept") << "face.ttf" << 0 << true << "face.ttf";
        QTest::newRow("ttc kept") << "face.Ttc" << 1 << true << "face.Ttc";
    }

    void targetNames()
    {
        QFETCH(QString, name);
        QFETCH(int, kind);
        QFETCH(bool, setting);
        QFETCH(QString, expected);
        QCOMPARE(TargetFileName(name, kind, setting), expected);
    }

    // With the wider set of formats a file of one of its formats keeps its
    // own name; without it the designed rule appends ".ttf" as before.
    void targetNamesOfTheWiderFormats_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("designed");
        QTest::addColumn<QString>("all");
        QTest::newRow("woff2") << "Face.woff2" << 0 << "Face.woff2.ttf" << "Face.woff2";
        QTest::newRow("WOFF") << "FACE.WOFF" << 0 << "FACE.WOFF.ttf" << "FACE.WOFF";
        QTest::newRow("otf") << "Face.otf" << 0 << "Face.otf.ttf" << "Face.otf";
        QTest::newRow("otc") << "Noto.otc" << 1 << "Noto.otc.ttf" << "Noto.otc";
        QTest::newRow("dfont of two faces") << "Mac.dfont" << 3 << "Mac.dfont.ttc" << "Mac.dfont";
        QTest::newRow("suitcase without extension") << "SUITCASE" << 2 << "SUITCASE.ttf" << "SUITCASE.ttf";
    }
    void targetNamesOfTheWiderFormats()
    {
        QFETCH(QString, name);
        QFETCH(int, kind);
        QTEST(TargetFileName(name, kind, true, FontFormats::Designed), "designed");
        QTEST(TargetFileName(name, WrittenKind(name, kind, FontFormats::All), true, FontFormats::All), "all");
    }

    void widerFormatsAreCopiedAsTheyAre()
    {
        LoadArchiverLibraries();
        const QByteArray woff2("wOF2 not looked at by copying");
        const QByteArray dfont("a data-fork suitcase, no MacBinary header");
        const QString woff2File = Source("Face.woff2", woff2);
        const QString dfontFile = Source("Mac.dfont", dfont);
        const QString rar = Source("pack.rar", StoredRar({ { "fonts/Inner.woff2", woff2 } }));
        FontList list;
        Add(list, woff2File);
        Add(list, dfontFile, {}, kKindMac);
        Add(list, rar, "FONTS/INNER.WOFF2");
        const QString out = FreshFolder("out-wider");
        CopyRun run = MakeRun(list, out);
        run.Formats = FontFormats::All;
        run.Run();
        QVERIFY2(run.Messages().isEmpty(), qPrintable(run.Messages().join(u'\n')));
        QCOMPARE(FolderNames(out), (QStringList { "Face.woff2", "Inner.woff2", "Mac.dfont" }));
        for (const auto& [name, bytes] : { std::pair { "Face.woff2", woff2 }, std::pair { "Inner.woff2", woff2 },
                 std::pair { "Mac.dfont", dfont } }) {
            QFile copy(out + u'/' + QLatin1String(name));
            QVERIFY(copy.open(QIODevice::ReadOnly));
            QCOMPARE(copy.readAll(), bytes);
        }
        QCOMPARE(list.SelectedCount(), 0);

        // Without the wider set the designed rules hold: the name gains
        // ".ttf", a Macintosh row is taken out of a MacBinary file, which a
        // data-fork suitcase is not, and a RAR archive is no archive.
        list.SelectAll();
        const QString designed = FreshFolder("out-designed");
        CopyRun plain = MakeRun(list, designed);
        plain.Run();
        QCOMPARE(FolderNames(designed), QStringList { "Face.woff2.ttf" });
        QCOMPARE(plain.Messages(),
            (QStringList { QStringLiteral("Alpha Regularがコピーできませんでした."),
                QStringLiteral("Alpha Regular(%1)が展開できませんでした.").arg(rar) }));
    }

    void macintoshFontWrittenAsTrueType()
    {
        MacBinarySpec spec;
        spec.font = font_;
        const QString suitcase = Source("SUITCASE", BuildMacBinary(spec));
        const QDateTime old = QDateTime(QDate(2001, 2, 3), QTime(4, 5, 6));
        QFile touched(suitcase);
        QVERIFY(touched.open(QIODevice::ReadOnly) && touched.setFileTime(old, QFileDevice::FileModificationTime));
        touched.close();
        QFile::setPermissions(suitcase, QFile::ReadOwner | QFile::ReadGroup);
        for (bool setting : { true, false }) {
            FontList list;
            Add(list, suitcase, {}, kKindMac);
            const QString out = FreshFolder("out-mac");
            CopyRun run = MakeRun(list, out);
            run.AddExtension = setting;
            run.Run();
            const QString name = setting ? "SUITCASE.ttf" : "SUITCASE";
            QCOMPARE(FolderNames(out), QStringList { name });
            QFile copy(out + "/" + name);
            QVERIFY(copy.open(QIODevice::ReadOnly));
            QCOMPARE(copy.readAll(), font_);
            QCOMPARE(QFileInfo(copy).lastModified(), old);
            QVERIFY(QFileInfo(copy).permissions() & QFile::WriteOwner);
        }
    }

    void existingTargetAsksForName()
    {
        const QString a = Source("a.ttf", font_);
        const QString b = Source("b.ttf", font_);
        const QString out = FreshFolder("out-exists");
        WriteFile(out + "/a.ttf", "mine");
        WriteFile(out + "/b.ttf", "mine too");
        FontList list;
        Add(list, a);
        Add(list, b);
        CopyRun run = MakeRun(list, out);
        QStringList asked;
        run.AskTargetName = [&](const QString& target) -> std::optional<QString> {
            asked << target;
            if (target.endsWith("a.ttf"))
                return std::nullopt; // cancelled: that row only is skipped
            return out + "/b2.ttf";
        };
        run.Run();
        QCOMPARE(asked, QStringList({ out + "/a.ttf", out + "/b.ttf" }));
        QVERIFY(run.Messages().isEmpty());
        QVERIFY(list.IsSelected(0));
        QVERIFY(!list.IsSelected(1));
        QCOMPARE(FolderNames(out), QStringList({ "a.ttf", "b.ttf", "b2.ttf" }));
        QFile kept(out + "/a.ttf");
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("mine"));

        // Without anyone to ask, an existing target is left alone and noted.
        list.SelectAll();
        CopyRun quiet = MakeRun(list, out);
        quiet.Run();
        QCOMPARE(quiet.KeptTargets(), QStringList({ out + "/a.ttf", out + "/b.ttf" }));
        QCOMPARE(list.SelectedCount(), 2);
    }

    void freeSpace()
    {
        const QString a = Source("a.ttf", font_);
        FontList list;
        Add(list, a);
        Add(list, Source("c.ttf", font_));
        const QString out = FreshFolder("out-space");
        CopyRun roomy = MakeRun(list, out);
        roomy.FreeBytes = [](const QString&) { return std::optional<qint64>(5LL << 30); };
        roomy.Run();
        QVERIFY(roomy.Messages().isEmpty());
        QCOMPARE(roomy.CopiedFiles(), 2);

        list.SelectAll();
        const QString full = FreshFolder("out-full");
        CopyRun cramped = MakeRun(list, full);
        cramped.FreeBytes = [](const QString&) { return std::optional<qint64>(10); };
        cramped.Run();
        QCOMPARE(cramped.Messages(), QStringList({ kNoFreeSpace, kCopyAbandoned }));
        QCOMPARE(FolderNames(full), QStringList());
        QCOMPARE(list.SelectedCount(), 2);
    }

    void stopEndsBeforeTheNextRow()
    {
        FontList list;
        for (const char* name : { "s1.ttf", "s2.ttf", "s3.ttf" })
            Add(list, Source(name, font_));
        const QString out = FreshFolder("out-stop");
        CopyRun run = MakeRun(list, out);
        run.Status = [&](const QString& name) {
            if (name == u"s2.ttf")
                run.Stop();
        };
        run.Run();
        QCOMPARE(run.Messages().last(), kCopyStopped);
        QCOMPARE(FolderNames(out), QStringList({ "s1.ttf", "s2.ttf" }));
        QCOMPARE(list.SelectedCount(), 1);
    }

    void failuresAreReported()
    {
        const QString zip
            = GeneratedZip(dir_.filePath("src"), "lost.zip", { { "../../Escape.TTF", font_ }, { "kept.ttf", font_ } });
        FontList list;
        Add(list, zip, "MISSING.TTF", kKindSingle, "Lost Face");
        Add(list, zip, "../../ESCAPE.TTF");
        MacBinarySpec broken;
        broken.font = font_;
        QByteArray bytes = BuildMacBinary(broken);
        bytes.truncate(140);
        Add(list, Source("BROKEN", bytes), {}, kKindMac, "Broken Face");
        const QString out = FreshFolder("out-fail/inner");
        CopyRun run = MakeRun(list, out);
        run.Run();
        QCOMPARE(run.Messages(),
            QStringList({ "Lost Face(" + zip + ")が展開できませんでした.", // the archive's path as on disk
                "Broken Faceがコピーできませんでした." }));
        // The member's folder part is dropped; nothing is written beside the
        // chosen folder, and the failed copy leaves no partial file.
        QCOMPARE(FolderNames(out), QStringList({ "Escape.TTF" }));
        QCOMPARE(FolderNames(dir_.filePath("out-fail")), QStringList({ "inner" }));
        QVERIFY(list.IsSelected(0) && !list.IsSelected(1) && list.IsSelected(2));
    }

    // Lists written on Windows separate a member's folders with "\\"; the
    // member is found all the same, in every kind of archive.
    void windowsMemberNames_data()
    {
        QTest::addColumn<QString>("archive");
        QTest::addColumn<QString>("member");
        QTest::addColumn<QString>("copied");
        QTest::addColumn<bool>("library");
        QTest::newRow("zip, built-in") << "fonts.zip" << "FONTS\\ABC.TTF" << "ABC.TTF" << false;
        QTest::newRow("zip, library") << "fonts.zip" << "FONTS\\ABC.TTF" << "ABC.TTF" << true;
        QTest::newRow("lzh") << "fonts.lzh" << "FONTS\\ABC.TTF" << "ABC.TTF" << true;
        QTest::newRow("cab") << "fonts.cab" << "SUB\\FONT.TTF" << "font.ttf" << true;
    }
    void windowsMemberNames()
    {
        QFETCH(QString, archive);
        QFETCH(QString, member);
        QFETCH(bool, library);
        // Without the library ZIP falls back to the built-in reader.
        qputenv("TYPOSCAN_ARCHIVER_LIBRARY", library ? QByteArray() : QByteArray("libtyposcan-missing.so.0"));
        LoadArchiverLibraries();
        FontList list;
        Add(list, DataPath("archive/" + archive), member);
        const QString out = FreshFolder("out-windows");
        CopyRun run = MakeRun(list, out);
        run.Run();
        qunsetenv("TYPOSCAN_ARCHIVER_LIBRARY");
        LoadArchiverLibraries();
        QVERIFY(run.Messages().isEmpty());
        QTEST(FolderNames(out).value(0), "copied");
    }

    // A FIFO would block the copy for ever and /dev/zero would fill the
    // folder: both count as missing, and nothing is left behind.
    void filesThatAreNotRegularAreMissing()
    {
        const QString fifo = dir_.filePath("src/pipe.ttf");
        QDir().mkpath(dir_.filePath("src"));
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        FontList list;
        Add(list, fifo, {}, kKindSingle, "Pipe");
        Add(list, "/dev/zero", {}, kKindSingle, "Zero");
        const QString listFile = dir_.filePath("devices.tzl");
        QVERIFY(WriteListFile(list, listFile));
        const QString out = FreshFolder("out-devices");
        const ProcessResult copy = RunProcess(BinPath("tzind"), { "copy", "-o", out, listFile }, {}, 20000);
        QCOMPARE(copy.exitCode, 3);
        QVERIFY(copy.err.contains("Pipe"));
        QVERIFY(copy.err.contains("Zero"));
        QCOMPARE(FolderNames(out), QStringList());
        ::unlink(QFile::encodeName(fifo).constData());
    }

    void readOnlyDestination()
    {
        if (::geteuid() == 0)
            QSKIP("file permissions do not bind the super-user");
        FontList list;
        Add(list, Source("a.ttf", font_));
        const QString out = FreshFolder("out-readonly");
        QFile::setPermissions(out, QFile::ReadOwner | QFile::ExeOwner);
        CopyRun run = MakeRun(list, out);
        run.Run();
        QFile::setPermissions(out, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(run.Messages(), QStringList({ "Alpha Regularがコピーできませんでした." }));
        QCOMPARE(FolderNames(out), QStringList());
    }

    void namePromptCancelled()
    {
        FontList list;
        Add(list, Source("p.ttf", font_));
        const QString out = FreshFolder("out-prompt");
        WriteFile(out + "/p.ttf", "mine");
        CopyWindow window(list, work_.Path());
        QString suggested;
        ModalWatcher dialogs([&](QWidget* w) {
            if (auto* dialog = qobject_cast<QFileDialog*>(w)) {
                QCOMPARE(dialog->objectName(), QStringLiteral("SaveDialog1"));
                QCOMPARE(dialog->nameFilters().first(), QStringLiteral("TrueTypeファイル (*.ttf *.ttc *.mtt)"));
                suggested = dialog->selectedFiles().value(0);
                QMetaObject::invokeMethod(dialog, "reject", Qt::QueuedConnection);
            }
        });
        window.Copy(out, true);
        QCOMPARE(suggested, out + "/p.ttf");
        QVERIFY(window.Messages().isEmpty());
        QVERIFY(list.IsSelected(0));
        QVERIFY(!window.isVisible());
    }

    void copyCommand()
    {
        AppWindows windows;
        auto main = CreateWindows(windows, false);
        main->show();
        Add(main->List(), Source("m1.ttf", font_));
        Add(main->List(), dir_.filePath("src/gone.ttf"), {}, kKindSingle, "Gone Face");
        const QString out = FreshFolder("out-window");
        main->UpdateCommandStates();
        QVERIFY(main->CommandEnabled("tmnCopy"));
        MessageBoxAnswerer answerer;
        QString copyCaption;
        ModalWatcher dialogs([&](QWidget* w) {
            if (auto* dialog = qobject_cast<QFileDialog*>(w)) {
                QCOMPARE(dialog->objectName(), QStringLiteral("SelectFolderDialog2"));
                QCOMPARE(dialog->windowTitle(), QStringLiteral("TrueTypeフォントのコピー先フォルダを指定して下さい"));
                dialog->setDirectory(out);
                dialog->selectFile(out);
                QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
            } else if (w->objectName() == u"TForm9") {
                copyCaption = w->windowTitle();
            }
        });
        main->tmnCopyClick();
        QCOMPARE(copyCaption, QStringLiteral("Copy TrueType Files..."));
        QCOMPARE(FolderNames(out), QStringList({ "m1.ttf" }));
        QCOMPARE(answerer.Count(), 1);
        QCOMPARE(answerer.Last().title, QStringLiteral("Typoscan Zindel"));
        QCOMPARE(answerer.Last().text, QStringLiteral("Gone Faceがコピーできませんでした."));
        QCOMPARE(main->List().SelectedCount(), 1);
        QVERIFY(main->List().IsSelected(1));
    }
};

QTEST_MAIN(CopyTest)
#include "test_copy.moc"
