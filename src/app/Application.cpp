#include "app/Application.h"
#include "widgets/MessageText.h"

#include "app/AboutDialog.h"
#include "app/HelpWindow.h"
#include "app/Icons.h"
#include "app/ViewerCommands.h"
#include "app/MainWindow.h"
#include "app/ShellIntegration.h"
#include "collect/FolderSearchWindow.h"
#include "fileops/CopyWindow.h"
#include "fileops/InstallWizard.h"
#include "fileops/PropertiesWindow.h"
#include "fontfile/FontFamilies.h"
#include "pagesetup/PageSetupDialog.h"
#include "platform/FontSubstitutes.h"
#include "platform/RuntimeFolder.h"
#include "settings/EnvironmentDialog.h"
#include "settings/SampleTextDialog.h"
#include "pagesetup/SetupNameDialog.h"
#include "viewer/PrintInfoWindow.h"
#include "sample/GenerationWindow.h"
#include "viewer/QtPrinters.h"
#include "viewer/SampleViewer.h"
#include "fontlist/CharSearchDialog.h"
#include "fontlist/FaceScanWindow.h"
#include "fontlist/FindDialog.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <QMessageBox>

namespace tz {

std::unique_ptr<MainWindow> CreateWindows(AppWindows& w, bool printersInstalled)
{
    auto main = std::make_unique<MainWindow>(printersInstalled);
    MainWindow* parent = main.get();
    w.Main = parent;
    auto* viewer = new SampleViewer(parent);
    viewer->SetKindIcons(KindIcons());
    w.Viewer = viewer;
    w.Environment = new EnvironmentDialog(parent);
    w.SampleTexts = new SampleTextDialog(parent);
    w.Generation = new GenerationWindow(parent);
    w.FolderSearch = new FolderSearchWindow(parent);
    w.Properties = new PropertiesWindow(parent);
    auto* pageSetup = new PageSetupDialog(ProgramPrinters(), RunPrinterSetupDialog, parent);
    w.PageSetup = pageSetup;
    w.Copying = new CopyWindow(parent->List(), parent->Work().Path(), parent);
    w.About = new AboutDialog(parent);
    w.PrintInfo = new PrintInfoWindow(parent);
    w.InstallWizard = new InstallWizard(parent->List(), parent->Work().Path(), parent);
    auto* setupName = new SetupNameDialog(parent);
    pageSetup->SetNameWindow(setupName);
    w.SetupName = setupName;
    w.Find = new FindDialog(parent->View(), parent);
    w.CharSearch = new CharSearchDialog(parent);
    w.FaceScan = new FaceScanWindow(parent);
    w.Help = new HelpWindow(parent);
    ConnectViewer(*viewer, *parent, *w.Find);
    parent->SetWindows(&w);
    // A change of the installed fonts refreshes the heading-font choice.
    auto* fonts = new FontFolderWatcher(parent);
    QObject::connect(fonts, &FontFolderWatcher::FontsChanged, w.Environment, &EnvironmentDialog::RefreshFontList);
    return main;
}

bool LoadQtTranslations(QCoreApplication& app)
{
    auto* translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        && QCoreApplication::installTranslator(translator))
        return true;
    delete translator;
    return false;
}

int RunApplication(int argc, char** argv)
{
    PrepareRuntimeFolder();
    QApplication app(argc, argv);
    LoadQtTranslations(app);
    QApplication::setApplicationName(kProductTitle);
    QApplication::setApplicationDisplayName(kProductTitle);
    // The desktop matches the windows to the installed entry and its icon.
    QApplication::setDesktopFileName(DesktopAppId());
    QApplication::setFont(QFont(RegisterFontSubstitutes(), 9));
    try {
        AppWindows windows;
        std::unique_ptr<MainWindow> main = CreateWindows(windows, ProgramPrinters().Installed());
        main->SetCommandLine(QApplication::arguments().mid(1));
        main->show();
        return app.exec();
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, kProductTitle, QString::fromLocal8Bit(error.what()));
        return 1;
    }
}

} // namespace tz
