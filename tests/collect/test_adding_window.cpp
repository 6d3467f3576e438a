#include "DialogHelpers.h"
#include "SettingsFiles.h"
#include "SfntWriter.h"
#include "WiderArchives.h"
#include "app/Application.h"
#include "app/MainWindow.h"
#include "collect/FolderSearchWindow.h"
#include "fontlist/FontList.h"
#include "fontlist/ListFile.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QPushButton>
#include <QScrollBar>
#include <QTreeWidget>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

using namespace tz;
using namespace tz::test;

// The ways into the list from the main window, offscreen: the add dialog,
// dropped files and folders, the command line, the folder search and its Stop.
class AddingWindowTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QByteArray font_;

    QString Write(const QString& relative, const QByteArray& bytes)
    {
        const QString path = dir_.filePath(relative);
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
        return path;
    }
    static QList<QUrl> Urls(const QStringList& paths)
    {
        QList<QUrl> urls;
        for (const QString& p : paths)
            urls << QUrl::fromLocalFile(p);
        return urls;
    }

private slots:
    void initTestCase()
    {
        font_ = BuildFont({ WindowsName(1, "Alpha"), WindowsName(4, "Alpha Regular") });
        Write("files/a.ttf", font_);
        Write("files/b.ttf", font_);
        Write("files/notes.txt", "text");
        Write("tree/c.ttf", font_);
        Write("tree/sub/d.ttf", font_);
        Write("tree/sub/broken.ttf", "broken");
    }

    void addDialog()
    {
        AppWindows windows;
        auto main = CreateWindows(windows, false);
        main->show();
        MessageBoxAnswerer answerer;
        ModalWatcher files([this](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            if (!dialog)
                return;
            QCOMPARE(dialog->objectName(), QStringLiteral("COpenDialog0"));
            QCOMPARE(dialog->windowTitle(), QStringLiteral("書体を追加"));
            QCOMPARE(dialog->nameFilters().size(), 3);
            dialog->setDirectory(dir_.filePath("files"));
            dialog->selectFile(QStringLiteral("\"a.ttf\" \"notes.txt\" \"b.ttf\""));
            QMetaObject::invokeMethod(dialog, "accept");
        });
        main->fmnAddClick();
        QCOMPARE(main->List().Count(), 2);
        QCOMPARE(answerer.Count(), 1);
        QCOMPARE(answerer.Last().text, QStringLiteral("以上のファイルが追加できませんでした．"));
        QCOMPARE(answerer.Last().listed, QStringList { "notes.txt: フォントではありません" });
        QCOMPARE(answerer.Last().icon, QMessageBox::Information);
        QCOMPARE(main->StatusText(), QStringLiteral("フォント: 2書体"));
        QVERIFY(main->Document().Modified());
    }

    void dropFilesAndFolders()
    {
        AppWindows windows;
        auto main = CreateWindows(windows, false);
        main->show();
        main->List().SortKey = 4;
        MessageBoxAnswerer answerer;
        main->DropFiles(Urls({ dir_.filePath("files/a.ttf"), dir_.filePath("files/notes.txt"), dir_.filePath("tree") }));
        // a.ttf, then c.ttf and d.ttf from the folder search.
        QCOMPARE(main->List().Count(), 3);
        QCOMPARE(main->List().SelectedCount(), 3);
        QCOMPARE(main->List().SortKey, -1);
        QCOMPARE(answerer.Count(), 1);
        QCOMPARE(answerer.Last().text, QStringLiteral("以上のファイル(フォルダ)が追加できませんでした．"));
        QCOMPARE(answerer.Last().listed,
            (QStringList { "notes.txt: フォントではありません", "broken.ttf: フォントではありません" }));
        QCOMPARE(main->SearchFolder, dir_.filePath("tree"));
        QVERIFY(main->Document().Modified());
        QVERIFY(!windows.FolderSearch->isVisible());
    }

    // With the wider set of formats chosen in the environment settings, drops
    // and the folder search take its files and archives, and the add dialog
    // offers them.
    void widerFormatsWhenChosen()
    {
        Write("wider/pack.rar", StoredRar({ { "inner.ttf", font_ } }));
        Write("wider/tree/renamed.woff2", font_);
        WriteSettingsFile("[Zindel\\Misc]\n\"EnableAllFormats\"=dword:00000001\n");
        {
            AppWindows windows;
            auto main = CreateWindows(windows, false);
            main->show();
            MessageBoxAnswerer answerer;
            main->DropFiles(Urls({ dir_.filePath("wider/pack.rar"), dir_.filePath("wider/tree") }));
            QCOMPARE(answerer.Count(), 0);
            QCOMPARE(main->List().Count(), 2);
            QCOMPARE(main->List().Entry(0).MemberName, QStringLiteral("INNER.TTF"));
            QVERIFY(main->List().Entry(1).FilePath.endsWith(QStringLiteral("/RENAMED.WOFF2")));
            ModalWatcher files([](QWidget* w) {
                if (auto* dialog = qobject_cast<QFileDialog*>(w)) {
                    const QStringList filters = dialog->nameFilters();
                    QVERIFY(filters.value(0).contains(QStringLiteral("*.[wW][oO][fF][fF]2")));
                    QVERIFY(filters.value(1).startsWith(
                        QStringLiteral("書庫ファイル(*.zip, *.lzh, *.cab, *.exe, *.7z, *.tar, *.tgz, *.tar.gz, *.tar.bz2, "
                                       "*.tar.xz, *.rar) (")));
                    QMetaObject::invokeMethod(dialog, "reject");
                }
            });
            main->fmnAddClick();
        }
        // Removed once the windows are gone, which write their settings.
        RemoveSettingsFile();
    }

    // Rows from the command line are unsaved rows: Save is enabled and the
    // close query asks.
    void commandLineMarksTheListModified()
    {
        AppWindows windows;
        auto main = CreateWindows(windows, false);
        {
            MessageBoxAnswerer answerer;
            main->SetCommandLine({ dir_.filePath("files/A.TTF"), dir_.filePath("tree/") });
            main->show();
            QCOMPARE(answerer.Last().text, QStringLiteral("以上のファイルが追加できませんでした．"));
            QCOMPARE(answerer.Last().listed, QStringList { "broken.ttf: フォントではありません" });
        }
        QCOMPARE(main->List().Count(), 3);
        QCOMPARE(main->List().Entry(0).FilePath, dir_.filePath("files/a.ttf").toUpper());
        QVERIFY(main->Document().Modified());
        QVERIFY(main->Action("tBtnSave")->isEnabled());
        QCOMPARE(main->StatusText(), QStringLiteral("フォント: 3書体"));
        MessageBoxAnswerer cancel(QMessageBox::Cancel);
        QVERIFY(!main->close());
        QCOMPARE(cancel.Last().text, QStringLiteral("変更内容を 名称未設定1に保存しますか."));
    }

    // Forty names keep the box at the height of twelve rows; the rest scroll.
    void longNotAddedListScrolls()
    {
        QStringList texts;
        for (int i = 0; i < 40; ++i)
            texts << Write(QStringLiteral("many/note%1.txt").arg(i), "text");
        AppWindows windows;
        auto main = CreateWindows(windows, false);
        main->show();
        int boxHeight = 0, rows = 0, scrollRange = 0;
        ModalWatcher watcher([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box);
            const auto* list = box->findChild<QTreeWidget*>();
            QVERIFY(list);
            boxHeight = box->height();
            rows = list->topLevelItemCount();
            scrollRange = list->verticalScrollBar()->maximum();
            box->accept();
        });
        main->DropFiles(Urls(texts));
        QCOMPARE(rows, 40);
        QVERIFY(scrollRange > 0);
        QVERIFY2(boxHeight < 500, qPrintable(QString::number(boxHeight)));
    }

    void folderSearchCommand()
    {
        AppWindows windows;
        auto main = CreateWindows(windows, false);
        main->show();
        MessageBoxAnswerer answerer;
        main->SearchFolder = dir_.filePath("tree/");
        main->StartFolderSearch();
        QCOMPARE(main->List().Count(), 2);
        QCOMPARE(main->Document().RecentFolders().value(0), dir_.filePath("tree/"));
        QVERIFY(main->CommandEnabled("fmnReSearchAdd") && main->Action("fmnReSearchAdd0")->isVisible());
        QCOMPARE(answerer.Last().text, QStringLiteral("以上のファイルが追加できませんでした．"));
        QCOMPARE(answerer.Last().listed, QStringList { "broken.ttf: フォントではありません" });
        QVERIFY(main->Document().Modified());
        QCOMPARE(main->StatusText(), QStringLiteral("フォント: 2書体"));
    }

    void stopEndsADeepWalk()
    {
        QString folder = dir_.filePath("deep");
        for (int level = 0; level < 60; ++level) {
            folder += QStringLiteral("/level%1").arg(level);
            Write(QDir(dir_.path()).relativeFilePath(folder + "/f.ttf"), font_);
        }
        AppWindows windows;
        auto main = CreateWindows(windows, false);
        main->show();
        FolderSearchWindow& window = *windows.FolderSearch;
        int analysed = 0;
        window.Walk().Progress = [&](const QString& phase, const QString&) {
            if (phase == FolderSearch::kAnalysisPhase && ++analysed == 5)
                window.findChild<QPushButton*>("btnCancel")->click();
            QCoreApplication::processEvents();
        };
        MessageBoxAnswerer answerer;
        main->SearchFolder = dir_.filePath("deep");
        main->StartFolderSearch();
        QCOMPARE(main->List().Count(), 5);
        QVERIFY(window.Walk().Stopped());
        QCOMPARE(main->StatusText(), QStringLiteral("フォント: 5書体"));
    }

    void droppedListFiles()
    {
        const QString list = dir_.filePath("files/saved.tzl");
        {
            FontList rows;
            rows.AddEntry("Saved", "Saved", "/x/saved.ttf", {}, "1", 0);
            QVERIFY(WriteListFile(rows, list));
        }
        AppWindows windows;
        auto main = CreateWindows(windows, false);
        main->show();
        main->List().AddEntry("Old", "Old", "/x/old.ttf", {}, "1", 0);
        main->Document().SetModified(true);
        // Alone: the unsaved list is asked about, then replaced.
        {
            MessageBoxAnswerer answerer(QMessageBox::Yes);
            main->DropFiles(Urls({ list }));
            QCOMPARE(answerer.Count(), 1);
            QCOMPARE(answerer.Last().icon, QMessageBox::Question);
        }
        QCOMPARE(main->List().Count(), 1);
        QCOMPARE(main->List().Entry(0).FaceName, QStringLiteral("Saved"));
        QCOMPARE(main->windowTitle(), QStringLiteral("saved.tzl - Typoscan Zindel"));
        QVERIFY(!main->Document().Modified());
        // With other files: a list file is not a font and is named.
        MessageBoxAnswerer answerer;
        main->DropFiles(Urls({ list, dir_.filePath("files/a.ttf") }));
        QCOMPARE(main->List().Count(), 2);
        QCOMPARE(answerer.Last().text, QStringLiteral("以上のファイル(フォルダ)が追加できませんでした．"));
        QCOMPARE(answerer.Last().listed, QStringList { "saved.tzl: フォントではありません" });
    }

    void droppedShortcuts()
    {
        const QString target = dir_.filePath("files/a.ttf");
        const QString link = dir_.filePath("files/alias.ttf");
        QFile::remove(link);
        QVERIFY(QFile::link(target, link));
        AppWindows windows;
        auto main = CreateWindows(windows, false);
        main->show();
        main->DropFiles(Urls({ link }));
        QCOMPARE(main->List().Count(), 1);
        // A symbolic link is followed by the file system: the row names the link.
        QCOMPARE(main->List().Entry(0).FilePath, link.toUpper());
    }

    void installedFonts()
    {
        AppWindows windows;
        auto main = CreateWindows(windows, false);
        main->show();
        main->List().SortKey = 3;
        MessageBoxAnswerer answerer;
        main->fmnSystemAddClick();
        const int once = main->List().Count();
        QVERIFY(once > 0); // the DejaVu and IPA fonts of the machine at least
        QCOMPARE(main->List().SortKey, -1);
        QVERIFY(main->Document().Modified());
        for (int row = 0; row < once; ++row) {
            const QString ext = main->List().Entry(row).FilePath.right(4);
            QVERIFY2(ext == u".TTF" || ext == u".TTC", qPrintable(main->List().Entry(row).FilePath));
        }
        main->fmnSystemAddClick();
        QCOMPARE(main->List().Count(), 2 * once);
    }

    void searchWindowDesign()
    {
        FolderSearchWindow window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Typoscan Zindel"));
        auto* stop = window.findChild<QPushButton*>("btnCancel");
        QVERIFY(stop);
        QCOMPARE(stop->text(), QStringLiteral("&Stop"));
        QVERIFY(stop->isDefault());
        QVERIFY(window.findChild<QWidget*>("lblStatus") && window.findChild<QWidget*>("Memo1")
            && window.findChild<QWidget*>("Animate1"));
        // An empty start folder closes the window at once.
        window.Walk().ReadSettings = [] { return FolderSearchSettings {}; };
        window.Walk().AddFile = [](const QString&, int) { return AddOutcome::NotFont; };
        window.Search(QString());
        QVERIFY(!window.isVisible());
    }
};

QTEST_MAIN(AddingWindowTest)
#include "test_adding_window.moc"
