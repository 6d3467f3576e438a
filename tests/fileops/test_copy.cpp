#include "DialogHelpers.h"
#include "FileOpsFixtures.h"
#include "app/Application.h"
#include "app/MainWindow.h"
#include "fileops/CopyRun.h"
#include "fileops/CopyWindow.h"
#include "fontlist/FontList.h"
#include "platform/WorkFolder.h"

#include <QFileDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
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
            QStringList({ "Lost Face(" + list.Entry(0).FilePath + ")が展開できませんでした.",
                "Broken Faceがコピーできませんでした." }));
        // The member's folder part is dropped; nothing is written beside the
        // chosen folder, and the failed copy leaves no partial file.
        QCOMPARE(FolderNames(out), QStringList({ "Escape.TTF" }));
        QCOMPARE(FolderNames(dir_.filePath("out-fail")), QStringList({ "inner" }));
        QVERIFY(list.IsSelected(0) && !list.IsSelected(1) && list.IsSelected(2));
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
