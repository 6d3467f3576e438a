#include "DialogHelpers.h"
#include "FileOpsFixtures.h"
#include "RecordingShell.h"
#include "app/Application.h"
#include "app/MainWindow.h"
#include "fileops/DocumentMenu.h"
#include "fileops/PropertiesWindow.h"
#include "fontfile/InstalledFontFiles.h"
#include "fontlist/FontList.h"
#include "platform/WorkFolder.h"

#include <QLabel>
#include <QTemporaryDir>
#include <QtTest>

using namespace tz;
using namespace tz::test;

// The documents of a font, opening fonts and folders, and the properties of
// the selection; what reaches the desktop is recorded by a test shell.
class DocumentsTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    WorkFolder work_;
    QByteArray font_ = TestFont(QStringLiteral("Alpha"));

    QString Path(const QString& relative) const { return dir_.filePath(relative); }
    static FontEntry Entry(const QString& path, const QString& member = {})
    {
        FontEntry entry;
        entry.FaceName = QStringLiteral("Alpha Regular");
        entry.FilePath = path.toUpper();
        entry.MemberName = member.toUpper();
        return entry;
    }
    static QStringList Shown(const DocumentMenu& menu)
    {
        QStringList shown;
        for (int i = 0; i < DocumentMenu::kItems; ++i) {
            if (menu.Item(i)->isVisible())
                shown << menu.Item(i)->text();
        }
        return shown;
    }
    struct Window {
        AppWindows windows;
        std::unique_ptr<MainWindow> main = CreateWindows(windows, false);
        FontList& List() { return main->List(); }
        void Add(const QString& path, const QString& member = {}, const QString& size = QStringLiteral("100"))
        {
            List().AddEntry(QStringLiteral("Alpha"), QStringLiteral("Alpha"), path, member, size, 0);
        }
    };

    // The labels of the properties window the command shows, if it shows it.
    static QStringList ShownProperties(MainWindow& main)
    {
        QStringList labels;
        ModalWatcher watcher([&](QWidget* window) {
            if (window->objectName() != u"TForm7")
                return;
            for (const char* name : { "lblFontCount", "lblFileCount", "lblFileSize", "lblFileSizeByte" })
                labels << window->findChild<QLabel*>(QString::fromLatin1(name))->text();
            labels << (window->findChild<QLabel*>(QStringLiteral("lblArchive"))->isVisibleTo(window) ? "archive" : "");
            QMetaObject::invokeMethod(window, "accept", Qt::QueuedConnection);
        });
        main.fmnPropertyClick();
        return labels;
    }

private slots:
    void initTestCase()
    {
        QDir().mkpath(Path("zips"));
        QDir().mkpath(Path("props"));
    }

    void iconsByExtension_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("icon");
        QTest::newRow("txt") << "A.TXT" << 0;
        QTest::newRow("doc") << "a.doc" << 1;
        QTest::newRow("wri") << "A.WRI" << 1;
        QTest::newRow("rtf") << "A.RTF" << 1;
        QTest::newRow("htm") << "A.HTM" << 2;
        QTest::newRow("html") << "a.Html" << 2;
        QTest::newRow("url") << "A.URL" << 3;
        QTest::newRow("diz") << "FILE_ID.DIZ" << 0;
        QTest::newRow("none") << "LICENSE" << 0;
    }

    void iconsByExtension()
    {
        QFETCH(QString, name);
        QFETCH(int, icon);
        QCOMPARE(DocumentIconIndex(name), icon);
    }

    void documentsBesideAFont()
    {
        const QString font = WriteFile(Path("beside/ABC.TTF"), font_);
        WriteFile(Path("beside/abc.txt"), "read me");
        WriteFile(Path("beside/ABC.HTM"), "<p>");
        WriteFile(Path("beside/README.TXT"), "other");
        WriteFile(Path("beside/ABCD.DOC"), "other");
        RecordingShell shell;
        DocumentMenu menu(work_.Path());
        menu.Fill(Entry(font));
        QCOMPARE(menu.Header()->text(), QStringLiteral("フォルダ内のドキュメント"));
        QVERIFY(!menu.Header()->isEnabled());
        QCOMPARE(Shown(menu), QStringList({ "abc.txt", "ABC.HTM" }));
        QVERIFY(menu.Item(0)->isEnabled());
        menu.Item(1)->trigger();
        QCOMPARE(shell.Opened, QStringList { Path("beside/ABC.HTM") });
    }

    void nothingToOffer()
    {
        DocumentMenu menu(work_.Path());
        menu.Fill(Entry(Path("nowhere/GONE.TTF")));
        QCOMPARE(menu.Header()->text(), QStringLiteral("ファイルが見つかりません"));
        QCOMPARE(Shown(menu), QStringList { "(なし)" });
        QVERIFY(!menu.Item(0)->isEnabled());
        QVERIFY(menu.Item(0)->icon().isNull());

        menu.Fill(Entry(WriteFile(Path("alone/LONE.TTF"), font_)));
        QCOMPARE(menu.Header()->text(), QStringLiteral("フォルダ内のドキュメント"));
        QCOMPARE(Shown(menu), QStringList { "(なし)" });
        QVERIFY(!menu.Item(0)->isEnabled());
    }

    void documentsInsideAnArchive()
    {
        QList<ZipEntry> entries { { "font.ttf", font_ } };
        for (int i = 1; i <= 10; ++i)
            entries << ZipEntry { QStringLiteral("docs/read%1.txt").arg(i).toUtf8(), "text" };
        const QString zip = GeneratedZip(Path("zips"), "ten.zip", entries);
        DocumentMenu menu(work_.Path());
        menu.Fill(Entry(zip, "font.ttf"));
        QCOMPARE(menu.Header()->text(), QStringLiteral("書庫ファイル内のドキュメント"));
        QCOMPARE(Shown(menu).size(), 8);
        QCOMPARE(Shown(menu).first(), QStringLiteral("docs/read1.txt"));
        QCOMPARE(Shown(menu).last(), QStringLiteral("docs/read8.txt"));

        RecordingShell shell;
        menu.Item(0)->trigger();
        QCOMPARE(shell.Opened, QStringList { work_.File("read1.txt") });
    }

    void extensionlessMemberOpensAsText()
    {
        const QString zip = GeneratedZip(Path("zips"), "licensed.zip",
            { { "font.ttf", font_ }, { "LICENSE", "the terms" }, { "FILE_ID.DIZ", "about" } });
        RecordingShell shell;
        DocumentMenu menu(work_.Path());
        menu.Fill(Entry(zip, "font.ttf"));
        QCOMPARE(Shown(menu), QStringList({ "LICENSE", "FILE_ID.DIZ" }));
        menu.Item(0)->trigger();
        menu.Item(1)->trigger();
        QCOMPARE(shell.Opened, QStringList({ work_.File("LICENSE.TXT"), work_.File("FILE_ID.DIZ.TXT") }));
        QVERIFY(!QFileInfo::exists(work_.File("LICENSE")));
        QFile text(work_.File("LICENSE.TXT"));
        QVERIFY(text.open(QIODevice::ReadOnly));
        QCOMPARE(text.readAll(), QByteArray("the terms"));
        text.close();

        // A copy made earlier is kept and opened again.
        WriteFile(work_.File("LICENSE.TXT"), "read before");
        menu.Item(0)->trigger();
        QCOMPARE(shell.Opened.last(), work_.File("LICENSE.TXT"));
        QVERIFY(text.open(QIODevice::ReadOnly));
        QCOMPARE(text.readAll(), QByteArray("read before"));
    }

    void openSelectedFonts()
    {
        Window w;
        w.Add(WriteFile(Path("open/one.ttf"), font_));
        w.Add(WriteFile(Path("open/two.ttf"), font_));
        w.Add(WriteFile(Path("open/three.ttf"), font_));
        QFile::remove(Path("open/two.ttf"));
        RecordingShell shell;
        {
            MessageBoxAnswerer no(QMessageBox::No);
            w.main->lsvFontNamesDblClick();
            QCOMPARE(no.Count(), 1);
            QCOMPARE(no.Last().text, QStringLiteral("複数のフォントを開こうとしています．\nよろしいですか"));
            QCOMPARE(no.Last().defaultButton, QMessageBox::No);
            QVERIFY(shell.Opened.isEmpty());
        }
        MessageBoxAnswerer yes(QMessageBox::Yes);
        w.main->lsvFontNamesDblClick();
        QCOMPARE(shell.Opened, QStringList({ Path("open/one.ttf"), Path("open/three.ttf") }));
        w.List().DeselectAll();
        w.List().SetSelected(0, true);
        w.main->lsvFontNamesDblClick();
        QCOMPARE(yes.Count(), 1); // one row: no question
    }

    void openFolders()
    {
        Window w;
        w.Add(WriteFile(Path("f1/a.ttf"), font_));
        w.Add(WriteFile(Path("f1/b.ttf"), font_));
        RecordingShell shell;
        MessageBoxAnswerer yes(QMessageBox::Yes);
        w.main->tmnOpenFolder2Click();
        QCOMPARE(yes.Count(), 0);
        QCOMPARE(shell.Opened, QStringList { Path("f1/") });

        w.Add(WriteFile(Path("f2/c.ttf"), font_));
        w.Add(Path("gone/d.ttf"));
        shell.Opened.clear();
        w.main->tmnOpenFolder2Click();
        QCOMPARE(yes.Count(), 1);
        QCOMPARE(yes.Last().text, QStringLiteral("3個のフォルダを開こうとしています．\nよろしいですか"));
        QCOMPARE(shell.Opened, QStringList({ Path("f1/"), Path("f2/") }));

        w.List().DeselectAll();
        shell.Opened.clear();
        w.main->tmnOpenFolder2Click();
        QVERIFY(shell.Opened.isEmpty());
    }

    void userFontFolderIsMade()
    {
        Window w;
        RecordingShell shell;
        QDir(InstalledFontFiles::FontsFolder()).removeRecursively();
        w.main->tmnOpenFolder1Click();
        QVERIFY(QFileInfo(InstalledFontFiles::FontsFolder()).isDir());
        QCOMPARE(shell.Opened, QStringList { InstalledFontFiles::FontsFolder() });
    }

    void properties()
    {
        Window w;
        const QString ttc = WriteFile(Path("props/pair.ttc"), font_);
        const QString zip = GeneratedZip(Path("props"), "p.zip", { { "in.ttf", font_ } });
        w.Add(ttc, {}, "1048576");
        w.Add(ttc, {}, "1048576");
        w.Add(zip, "IN.TTF", "524288");
        RecordingShell shell;
        QCOMPARE(
            ShownProperties(*w.main), QStringList({ "3 書体", "2 ファイル", "1.50MB", "(1572864Bytes)", "archive" }));
        QVERIFY(shell.PropertiesShown.isEmpty());

        // One row: the file manager's properties, else the program's own.
        w.List().DeselectAll();
        w.List().SetSelected(0, true);
        QVERIFY(ShownProperties(*w.main).isEmpty());
        QCOMPARE(shell.PropertiesShown, QStringList { ttc });
        shell.FileManagerAnswers = false;
        QCOMPARE(ShownProperties(*w.main), QStringList({ "1 書体", "1 ファイル", "1.00MB", "(1048576Bytes)", "" }));
    }
};

QTEST_MAIN(DocumentsTest)
#include "test_documents.moc"
