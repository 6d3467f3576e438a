#pragma once
// The main window TForm1: menus, tool bar, context menu and status bar around
// the font list; command states, stored geometry, recent-item menus, the work
// folder and the close sequence. The list's document state is ListDocument's:
// the window shows it and follows its signals.
#include "app/MainCommands.h"
#include "fontlist/FontList.h"
#include "fontlist/ListDocument.h"
#include "fontlist/ListFile.h"
#include "platform/WorkFolder.h"
#include "sample/SampleRun.h"

#include <QHash>
#include <QMainWindow>
#include <QStringList>

class QLabel;
class QMenu;
class QUrl;

namespace tz {

class FontAdder;
struct AddOptions;
struct AddedPaths;
class FolderSearchWindow;
class FontListView;
class RowFaceScan;
struct AppWindows;
struct EnvironmentSettings;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int kVersion = 998;
    static constexpr QSize kDesignedSize { 503, 280 };
    static constexpr QSize kMinimumSize { 445, 278 };
    static constexpr int kHelpContext = 1040;
    static constexpr int kToolTipShowMs = 5000;

    // printersInstalled: whether a printer is installed (asked once; tests
    // pass their own answer).
    explicit MainWindow(bool printersInstalled, QWidget* parent = nullptr);
    ~MainWindow() override;

    // The other windows, created after this one.
    void SetWindows(AppWindows* windows) { windows_ = windows; }
    // Arguments of the command line, handled when the window is first shown.
    void SetCommandLine(const QStringList& paths) { commandLine_ = paths; }

    FontList& List() { return list_; }
    // The list file, its modified state and the recent items.
    ListDocument& Document() { return document_; }
    const ListDocument& Document() const { return document_; }
    FontListView& View() { return *view_; }
    const WorkFolder& Work() const { return workFolder_; }
    // The input of a generation run over the whole list with the settings in force.
    SampleInput SampleInputFor(RunMode mode) const;
    // The commands (menu items, tool buttons, context-menu items).
    const MainCommands& Commands() const { return commands_; }
    // A command by its object name ("fmnSave"), for tests; null when there is none.
    QAction* Action(const QString& name) const { return byName_.value(name); }
    // Whether a command is enabled by the command-state rules (also for
    // hidden items, which Qt always reports disabled).
    static bool CommandEnabled(const QAction* action);
    bool CommandEnabled(const QString& name) const { return CommandEnabled(Action(name)); }

    void RefreshCaption();
    void ShowCount();
    void SetStatusText(const QString& text);
    QString StatusText() const;
    // Recomputes every command's enabled state from the list and the viewer.
    void UpdateCommandStates();

    // The folder dialog's current folder of the folder search.
    QString SearchFolder;
    const QString& SiblingPath() const { return siblingPath_; }
    bool PrinterAvailable() const { return printerAvailable_; }

    // Asks for a path to save the list under (preset to the document's path).
    // Empty when cancelled.
    QString AskSavePath();

    // List files and recent items.
    bool WriteListFile(); // writes the document's path; shows the failure message
    // Appends the rows of the list file at path, read as file, and reports as
    // the list commands do.
    void ReadListFile(const ListFileBytes& file, const QString& path, bool ignoreDriveLetter);
    bool ConfirmDiscard();
    // Puts SearchFolder in front of the recent folders.
    void PushRecentFolder();
    // Opens a list file given alone on the command line or dropped alone.
    void OpenListFile(const QString& path);
    // Replaces the list by the rows of the list file at path.
    void LoadList(const QString& path, bool ignoreDriveLetter);

    // Adding fonts.
    void DropFiles(const QList<QUrl>& urls);
    void AddCommandLinePaths(const QStringList& paths);
    void StartFolderSearch();

public slots:
    void fmnAddClick();
    void fmnSearchAddClick();
    void fmnReSearchAdd0Click();
    void fmnSystemAddClick();
    void fmnNewClick();
    void fmnOpenClick();
    void fmnReOpen0Click();
    void fmnAddListClick();
    void fmnSaveClick();
    void fmnSaveAsClick();
    void fmnPrintClick();
    void fmnPrintPreviewClick();
    void fmnSetupClick();
    void fmnExitClick();
    void emnDeleteClick();
    void emnDeleteOKClick();
    void emnSelectAllClick();
    void emnSelectInvertClick();
    void smnFindClick();
    void smnFindCharsClick();
    void smnFindDuplicatesClick();
    void vmnSortByPathClick();
    void pmnJumpPreviewClick();
    void lsvFontNamesDblClick();
    void tmnOpenDocClick();
    void tmnCopyClick();
    void tmnInstallClick();
    void tmnOpenFolder1Click();
    void tmnOpenFolder2Click();
    void fmnPropertyClick();
    void fmnFileTypeAddClick();
    void fmnFileTypeRemoveClick();
    void OpenTyposcanClick();
    void omnEnvClick();
    void omnMessageClick();
    void wmnActivePreviewWindowClick();
    void wfmWindowStateClick();
    void hmnContentsClick();
    void hmnTopicClick();
    void hmnAboutClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The commands and their menus (MainCommands.cpp).
    struct ActionSpec;
    QAction* MakeAction(const ActionSpec& spec);
    void BuildActions();
    void BuildMenus();
    void BuildToolBar();
    void BuildContextMenu();
    QMenu* AddSubmenu(
        QMenu* parent, QAction* MainCommands::*command, const QString& name, const QString& caption, bool enabled);
    void AddRecentMenu(QMenu* parent, QAction* MainCommands::*command, const QString& name, const QString& caption,
        QList<QAction*>& items, void (MainWindow::*slot)());
    void ConnectDocument();
    static void ShowRecentPaths(const QList<QAction*>& items, const QStringList& paths);
    void ScheduleCommandStates();
    bool ViewerVisible() const;
    static void SetEnabled(std::initializer_list<QAction*> actions, bool enabled);
    static void SetCommandEnabled(QAction* action, bool enabled);

    void LoadCreationValues();
    void ApplyShowValues();
    void SaveValues();
    void HandleCommandLine();
    bool CloseQuery();
    // Shows the failure message for a file that was read but is no font list.
    bool RefusedAsNoList(const ListFileBytes& file);
    void ShowHelp(int context);

    FontList list_;
    ListDocument document_;
    FontListView* view_ = nullptr;
    QLabel* status_ = nullptr;
    QMenu* popup_ = nullptr;
    WorkFolder workFolder_;
    AppWindows* windows_ = nullptr;
    MainCommands commands_;
    QHash<QString, QAction*> byName_; // for Action() only: the window's code uses commands_
    QList<QAction*> recentLists_;
    QList<QAction*> recentFolders_;
    QStringList commandLine_;
    QString siblingPath_;
    bool printerAvailable_ = false;
    bool shown_ = false;
    bool commandStatesPending_ = false;

    // Adding fonts.
    const EnvironmentSettings& Environment() const;
    FolderSearchWindow& SearchWindow() const;
    void SearchFolderWith(FontAdder& adder, const QString& folder);
    // Adds dropped, command-line or chosen paths: a folder is searched in the
    // search window and becomes the newest recent folder.
    AddedPaths AddGivenPaths(FontAdder& adder, const QStringList& paths, const AddOptions& options);
    void ShowNotAdded(const FontAdder& adder, const QString& closingLine);
    void FinishAdding();
    QString addDialogFolder_;

    // List view (fontlist): sorting, the right button, Enter and Alt+Enter.
    void ConnectListView();
    void lsvFontNamesColumnClick(int section);
    void SortByColumn(int column);

    // Searches over the faces of the rows (fontlist): selects the rows found
    // and reports them in the status bar, the count in place of %1.
    void ShowFaceSearchResult(const RowFaceScan& scan, const std::vector<int>& rows, const QString& countText);
};

} // namespace tz
