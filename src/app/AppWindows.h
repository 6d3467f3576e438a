#pragma once
// Every window of the program, created once at start-up in this order and kept
// until the end.
#include <QDialog>

namespace tz {

class MainWindow;
class AboutDialog;
class EnvironmentDialog;
class SampleTextDialog;
class FolderSearchWindow;
class HelpWindow;
class PageSetupDialog;
class PrintInfoWindow;
class GenerationWindow;
class CopyWindow;
class PropertiesWindow;
class InstallWizard;
class SampleViewer;
class CharSearchDialog;
class FaceScanWindow;

struct AppWindows {
    MainWindow* Main = nullptr;       // TForm1
    SampleViewer* Viewer = nullptr;   // TForm2 sample viewer
    EnvironmentDialog* Environment = nullptr; // TForm3 environment settings
    SampleTextDialog* SampleTexts = nullptr;  // TForm4 sample texts
    GenerationWindow* Generation = nullptr; // TForm5 generation run
    FolderSearchWindow* FolderSearch = nullptr; // TForm6 folder search
    PropertiesWindow* Properties = nullptr; // TForm7 font properties
    PageSetupDialog* PageSetup = nullptr; // TForm8 page setup
    CopyWindow* Copying = nullptr;    // TForm9 copying
    AboutDialog* About = nullptr;     // TAboutDlg
    PrintInfoWindow* PrintInfo = nullptr; // TForm10 print information
    tz::InstallWizard* InstallWizard = nullptr; // TForm13 install wizard
    QDialog* SetupName = nullptr;     // TForm14 page-setting name
    QDialog* Find = nullptr;          // TForm15 find
    CharSearchDialog* CharSearch = nullptr; // the character search's text
    FaceScanWindow* FaceScan = nullptr; // progress of the searches over the faces
    HelpWindow* Help = nullptr;       // the help window
};

} // namespace tz
