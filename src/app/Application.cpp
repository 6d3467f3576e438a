#include "app/Application.h"

#include "app/AboutDialog.h"
#include "app/HelpWindow.h"
#include "app/MainWindow.h"
#include "app/PrinterPresence.h"
#include "app/ShellWindow.h"
#include "fontlist/FindDialog.h"

#include <QApplication>
#include <QMessageBox>

namespace tz {

std::unique_ptr<MainWindow> CreateWindows(AppWindows& w, bool printersInstalled)
{
    auto main = std::make_unique<MainWindow>(printersInstalled);
    MainWindow* parent = main.get();
    auto shell = [parent](const char* name, const char16_t* caption) {
        return new ShellWindow(QString::fromLatin1(name), QString::fromUtf16(caption), parent);
    };
    w.Main = parent;
    w.Viewer = shell("TForm2", u"見本一覧");
    w.Viewer->setWindowFlag(Qt::Window);
    w.Environment = shell("TForm3", u"環境設定");
    w.SampleTexts = shell("TForm4", u"見本文章設定");
    w.Generation = shell("TForm5", u"Typoscan Zindel");
    w.FolderSearch = shell("TForm6", u"Typoscan Zindel");
    w.Properties = shell("TForm7", u"選択書体のプロパティ");
    w.PageSetup = shell("TForm8", u"用紙設定");
    w.Copying = shell("TForm9", u"Copy TrueType Files...");
    w.About = new AboutDialog(parent);
    w.PrintInfo = shell("TForm10", u"印刷時の情報");
    w.InstallWizard = shell("TForm13", u"選択書体をインストール");
    w.SetupName = shell("TForm14", u"ページ設定名を編集");
    w.Find = new FindDialog(parent->View(), parent);
    w.Help = new HelpWindow(parent);
    parent->SetWindows(&w);
    return main;
}

int RunApplication(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Typoscan Zindel"));
    QApplication::setApplicationDisplayName(QStringLiteral("Typoscan Zindel"));
    try {
        AppWindows windows;
        std::unique_ptr<MainWindow> main = CreateWindows(windows, PrintersInstalled());
        main->SetCommandLine(QApplication::arguments().mid(1));
        main->show();
        return app.exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QStringLiteral("Typoscan Zindel"), QString::fromLocal8Bit(error.what()));
        return 1;
    }
}

} // namespace tz
