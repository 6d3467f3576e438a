#include "app/MainWindow.h"
#include "widgets/MessageText.h"

#include "app/AboutDialog.h"
#include "app/AppWindows.h"
#include "app/HelpWindow.h"
#include "app/Icons.h"
#include "archive/Archivettf.h"
#include "collect/Shortcut.h"
#include "fontlist/FontListView.h"
#include "viewer/SampleViewer.h"
#include "platform/Text.h"
#include "settings/SettingsStore.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

namespace tz {

namespace {

    const QString kMainKey = QStringLiteral("\\Software\\Quillmoor\\Typoscan\\Zindel");

    // Puts the window's actions named by names into a menu or tool bar in
    // order; "-" is a separator.
    template <class Target>
    void AddItems(Target* target, std::initializer_list<const char*> names, const MainWindow& window)
    {
        for (const char* name : names) {
            if (QByteArrayView(name) == "-")
                target->addSeparator();
            else
                target->addAction(window.Action(QString::fromLatin1(name)));
        }
    }

} // namespace

struct MainWindow::ActionSpec {
    const char* name;
    const char16_t* caption;
    QKeySequence shortcut;
    void (MainWindow::*slot)();
    bool disabled = false;
    bool hidden = false;
};

MainWindow::MainWindow(bool printersInstalled, QWidget* parent)
    : QMainWindow(parent)
    , printerAvailable_(printersInstalled)
{
    setObjectName(QStringLiteral("TForm1"));
    resize(kDesignedSize);
    setMinimumSize(kMinimumSize);
    setAcceptDrops(true);
    QApplication::setWindowIcon(AppIcon());
    list_.SetKindIcons(KindIcons());
    view_ = new FontListView(list_, this);
    setCentralWidget(view_);
    status_ = new QLabel(QStringLiteral("ﾌｫﾝﾄ: 0書体"));
    status_->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->addWidget(status_, 1);
    statusBar()->setSizeGripEnabled(true);

    BuildActions();
    BuildMenus();
    BuildToolBar();
    BuildContextMenu();
    RefreshCaption();

    connect(&list_, &FontList::CountChanged, this, &MainWindow::ScheduleCommandStates);
    connect(&list_, &FontList::SelectionFlagsChanged, this, &MainWindow::ScheduleCommandStates);
    connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &MainWindow::ScheduleCommandStates);
    connect(view_, &QAbstractItemView::doubleClicked, this, &MainWindow::lsvFontNamesDblClick);
    connect(view_, &FontListView::FilesDropped, this, &MainWindow::DropFiles);
    connect(view_, &FontListView::RowsDropped, this, [this](int target) {
        if (list_.MoveSelectedBefore(target))
            SetModified(true);
    });

    ConnectListView();

    LoadCreationValues();
    LoadArchiverLibraries();
    UpdateCommandStates();
}

MainWindow::~MainWindow()
{
    workFolder_.Remove();
    FreeArchiverLibraries();
}

// --- actions, menus, tool bar --------------------------------------------------

QAction* MainWindow::MakeAction(const ActionSpec& spec)
{
    auto* action = new QAction(QString::fromUtf16(spec.caption), this);
    action->setObjectName(QString::fromLatin1(spec.name));
    action->setShortcut(spec.shortcut);
    SetCommandEnabled(action, !spec.disabled);
    action->setVisible(!spec.hidden);
    if (spec.slot)
        connect(action, &QAction::triggered, this, spec.slot);
    actions_.insert(action->objectName(), action);
    return action;
}

void MainWindow::BuildActions()
{
    using M = MainWindow;
    const ActionSpec specs[] = {
        { "fmnAdd", u"追加(&A)...", {}, &M::fmnAddClick },
        { "fmnSearchAdd", u"検索追加(&S)...", Qt::Key_F3, &M::fmnSearchAddClick },
        { "fmnSystemAdd", u"インストール済みフォントを検索追加(&I)", Qt::SHIFT | Qt::Key_F3, &M::fmnSystemAddClick },
        { "fmnNew", u"リストを新規作成(&N)", Qt::CTRL | Qt::Key_N, &M::fmnNewClick },
        { "fmnOpen", u"リストを開く(&O)...", Qt::CTRL | Qt::Key_O, &M::fmnOpenClick },
        { "fmnAddList", u"現在のリストに追加...", {}, &M::fmnAddListClick },
        { "fmnSave", u"上書き保存(&S)", Qt::CTRL | Qt::Key_S, &M::fmnSaveClick, true },
        { "fmnSaveAs", u"名前を付けて保存(&A)...", {}, &M::fmnSaveAsClick },
        { "fmnPrint", u"印刷(&P)...", Qt::CTRL | Qt::Key_P, &M::fmnPrintClick },
        { "fmnPrintPreview", u"印刷プレビュー(&V)", Qt::Key_F5, &M::fmnPrintPreviewClick },
        { "fmnSetup", u"用紙設定(&U)...", {}, &M::fmnSetupClick },
        { "fmnExit", u"終了(&X)", Qt::CTRL | Qt::Key_Q, &M::fmnExitClick },
        { "emnDelete", u"リストから削除(&D)", Qt::Key_Delete, &M::emnDeleteClick },
        { "emnDeleteOK", u"確認せずリストから削除", {}, &M::emnDeleteOKClick, false, true },
        { "emnSelectAll", u"すべて選択(&A)", Qt::CTRL | Qt::Key_A, &M::emnSelectAllClick },
        { "emnSelectInvert", u"選択の反転(&I)", {}, &M::emnSelectInvertClick },
        { "smnFind", u"検索(&S)...", Qt::CTRL | Qt::Key_F, &M::smnFindClick },
        { "smnFindChars", u"文字を含む書体を選択(&C)...", Qt::CTRL | Qt::SHIFT | Qt::Key_F, &M::smnFindCharsClick },
        { "smnFindDuplicates", u"重複する書体を選択(&D)", {}, &M::smnFindDuplicatesClick },
        { "vmnSortByName", u"フォント名順(&N)", {}, &M::vmnSortByPathClick },
        { "vmnSortByFamily", u"ファミリ名順(&F)", {}, &M::vmnSortByPathClick },
        { "vmnSortByPath", u"ファイル順(&P)", {}, &M::vmnSortByPathClick },
        { "vmnSortByArchive", u"書庫内ファイル順(&A)", {}, &M::vmnSortByPathClick },
        { "vmnSortBySize", u"サイズ順(&Z)", {}, &M::vmnSortByPathClick },
        { "vmnJumpPreview", u"印刷プレビューへジャンプ(&J)", {}, &M::pmnJumpPreviewClick },
        { "tmnOpen", u"選択書体を開く(&O)", {}, &M::lsvFontNamesDblClick },
        { "tmnOpenDoc", u"選択書体のドキュメントを開く(&D)...", {}, &M::tmnOpenDocClick, true },
        { "tmnCopy", u"選択書体をコピー(&C)...", {}, &M::tmnCopyClick, true },
        { "tmnInstall", u"選択書体をインストール(&I)...", {}, &M::tmnInstallClick, true },
        { "tmnOpenFolder1", u"フォントフォルダを開く(&F)", {}, &M::tmnOpenFolder1Click },
        { "tmnOpenFolder2", u"選択書体のフォルダを開く(&S)", {}, &M::tmnOpenFolder2Click },
        { "fmnProperty", u"選択書体のプロパティ(&R)", {}, &M::fmnPropertyClick },
        { "fmnFileTypeAdd", u".tzlを登録", {}, &M::fmnFileTypeAddClick },
        { "fmnFileTypeRemove", u".tzlを登録解除", {}, &M::fmnFileTypeRemoveClick },
        { "OpenTyposcan", u"Typoscanを起動(&F)", {}, &M::OpenTyposcanClick, false, true },
        { "omnEnv", u"環境設定(&E)...", {}, &M::omnEnvClick },
        { "omnMessage", u"見本文章設定(&M)...", {}, &M::omnMessageClick },
        { "wmnActivePreviewWindow", u"印刷プレビューウィンドウをアクティブにする(&A)", {}, &M::wmnActivePreviewWindowClick },
        { "wfmWindowState", u"ウィンドウサイズの切替", Qt::Key_F11, &M::wfmWindowStateClick },
        { "hmnContents", u"目次(&C)", {}, &M::hmnContentsClick },
        { "hmnTopic", u"トピックの検索(&T)", {}, &M::hmnTopicClick },
        { "hmnAbout", u"バージョン情報(&A)...", {}, &M::hmnAboutClick },
        // Tool buttons (the caption is the tool tip).
        { "tBtnSearchAdd", u"検索追加", {}, &M::fmnSearchAddClick },
        { "tbnOpenList", u"リストを開く", {}, &M::fmnOpenClick },
        { "tBtnSave", u"上書き保存", {}, &M::fmnSaveClick, true },
        { "tBtnPageSetup", u"用紙設定", {}, &M::fmnSetupClick },
        { "tBtnPrintPreview", u"印刷プレビュー", {}, &M::fmnPrintPreviewClick },
        { "tBtnPrint", u"印刷", {}, &M::fmnPrintClick },
        { "tBtnEnv", u"環境設定", {}, &M::omnEnvClick },
        { "tBtnMessage", u"見本文章設定", {}, &M::omnMessageClick },
        { "tBtnFind", u"検索", {}, &M::smnFindClick, true },
        { "tBtnOpen", u"選択書体を開く", {}, &M::lsvFontNamesDblClick, true },
        { "tBtnOpenDoc", u"選択書体のドキュメントを開く", {}, &M::tmnOpenDocClick, true },
        { "tBtnInstall", u"選択書体をインストール", {}, &M::tmnInstallClick, true },
        { "tBtnDelete", u"リストから削除", {}, &M::emnDeleteClick, true },
        // Context menu items.
        { "pmnSearchAdd", u"検索追加(&S)...", {}, &M::fmnSearchAddClick },
        { "pmnPrintPreview", u"印刷プレビュー(&V)", {}, &M::fmnPrintPreviewClick },
        { "pmnJumpPreview", u"印刷プレビューへジャンプ(&J)", {}, &M::pmnJumpPreviewClick },
        { "pmnOpenDoc", u"選択書体のドキュメントを開く(&D)...", {}, &M::tmnOpenDocClick },
        { "pmnInstall", u"選択書体をインストール(&I)...", {}, &M::tmnInstallClick, false, true },
        { "pmnEnv", u"環境設定(&E)...", {}, &M::omnEnvClick },
        { "pmnMessage", u"見本文章設定(&M)...", {}, &M::omnMessageClick },
        { "pmnProperty", u"選択書体のプロパティ(&R)", {}, &M::fmnPropertyClick },
    };
    for (const ActionSpec& spec : specs)
        MakeAction(spec);
    // The sort items carry their column number.
    const char* sortItems[] = { "vmnSortByName", "vmnSortByFamily", "vmnSortByPath", "vmnSortByArchive", "vmnSortBySize" };
    for (int i = 0; i < 5; ++i)
        Action(QString::fromLatin1(sortItems[i]))->setData(i + 1);
    // The hidden item keeps its shortcut working.
    auto* deleteNow = new QShortcut(Qt::SHIFT | Qt::Key_Delete, this);
    connect(deleteNow, &QShortcut::activated, this, [this] {
        if (CommandEnabled(QStringLiteral("emnDeleteOK")))
            emnDeleteOKClick();
    });
    auto* help = new QShortcut(Qt::Key_F1, this);
    connect(help, &QShortcut::activated, this, [this] { ShowHelp(kHelpContext); });
}

QMenu* MainWindow::AddSubmenu(QMenu* parent, const QString& name, const QString& caption, bool enabled)
{
    QMenu* menu = parent->addMenu(caption);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    SetCommandEnabled(menu->menuAction(), enabled);
    actions_.insert(name, menu->menuAction());
    return menu;
}

void MainWindow::AddRecentMenu(
    QMenu* parent, const QString& name, const QString& caption, QList<QAction*>& items, void (MainWindow::*slot)())
{
    QMenu* menu = AddSubmenu(parent, name, caption, false);
    for (int i = 0; i < 4; ++i) {
        auto* item = new QAction(this);
        item->setObjectName(name + QString::number(i));
        SetCommandEnabled(item, true);
        item->setVisible(false);
        connect(item, &QAction::triggered, this, slot);
        actions_.insert(item->objectName(), item);
        menu->addAction(item);
        items.append(item);
    }
}

void MainWindow::BuildMenus()
{
    QMenuBar* bar = menuBar();
    auto add = [this](QMenu* menu, std::initializer_list<const char*> names) { AddItems(menu, names, *this); };
    auto menu = [bar](const char* name, const char16_t* caption) {
        QMenu* m = bar->addMenu(QString::fromUtf16(caption));
        m->setObjectName(QString::fromLatin1(name));
        return m;
    };

    QMenu* file = menu("FileMenu", u"ファイル(&F)");
    add(file, { "fmnAdd", "fmnSearchAdd" });
    AddRecentMenu(file, QStringLiteral("fmnReSearchAdd"), QStringLiteral("最近検索したフォルダ"), recentFolders_,
        &MainWindow::fmnReSearchAdd0Click);
    add(file, { "fmnSystemAdd", "-", "fmnNew", "fmnOpen" });
    AddRecentMenu(
        file, QStringLiteral("fmnReOpen"), QStringLiteral("リストを開き直す"), recentLists_, &MainWindow::fmnReOpen0Click);
    add(file, { "fmnAddList", "fmnSave", "fmnSaveAs", "-", "fmnPrint", "fmnPrintPreview", "fmnSetup", "-", "fmnExit" });

    QMenu* edit = menu("EditMenu", u"編集(&E)");
    add(edit, { "emnDelete", "emnDeleteOK", "-", "emnSelectAll", "emnSelectInvert" });

    QMenu* search = menu("SearchMenu", u"検索(&S)");
    add(search, { "smnFind", "-", "smnFindChars", "smnFindDuplicates" });

    QMenu* view = menu("ViewMenu", u"表示(&V)");
    QMenu* sort = AddSubmenu(view, QStringLiteral("vmnSort"), QStringLiteral("フォントの整列(&I)"), false);
    add(sort, { "vmnSortByName", "vmnSortByFamily", "vmnSortByPath", "vmnSortByArchive", "vmnSortBySize" });
    add(view, { "-", "vmnJumpPreview" });

    QMenu* tools = menu("ToolsMenu", u"ツール(&T)");
    add(tools, { "tmnOpen", "tmnOpenDoc", "-", "tmnCopy", "tmnInstall", "-", "tmnOpenFolder1", "tmnOpenFolder2", "-",
                   "fmnProperty", "-" });
    QMenu* association = AddSubmenu(tools, QStringLiteral("E1"), QStringLiteral("関連付け"), true);
    add(association, { "fmnFileTypeAdd", "fmnFileTypeRemove" });
    add(tools, { "-", "OpenTyposcan" });

    QMenu* options = menu("OptionsMenu", u"オプション(&O)");
    add(options, { "omnEnv", "omnMessage" });

    QMenu* window = menu("WindowMenu", u"ウィンドウ(&W)");
    add(window, { "wmnActivePreviewWindow", "-", "wfmWindowState" });

    QMenu* help = menu("HelpMenu", u"ヘルプ(&H)");
    add(help, { "hmnContents", "hmnTopic", "-", "hmnAbout" });
}

void MainWindow::BuildToolBar()
{
    QToolBar* bar = addToolBar(QStringLiteral("ToolBar1"));
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(16, 16));
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    AddItems(bar,
        { "tBtnSearchAdd", "-", "tbnOpenList", "tBtnSave", "-", "tBtnPageSetup", "tBtnPrintPreview", "tBtnPrint", "-",
            "tBtnEnv", "tBtnMessage", "-", "tBtnFind", "tBtnOpen", "tBtnOpenDoc", "tBtnInstall", "-", "tBtnDelete" },
        *this);
    for (QAction* action : bar->actions()) {
        if (action->isSeparator())
            continue;
        action->setToolTip(action->text());
        action->setIcon(ToolIcon(action->objectName()));
        QWidget* button = bar->widgetForAction(action);
        button->setObjectName(action->objectName());
        button->setFixedWidth(25);
        button->installEventFilter(this);
    }
}

void MainWindow::BuildContextMenu()
{
    popup_ = new QMenu(this);
    popup_->setObjectName(QStringLiteral("PopupMenu1"));
    AddItems(popup_,
        { "pmnSearchAdd", "-", "pmnPrintPreview", "pmnJumpPreview", "-", "pmnOpenDoc", "pmnInstall", "-", "pmnEnv",
            "pmnMessage", "-", "pmnProperty" },
        *this);
    setContextMenuPolicy(Qt::CustomContextMenu);
    view_->setContextMenuPolicy(Qt::CustomContextMenu);
    auto show = [this](QWidget* from, const QPoint& pos) {
        UpdateCommandStates();
        popup_->popup(from->mapToGlobal(pos));
    };
    connect(this, &QWidget::customContextMenuRequested, this, [this, show](const QPoint& p) { show(this, p); });
    connect(view_, &QWidget::customContextMenuRequested, this,
        [this, show](const QPoint& p) { show(view_->viewport(), p); });
}

// --- document state -----------------------------------------------------------

bool MainWindow::IsModified() const { return Action(QStringLiteral("fmnSave"))->isEnabled(); }

void MainWindow::SetModified(bool modified)
{
    SetEnabled({ QStringLiteral("fmnSave"), QStringLiteral("tBtnSave") }, modified);
}

void MainWindow::RefreshCaption()
{
    const QString caption = FileNamePart(list_.ListPath) + QStringLiteral(" - ") + kProductTitle;
    setWindowTitle(caption);
}

void MainWindow::SetStatusText(const QString& text) { status_->setText(text); }

QString MainWindow::StatusText() const { return status_->text(); }

void MainWindow::ShowCount() { SetStatusText(QStringLiteral("フォント: %1書体").arg(list_.Count())); }

// --- recent-item menus ------------------------------------------------------------
// The path is kept as the item's data; the caption shows it with "&" escaped.

QStringList MainWindow::RecentPaths(const QList<QAction*>& items)
{
    QStringList paths;
    for (const QAction* item : items)
        paths << item->data().toString();
    return paths;
}

void MainWindow::SetRecentPaths(QList<QAction*>& items, const QStringList& paths)
{
    for (int i = 0; i < items.size(); ++i) {
        const QString path = paths.value(i);
        items[i]->setData(path);
        items[i]->setText(QString(path).replace(u'&', QStringLiteral("&&")));
        items[i]->setVisible(!path.isEmpty());
    }
}

void MainWindow::SetRecentLists(const QStringList& paths)
{
    SetRecentPaths(recentLists_, paths);
    SetEnabled({ QStringLiteral("fmnReOpen") }, !paths.value(0).isEmpty());
}

void MainWindow::SetRecentFolders(const QStringList& paths)
{
    SetRecentPaths(recentFolders_, paths);
    SetEnabled({ QStringLiteral("fmnReSearchAdd") }, recentFolders_[0]->isVisible());
}

// --- command states ---------------------------------------------------------------

bool MainWindow::ViewerVisible() const { return windows_ && windows_->Viewer && windows_->Viewer->isVisible(); }

// A hidden action reports itself disabled; the state it would have is kept
// beside it, so that hidden items (and their shortcuts) follow the rules too.
void MainWindow::SetCommandEnabled(QAction* action, bool enabled)
{
    action->setProperty("commandEnabled", enabled);
    action->setEnabled(enabled);
}

bool MainWindow::CommandEnabled(const QString& name) const
{
    const QAction* action = Action(name);
    return action && action->property("commandEnabled").toBool();
}

void MainWindow::SetEnabled(const QStringList& names, bool enabled)
{
    for (const QString& name : names)
        SetCommandEnabled(Action(name), enabled);
}

void MainWindow::ScheduleCommandStates()
{
    if (commandStatesPending_)
        return;
    commandStatesPending_ = true;
    QTimer::singleShot(0, this, &MainWindow::UpdateCommandStates);
}

void MainWindow::UpdateCommandStates()
{
    commandStatesPending_ = false;
    const bool rows = list_.Count() > 0;
    const int selected = list_.SelectedCount();
    const bool viewer = ViewerVisible();
    SetEnabled({ QStringLiteral("fmnPrintPreview"), QStringLiteral("pmnPrintPreview"), QStringLiteral("tBtnPrintPreview"),
                   QStringLiteral("smnFind"), QStringLiteral("tBtnFind"), QStringLiteral("emnSelectAll"),
                   QStringLiteral("vmnSort"), QStringLiteral("emnSelectInvert"), QStringLiteral("smnFindChars"),
                   QStringLiteral("smnFindDuplicates") },
        rows);
    SetEnabled({ QStringLiteral("fmnPrint"), QStringLiteral("tBtnPrint") }, rows && printerAvailable_);
    SetEnabled({ QStringLiteral("emnDelete"), QStringLiteral("tBtnDelete"), QStringLiteral("emnDeleteOK"),
                   QStringLiteral("tmnCopy"), QStringLiteral("tmnOpen"), QStringLiteral("tBtnOpen"),
                   QStringLiteral("pmnInstall"), QStringLiteral("tmnInstall"), QStringLiteral("tBtnInstall"),
                   QStringLiteral("fmnProperty"), QStringLiteral("pmnProperty") },
        selected > 0);
    SetEnabled({ QStringLiteral("tBtnOpenDoc"), QStringLiteral("tmnOpenDoc"), QStringLiteral("pmnOpenDoc") }, selected == 1);
    SetEnabled({ QStringLiteral("vmnJumpPreview"), QStringLiteral("pmnJumpPreview") }, selected == 1 && viewer);
    SetEnabled({ QStringLiteral("wmnActivePreviewWindow") }, viewer);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Tool-button tips hide after five seconds, like the row tips.
    if (event->type() == QEvent::ToolTip && qobject_cast<QToolButton*>(watched)) {
        auto* button = static_cast<QToolButton*>(watched);
        QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), button->toolTip(), button, {}, kToolTipShowMs);
        return true;
    }
    if (windows_ && watched == windows_->Viewer && (event->type() == QEvent::Show || event->type() == QEvent::Hide))
        ScheduleCommandStates();
    return QMainWindow::eventFilter(watched, event);
}

// Files dropped anywhere on the window; the list view hands its drops on too.
void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    if (!event->mimeData()->hasUrls())
        return;
    event->acceptProposedAction();
    DropFiles(event->mimeData()->urls());
}

// --- stored values ------------------------------------------------------------------

void MainWindow::LoadCreationValues()
{
    SettingsStore store;
    if (auto key = store.KeyExists(QStringLiteral("Zindel\\Search")) ? store.OpenKey(QStringLiteral("Zindel\\Search"), false)
                                                                     : std::nullopt)
        SearchFolder = key->ReadString(QStringLiteral("Path"));
    if (auto key = store.KeyExists(QStringLiteral("Standard")) ? store.OpenKey(QStringLiteral("Standard"), false)
                                                               : std::nullopt)
        siblingPath_ = key->ReadString(QStringLiteral("Path"));
    if (auto key = store.KeyExists(QStringLiteral("Zindel\\Lists")) ? store.OpenKey(QStringLiteral("Zindel\\Lists"), false)
                                                                    : std::nullopt) {
        QStringList lists, folders;
        for (int i = 1; i <= 4; ++i) {
            lists << key->ReadString(QStringLiteral("List%1").arg(i));
            folders << key->ReadString(QStringLiteral("Folder%1").arg(i));
        }
        SetRecentLists(lists);
        SetRecentFolders(folders);
    }
    if (!siblingPath_.isEmpty())
        Action(QStringLiteral("OpenTyposcan"))->setVisible(QFileInfo::exists(siblingPath_));
}

void MainWindow::ApplyShowValues()
{
    SettingsStore store;
    SettingsGroup group(store, kMainKey);
    int left = x(), top = y(), width = this->width(), height = this->height();
    group.Read(QStringLiteral("Left"), left)
        .Read(QStringLiteral("Top"), top)
        .Read(QStringLiteral("Width"), width)
        .Read(QStringLiteral("Height"), height);
    const QSize screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->size() : QSize();
    if (group.Ok() && left + width <= screen.width() && top + height <= screen.height()) {
        move(left, top);
        resize(width, height);
    }
    for (int column = 0; column < FontList::kColumnCount && group.Ok(); ++column) {
        int columnWidth = view_->columnWidth(column);
        group.Read(QStringLiteral("ColWidth%1").arg(column + 1), columnWidth);
        if (group.Ok())
            view_->setColumnWidth(column, columnWidth);
    }
}

void MainWindow::SaveValues()
{
    SettingsStore store;
    const QRect frame = frameGeometry();
    SettingsGroup main(store, kMainKey);
    main.Write(QStringLiteral("Version"), kVersion)
        .Write(QStringLiteral("Left"), frame.x())
        .Write(QStringLiteral("Top"), frame.y())
        .Write(QStringLiteral("Width"), width())
        .Write(QStringLiteral("Height"), height())
        .Write(QStringLiteral("Path"), QCoreApplication::applicationFilePath());
    for (int column = 0; column < FontList::kColumnCount; ++column)
        main.Write(QStringLiteral("ColWidth%1").arg(column + 1), view_->columnWidth(column));
    SettingsGroup(store, QStringLiteral("Zindel\\Search")).Write(QStringLiteral("Path"), SearchFolder);
    SettingsGroup lists(store, QStringLiteral("Zindel\\Lists"));
    const QStringList recentLists = RecentLists();
    const QStringList recentFolders = RecentFolders();
    for (int i = 0; i < 4; ++i)
        lists.Write(QStringLiteral("List%1").arg(i + 1), recentLists.value(i));
    for (int i = 0; i < 4; ++i)
        lists.Write(QStringLiteral("Folder%1").arg(i + 1), recentFolders.value(i));
}

// --- show and close -------------------------------------------------------------------

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    if (windows_ && windows_->Viewer)
        windows_->Viewer->installEventFilter(this);
    ApplyShowValues();
    HandleCommandLine();
}

void MainWindow::HandleCommandLine()
{
    if (commandLine_.isEmpty())
        return;
    FontListUpdate update(list_);
    const QString first = ResolveGivenPath(commandLine_.constFirst());
    if (UpperExtension(first) == u".TZL") {
        LoadList(first, false);
    } else {
        AddCommandLinePaths(commandLine_);
    }
}

bool MainWindow::CloseQuery()
{
    if (!IsModified())
        return true;
    const QMessageBox::StandardButton answer = QMessageBox::warning(this, kProductTitle,
        QStringLiteral("変更内容を %1に保存しますか.").arg(FileNamePart(list_.ListPath)),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::Cancel)
        return false;
    if (answer == QMessageBox::No)
        return true;
    if (UpperExtension(list_.ListPath).isEmpty()) {
        const QString path = AskSavePath();
        if (path.isEmpty())
            return false;
        list_.ListPath = path;
    }
    // A failed write shows its message and keeps the window open: closing
    // would drop the changes that were not saved.
    return WriteListFile();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!CloseQuery()) {
        event->ignore();
        return;
    }
    if (ViewerVisible())
        windows_->Viewer->close();
    SaveValues();
    event->accept();
}

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // Back from another program, which may have renamed or removed fonts:
    // the shown paths are looked up again as the rows are painted.
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        list_.ForgetShownPaths();
        view_->viewport()->update();
    }
}

QString MainWindow::AskSavePath()
{
    QFileDialog dialog(this, QStringLiteral("名前をつけて保存"));
    dialog.setObjectName(QStringLiteral("SaveDialog2"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({ QStringLiteral("書体リスト(*.tzl)"), QStringLiteral("すべてのファイル(*.*)") });
    dialog.setDefaultSuffix(QStringLiteral("tzl"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.selectFile(list_.ListPath);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

// --- commands of the main window -------------------------------------------------------

void MainWindow::fmnExitClick() { close(); }

void MainWindow::wfmWindowStateClick()
{
    if (windowState() & (Qt::WindowMaximized | Qt::WindowMinimized))
        showNormal();
    else
        showMaximized();
}

void MainWindow::hmnContentsClick() { ShowHelp(0); }

void MainWindow::hmnTopicClick()
{
    if (windows_ && windows_->Help)
        windows_->Help->ShowSearch();
}

void MainWindow::ShowHelp(int context)
{
    if (windows_ && windows_->Help)
        windows_->Help->ShowContext(context);
}

void MainWindow::hmnAboutClick()
{
    if (windows_ && windows_->About)
        windows_->About->exec();
}

} // namespace tz
