#include "app/AboutDialog.h"
#include "app/Application.h"
#include "app/HelpWindow.h"
#include "app/MainWindow.h"
#include "fontlist/FontListView.h"
#include "settings/SettingsStore.h"
#include "viewer/SampleViewer.h"

#include <QDir>
#include <QFileDialog>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QtTest>

using namespace tz;

namespace {

// Presses a button of the next modal dialog as soon as it shows.
void AnswerNextModal(std::function<void(QWidget*)> answer)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, answer] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            answer(modal);
        }
    });
    timer->start();
}

void AnswerMessageBox(QMessageBox::StandardButton button, QString* text = nullptr)
{
    AnswerNextModal([button, text](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        QVERIFY(box);
        if (text)
            *text = box->text();
        box->button(button)->click();
    });
}

void WriteSettings(const QString& key, const QList<QPair<QString, QVariant>>& values)
{
    SettingsStore store;
    SettingsGroup group(store, key);
    for (const auto& [name, value] : values) {
        if (value.typeId() == QMetaType::Int)
            group.Write(name, value.toInt());
        else
            group.Write(name, value.toString());
    }
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

private slots:
    void init()
    {
        qputenv("TYPOSCAN_SETTINGS", dir_.filePath(QStringLiteral("Typoscan.reg")).toUtf8());
        QFile::remove(dir_.filePath(QStringLiteral("Typoscan.reg")));
    }

    void firstStart()
    {
        AppWindows windows;
        auto main = CreateWindows(windows, false);
        main->show();
        QCOMPARE(main->windowTitle(), QStringLiteral("名称未設定1 - Typoscan Zindel"));
        QCOMPARE(main->StatusText(), QStringLiteral("ﾌｫﾝﾄ: 0書体"));
        QCOMPARE(main->size(), QSize(503, 280));
        QCOMPARE(main->minimumSize(), QSize(445, 278));
        QCOMPARE(main->View().columnWidth(0), 162);
        QCOMPARE(main->View().columnWidth(4), 54);
        QVERIFY(!main->Document().Modified());
        QCOMPARE(main->List().SortKey, -1);
        // Every window of the creation list exists under its name and caption.
        const QList<QPair<QString, QString>> expected = { { "TForm2", "見本一覧" }, { "TForm3", "環境設定" },
            { "TForm4", "見本文章設定" }, { "TForm5", "Typoscan Zindel" }, { "TForm6", "Typoscan Zindel" },
            { "TForm7", "選択書体のプロパティ" }, { "TForm8", "用紙設定" }, { "TForm9", "Copy TrueType Files..." },
            { "TAboutDlg", "About Typoscan Zindel" }, { "TForm10", "印刷時の情報" },
            { "TForm13", "選択書体をインストール" }, { "TForm14", "ページ設定名を編集" }, { "TForm15", "検索" } };
        for (const auto& [name, caption] : expected) {
            auto* window = main->findChild<QWidget*>(name);
            QVERIFY2(window, qPrintable(name));
            QCOMPARE(window->windowTitle(), caption);
            QVERIFY(!window->isVisible());
        }
        QVERIFY(QDir(main->Work().Path()).exists());
        QVERIFY(QFileInfo(main->Work().Path()).fileName().startsWith(QStringLiteral("tzQ")));
    }

    void menusAndShortcuts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shortcut");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("visible");
        QTest::newRow("fmnSearchAdd") << "fmnSearchAdd" << "検索追加(&S)..." << "F3" << true << true;
        QTest::newRow("fmnSystemAdd") << "fmnSystemAdd" << "インストール済みフォントを検索追加(&I)" << "Shift+F3" << true << true;
        QTest::newRow("fmnNew") << "fmnNew" << "リストを新規作成(&N)" << "Ctrl+N" << true << true;
        QTest::newRow("fmnSave") << "fmnSave" << "上書き保存(&S)" << "Ctrl+S" << false << true;
        QTest::newRow("fmnReOpen") << "fmnReOpen" << "リストを開き直す" << "" << false << true;
        QTest::newRow("fmnReSearchAdd0") << "fmnReSearchAdd0" << "" << "" << true << false;
        QTest::newRow("fmnPrint") << "fmnPrint" << "印刷(&P)..." << "Ctrl+P" << false << true;
        QTest::newRow("fmnPrintPreview") << "fmnPrintPreview" << "印刷プレビュー(&V)" << "F5" << false << true;
        QTest::newRow("fmnExit") << "fmnExit" << "終了(&X)" << "Ctrl+Q" << true << true;
        QTest::newRow("emnDelete") << "emnDelete" << "リストから削除(&D)" << "Del" << false << true;
        QTest::newRow("emnDeleteOK") << "emnDeleteOK" << "確認せずリストから削除" << "" << false << false;
        QTest::newRow("smnFind") << "smnFind" << "検索(&S)..." << "Ctrl+F" << false << true;
        QTest::newRow("vmnSort") << "vmnSort" << "フォントの整列(&I)" << "" << false << true;
        QTest::newRow("vmnSortBySize") << "vmnSortBySize" << "サイズ順(&Z)" << "" << true << true;
        QTest::newRow("tmnOpenDoc") << "tmnOpenDoc" << "選択書体のドキュメントを開く(&D)..." << "" << false << true;
        QTest::newRow("tmnInstall") << "tmnInstall" << "選択書体をインストール(&I)..." << "" << false << true;
        QTest::newRow("OpenTyposcan") << "OpenTyposcan" << "Typoscanを起動(&F)" << "" << true << false;
        QTest::newRow("pmnInstall") << "pmnInstall" << "選択書体をインストール(&I)..." << "" << false << false;
        QTest::newRow("wfmWindowState") << "wfmWindowState" << "ウィンドウサイズの切替" << "F11" << true << true;
        QTest::newRow("hmnAbout") << "hmnAbout" << "バージョン情報(&A)..." << "" << true << true;
        QTest::newRow("tBtnSave") << "tBtnSave" << "上書き保存" << "" << false << true;
        QTest::newRow("tBtnInstall") << "tBtnInstall" << "選択書体をインストール" << "" << false << true;
    }
    void menusAndShortcuts()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, shortcut);
        QFETCH(bool, enabled);
        QFETCH(bool, visible);
        MainWindow main(false);
        QAction* action = main.Action(name);
        QVERIFY(action);
        QCOMPARE(action->objectName(), name);
        QCOMPARE(action->text(), caption);
        QCOMPARE(action->shortcut().toString(), shortcut);
        QCOMPARE(main.CommandEnabled(name), enabled);
        QCOMPARE(action->isVisible(), visible);
    }

    void menuLayout()
    {
        MainWindow main(false);
        QStringList titles;
        for (QAction* a : main.menuBar()->actions())
            titles << a->text();
        QCOMPARE(titles, (QStringList { "ファイル(&F)", "編集(&E)", "検索(&S)", "表示(&V)", "ツール(&T)", "オプション(&O)", "ウィンドウ(&W)", "ヘルプ(&H)" }));
        auto items = [](QMenu* menu) {
            QStringList names;
            for (QAction* a : menu->actions())
                names << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
            return names;
        };
        QCOMPARE(items(main.findChild<QMenu*>("ToolsMenu")),
            (QStringList { "tmnOpen", "tmnOpenDoc", "-", "tmnCopy", "tmnInstall", "-", "tmnOpenFolder1", "tmnOpenFolder2",
                "-", "fmnProperty", "-", "E1", "-", "OpenTyposcan" }));
        QCOMPARE(items(main.findChild<QMenu*>("PopupMenu1")),
            (QStringList { "pmnSearchAdd", "-", "pmnPrintPreview", "pmnJumpPreview", "-", "pmnOpenDoc", "pmnInstall", "-",
                "pmnEnv", "pmnMessage", "-", "pmnProperty" }));
        QStringList buttons;
        for (QAction* a : main.findChild<QToolBar*>("ToolBar1")->actions())
            buttons << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
        QCOMPARE(buttons, (QStringList { "tBtnSearchAdd", "-", "tbnOpenList", "tBtnSave", "-", "tBtnPageSetup",
                              "tBtnPrintPreview", "tBtnPrint", "-", "tBtnEnv", "tBtnMessage", "-", "tBtnFind", "tBtnOpen",
                              "tBtnOpenDoc", "tBtnInstall", "-", "tBtnDelete" }));
        QCOMPARE(main.findChild<QToolButton*>("tBtnFind")->toolTip(), QStringLiteral("検索"));
        main.show();
        auto* search = main.findChild<QToolButton*>("tBtnSearchAdd");
        QHelpEvent tip(QEvent::ToolTip, QPoint(2, 2), search->mapToGlobal(QPoint(2, 2)));
        QCoreApplication::sendEvent(search, &tip);
        QTRY_COMPARE(QToolTip::text(), QStringLiteral("検索追加"));
        QToolTip::hideText();
    }

    void commandStates()
    {
        AppWindows windows;
        auto main = CreateWindows(windows, false);
        auto enabled = [&](const char* name) { return main->CommandEnabled(QString::fromLatin1(name)); };
        FontList& list = main->List();
        list.AddEntry("A", "A", "/a.ttf", {}, "1", 0);
        list.AddEntry("B", "B", "/b.ttf", {}, "1", 0);
        list.DeselectAll();
        main->UpdateCommandStates();
        QVERIFY(enabled("fmnPrintPreview") && enabled("tBtnPrintPreview") && enabled("smnFind") && enabled("vmnSort"));
        QVERIFY(!enabled("fmnPrint") && !enabled("tBtnPrint")); // no printer
        QVERIFY(!enabled("emnDelete") && !enabled("tmnOpen") && !enabled("pmnInstall") && !enabled("tmnInstall"));
        list.SetSelected(0, true);
        main->UpdateCommandStates();
        QVERIFY(enabled("emnDelete") && enabled("emnDeleteOK") && enabled("tmnCopy") && enabled("pmnInstall"));
        QVERIFY(enabled("tmnOpenDoc") && enabled("pmnOpenDoc"));
        QVERIFY(!enabled("vmnJumpPreview") && !enabled("wmnActivePreviewWindow"));
        QVERIFY(enabled("tmnInstall") && enabled("tBtnInstall"));
        windows.Viewer->show();
        main->UpdateCommandStates();
        QVERIFY(enabled("vmnJumpPreview") && enabled("pmnJumpPreview") && enabled("wmnActivePreviewWindow"));
        list.SetSelected(1, true);
        main->UpdateCommandStates();
        QVERIFY(!enabled("tmnOpenDoc") && !enabled("vmnJumpPreview") && enabled("wmnActivePreviewWindow"));
        // The states also follow by themselves once events run.
        list.DeselectAll();
        QTRY_VERIFY(!enabled("emnDelete"));

        MainWindow withPrinter(true);
        withPrinter.List().AddEntry("A", "A", "/a.ttf", {}, "1", 0);
        withPrinter.UpdateCommandStates();
        QVERIFY(withPrinter.CommandEnabled("fmnPrint"));
    }

    void storedBoundsAndColumns_data()
    {
        QTest::addColumn<QList<int>>("bounds");
        QTest::addColumn<int>("columns"); // how many ColWidthN are stored
        QTest::addColumn<bool>("boundsApplied");
        QTest::newRow("fits, three widths") << QList<int> { 10, 20, 450, 300 } << 2 << true;
        QTest::newRow("too large, widths still apply") << QList<int> { 0, 0, 2000, 1500 } << 5 << false;
        QTest::newRow("maximized on a smaller screen") << QList<int> { -4, -4, 808, 608 } << 5 << false;
    }
    void storedBoundsAndColumns()
    {
        QFETCH(QList<int>, bounds);
        QFETCH(int, columns);
        QFETCH(bool, boundsApplied);
        QList<QPair<QString, QVariant>> values = { { "Left", bounds[0] }, { "Top", bounds[1] }, { "Width", bounds[2] },
            { "Height", bounds[3] } };
        for (int c = 1; c <= columns; ++c)
            values.append({ QStringLiteral("ColWidth%1").arg(c), 30 + c });
        WriteSettings(QStringLiteral("Zindel"), values);
        MainWindow main(false);
        main.show();
        QCOMPARE(main.size(), boundsApplied ? QSize(bounds[2], bounds[3]) : QSize(503, 280));
        const int designed[] = { 162, 128, 54, 74, 54 };
        for (int c = 0; c < 5; ++c)
            QCOMPARE(main.View().columnWidth(c), c < columns ? 31 + c : designed[c]);
    }

    void absentBoundEndsTheGroup()
    {
        WriteSettings(QStringLiteral("Zindel"), { { "Left", 10 }, { "Top", 10 }, { "Width", 400 }, { "ColWidth1", 99 } });
        MainWindow main(false);
        main.show();
        QCOMPARE(main.size(), QSize(503, 280));
        QCOMPARE(main.View().columnWidth(0), 162);
    }

    void recentItemsAndSibling()
    {
        const QString sibling = dir_.filePath(QStringLiteral("typoscan-standard"));
        QFile(sibling).open(QIODevice::WriteOnly);
        WriteSettings(QStringLiteral("Zindel\\Lists"), { { "List1", "/home/a&b.tzl" }, { "List2", "/home/c.tzl" },
                                                            { "Folder1", "" }, { "Folder2", "/fonts" } });
        WriteSettings(QStringLiteral("Standard"), { { "Path", sibling } });
        WriteSettings(QStringLiteral("Zindel\\Search"), { { "Path", "/srv/fonts" } });
        {
            MainWindow main(false);
            QCOMPARE(main.Document().RecentLists(), (QStringList { "/home/a&b.tzl", "/home/c.tzl", "", "" }));
            QCOMPARE(main.Action("fmnReOpen0")->text(), QStringLiteral("/home/a&&b.tzl"));
            QVERIFY(main.Action("fmnReOpen1")->isVisible() && !main.Action("fmnReOpen2")->isVisible());
            QVERIFY(main.Action("fmnReOpen")->isEnabled());
            // The first folder is empty: its item is hidden, the submenu disabled.
            QVERIFY(!main.Action("fmnReSearchAdd0")->isVisible() && main.Action("fmnReSearchAdd1")->isVisible());
            QVERIFY(!main.Action("fmnReSearchAdd")->isEnabled());
            QCOMPARE(main.SearchFolder, QStringLiteral("/srv/fonts"));
            QVERIFY(main.Action("OpenTyposcan")->isVisible());
        }
        QFile::remove(sibling);
        MainWindow main(false);
        QCOMPARE(main.SiblingPath(), sibling);
        QVERIFY(!main.Action("OpenTyposcan")->isVisible());
    }

    void startUpReadsNeverCreateTheirKeys()
    {
        { MainWindow main(false); }
        SettingsStore store;
        QVERIFY(!store.KeyExists(QStringLiteral("Zindel\\Lists")));
        QVERIFY(!store.KeyExists(QStringLiteral("Standard")));
    }

    void closeWritesTheStoredValues()
    {
        {
            MainWindow main(false);
            main.show();
            main.SearchFolder = QStringLiteral("/data/fonts");
            main.Document().SetRecentLists({ "/l/1.tzl", "", "", "" });
            main.View().setColumnWidth(2, 77);
            QVERIFY(main.close());
        }
        SettingsStore store;
        auto key = store.OpenKey(QStringLiteral("Zindel"), false);
        QVERIFY(key);
        QCOMPARE(key->ReadInteger("Version"), std::optional<int>(998));
        QCOMPARE(key->ReadInteger("Width"), std::optional<int>(503));
        QCOMPARE(key->ReadInteger("ColWidth3"), std::optional<int>(77));
        QCOMPARE(key->ReadString("Path"), QCoreApplication::applicationFilePath());
        QCOMPARE(store.OpenKey("Zindel\\Search", false)->ReadString("Path"), QStringLiteral("/data/fonts"));
        auto lists = store.OpenKey("Zindel\\Lists", false);
        QCOMPARE(lists->ReadString("List1"), QStringLiteral("/l/1.tzl"));
        QVERIFY(lists->ReadInteger("List2") == std::nullopt && lists->ReadString("List2").isEmpty());
        QCOMPARE(lists->ReadString("Folder4"), QString());
    }

    void closeQuery()
    {
        const QString path = dir_.filePath(QStringLiteral("saved.tzl"));
        QFile::remove(path);
        MainWindow main(false);
        main.show();
        main.List().AddEntry("A", "A", "/a.ttf", {}, "1", 0);
        main.Document().SetModified(true);
        // Cancel keeps the window; the question names the list.
        QString question;
        AnswerMessageBox(QMessageBox::Cancel, &question);
        QVERIFY(!main.close());
        QCOMPARE(question, QStringLiteral("変更内容を 名称未設定1に保存しますか."));
        // Yes on an untitled list asks for a name; cancelling that keeps the window.
        AnswerMessageBox(QMessageBox::Yes);
        QTimer::singleShot(300, [] {
            if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget()))
                dialog->reject();
        });
        QVERIFY(!main.close());
        QVERIFY(main.isVisible());
        // Yes on a titled list writes it and closes.
        main.Document().SetPath(path);
        AnswerMessageBox(QMessageBox::Yes);
        QVERIFY(main.close());
        QVERIFY(QFile::exists(path));
    }

    void closeQueryNoDropsTheChanges()
    {
        MainWindow main(false);
        main.show();
        main.Document().SetPath(dir_.filePath(QStringLiteral("dropped.tzl")));
        main.Document().SetModified(true);
        AnswerMessageBox(QMessageBox::No);
        QVERIFY(main.close());
        QVERIFY(!QFile::exists(main.Document().Path()));
    }

    void workFolderIsRemoved()
    {
        QString work;
        {
            MainWindow main(false);
            work = main.Work().Path();
            QFile file(main.Work().File(QStringLiteral("typozind.arc.ttx")));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.setPermissions(QFile::ReadOwner);
        }
        QVERIFY(!QDir(work).exists());
    }

    void windowStateToggle()
    {
        MainWindow main(false);
        main.show();
        main.wfmWindowStateClick();
        QVERIFY(main.windowState() & Qt::WindowMaximized);
        main.wfmWindowStateClick();
        QVERIFY(!(main.windowState() & Qt::WindowMaximized));
    }

    void helpAndAbout()
    {
        AppWindows windows;
        auto main = CreateWindows(windows, false);
        windows.Help->ShowContext(1040);
        QVERIFY(windows.Help->isVisible());
        QCOMPARE(windows.Help->CurrentPage(), QStringLiteral("qrc:/help/main.html"));
        windows.Help->ShowContext(4711);
        QCOMPARE(windows.Help->CurrentPage(), QStringLiteral("qrc:/help/index.html"));
        QVERIFY(HelpWindow::Search(QStringLiteral("ドライブレター")).contains(QStringLiteral("書体リストの保存と読み込み")));
        QVERIFY(HelpWindow::Search(QStringLiteral("nothing-like-this")).isEmpty());
        for (const HelpWindow::Topic& topic : HelpWindow::Topics())
            QVERIFY2(QFile::exists(topic.Page.mid(3)), qPrintable(topic.Page));
        AnswerNextModal([](QWidget* w) {
            QCOMPARE(w->objectName(), QStringLiteral("TAboutDlg"));
            QCOMPARE(w->windowTitle(), QStringLiteral("About Typoscan Zindel"));
            QTest::keyClick(w, Qt::Key_Escape);
        });
        main->hmnAboutClick();
    }
};

QTEST_MAIN(MainWindowTest)
#include "test_mainwindow.moc"
