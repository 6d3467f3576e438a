// The main window's commands: the actions, the menus, the tool bar and the
// context menu they sit in, the recent-item menus and the command states.
#include "app/AppWindows.h"
#include "app/Icons.h"
#include "app/MainWindow.h"
#include "fontlist/FontListView.h"
#include "fontlist/RecentItems.h"
#include "viewer/SampleViewer.h"

#include <QHelpEvent>
#include <QMenuBar>
#include <QShortcut>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>

namespace tz {

namespace {

    // Puts actions into a menu or tool bar in order; a null entry is a
    // separator.
    template <class Target> void AddItems(Target* target, std::initializer_list<QAction*> actions)
    {
        for (QAction* action : actions) {
            if (!action)
                target->addSeparator();
            else
                target->addAction(action);
        }
    }

} // namespace

struct MainWindow::ActionSpec {
    QAction* MainCommands::*command;
    const char* name;
    const char16_t* caption;
    QKeySequence shortcut;
    void (MainWindow::*slot)();
    bool disabled = false;
    bool hidden = false;
};

QAction* MainWindow::MakeAction(const ActionSpec& spec)
{
    auto* action = new QAction(QString::fromUtf16(spec.caption), this);
    action->setObjectName(QString::fromLatin1(spec.name));
    action->setShortcut(spec.shortcut);
    SetCommandEnabled(action, !spec.disabled);
    action->setVisible(!spec.hidden);
    if (spec.slot)
        connect(action, &QAction::triggered, this, spec.slot);
    commands_.*spec.command = action;
    byName_.insert(action->objectName(), action);
    return action;
}

void MainWindow::BuildActions()
{
    using M = MainWindow;
    using C = MainCommands;
    const ActionSpec specs[] = {
        { &C::fmnAdd, "fmnAdd", u"追加(&A)...", {}, &M::fmnAddClick },
        { &C::fmnSearchAdd, "fmnSearchAdd", u"検索追加(&S)...", Qt::Key_F3, &M::fmnSearchAddClick },
        { &C::fmnSystemAdd, "fmnSystemAdd", u"インストール済みフォントを検索追加(&I)", Qt::SHIFT | Qt::Key_F3,
            &M::fmnSystemAddClick },
        { &C::fmnNew, "fmnNew", u"リストを新規作成(&N)", Qt::CTRL | Qt::Key_N, &M::fmnNewClick },
        { &C::fmnOpen, "fmnOpen", u"リストを開く(&O)...", Qt::CTRL | Qt::Key_O, &M::fmnOpenClick },
        { &C::fmnAddList, "fmnAddList", u"現在のリストに追加...", {}, &M::fmnAddListClick },
        { &C::fmnSave, "fmnSave", u"上書き保存(&S)", Qt::CTRL | Qt::Key_S, &M::fmnSaveClick, true },
        { &C::fmnSaveAs, "fmnSaveAs", u"名前を付けて保存(&A)...", {}, &M::fmnSaveAsClick },
        { &C::fmnPrint, "fmnPrint", u"印刷(&P)...", Qt::CTRL | Qt::Key_P, &M::fmnPrintClick },
        { &C::fmnPrintPreview, "fmnPrintPreview", u"印刷プレビュー(&V)", Qt::Key_F5, &M::fmnPrintPreviewClick },
        { &C::fmnSetup, "fmnSetup", u"用紙設定(&U)...", {}, &M::fmnSetupClick },
        { &C::fmnExit, "fmnExit", u"終了(&X)", Qt::CTRL | Qt::Key_Q, &M::fmnExitClick },
        { &C::emnDelete, "emnDelete", u"リストから削除(&D)", Qt::Key_Delete, &M::emnDeleteClick },
        { &C::emnDeleteOK, "emnDeleteOK", u"確認せずリストから削除", {}, &M::emnDeleteOKClick, false, true },
        { &C::emnSelectAll, "emnSelectAll", u"すべて選択(&A)", Qt::CTRL | Qt::Key_A, &M::emnSelectAllClick },
        { &C::emnSelectInvert, "emnSelectInvert", u"選択の反転(&I)", {}, &M::emnSelectInvertClick },
        { &C::smnFind, "smnFind", u"検索(&S)...", Qt::CTRL | Qt::Key_F, &M::smnFindClick },
        { &C::smnFindChars, "smnFindChars", u"文字を含む書体を選択(&C)...", Qt::CTRL | Qt::SHIFT | Qt::Key_F,
            &M::smnFindCharsClick },
        { &C::smnFindDuplicates, "smnFindDuplicates", u"重複する書体を選択(&D)", {}, &M::smnFindDuplicatesClick },
        { &C::vmnSortByName, "vmnSortByName", u"フォント名順(&N)", {}, &M::vmnSortByPathClick },
        { &C::vmnSortByFamily, "vmnSortByFamily", u"ファミリ名順(&F)", {}, &M::vmnSortByPathClick },
        { &C::vmnSortByPath, "vmnSortByPath", u"ファイル順(&P)", {}, &M::vmnSortByPathClick },
        { &C::vmnSortByArchive, "vmnSortByArchive", u"書庫内ファイル順(&A)", {}, &M::vmnSortByPathClick },
        { &C::vmnSortBySize, "vmnSortBySize", u"サイズ順(&Z)", {}, &M::vmnSortByPathClick },
        { &C::vmnJumpPreview, "vmnJumpPreview", u"印刷プレビューへジャンプ(&J)", {}, &M::pmnJumpPreviewClick },
        { &C::tmnOpen, "tmnOpen", u"選択書体を開く(&O)", {}, &M::lsvFontNamesDblClick },
        { &C::tmnOpenDoc, "tmnOpenDoc", u"選択書体のドキュメントを開く(&D)...", {}, &M::tmnOpenDocClick, true },
        { &C::tmnCopy, "tmnCopy", u"選択書体をコピー(&C)...", {}, &M::tmnCopyClick, true },
        { &C::tmnInstall, "tmnInstall", u"選択書体をインストール(&I)...", {}, &M::tmnInstallClick, true },
        { &C::tmnOpenFolder1, "tmnOpenFolder1", u"フォントフォルダを開く(&F)", {}, &M::tmnOpenFolder1Click },
        { &C::tmnOpenFolder2, "tmnOpenFolder2", u"選択書体のフォルダを開く(&S)", {}, &M::tmnOpenFolder2Click },
        { &C::fmnProperty, "fmnProperty", u"選択書体のプロパティ(&R)", {}, &M::fmnPropertyClick },
        { &C::fmnFileTypeAdd, "fmnFileTypeAdd", u".tzlを登録", {}, &M::fmnFileTypeAddClick },
        { &C::fmnFileTypeRemove, "fmnFileTypeRemove", u".tzlを登録解除", {}, &M::fmnFileTypeRemoveClick },
        { &C::OpenTyposcan, "OpenTyposcan", u"Typoscanを起動(&F)", {}, &M::OpenTyposcanClick, false, true },
        { &C::omnEnv, "omnEnv", u"環境設定(&E)...", {}, &M::omnEnvClick },
        { &C::omnMessage, "omnMessage", u"見本文章設定(&M)...", {}, &M::omnMessageClick },
        { &C::wmnActivePreviewWindow, "wmnActivePreviewWindow", u"印刷プレビューウィンドウをアクティブにする(&A)", {},
            &M::wmnActivePreviewWindowClick },
        { &C::wfmWindowState, "wfmWindowState", u"ウィンドウサイズの切替", Qt::Key_F11, &M::wfmWindowStateClick },
        { &C::hmnContents, "hmnContents", u"目次(&C)", {}, &M::hmnContentsClick },
        { &C::hmnTopic, "hmnTopic", u"トピックの検索(&T)", {}, &M::hmnTopicClick },
        { &C::hmnAbout, "hmnAbout", u"バージョン情報(&A)...", {}, &M::hmnAboutClick },
        // Tool buttons (the caption is the tool tip).
        { &C::tBtnSearchAdd, "tBtnSearchAdd", u"検索追加", {}, &M::fmnSearchAddClick },
        { &C::tbnOpenList, "tbnOpenList", u"リストを開く", {}, &M::fmnOpenClick },
        { &C::tBtnSave, "tBtnSave", u"上書き保存", {}, &M::fmnSaveClick, true },
        { &C::tBtnPageSetup, "tBtnPageSetup", u"用紙設定", {}, &M::fmnSetupClick },
        { &C::tBtnPrintPreview, "tBtnPrintPreview", u"印刷プレビュー", {}, &M::fmnPrintPreviewClick },
        { &C::tBtnPrint, "tBtnPrint", u"印刷", {}, &M::fmnPrintClick },
        { &C::tBtnEnv, "tBtnEnv", u"環境設定", {}, &M::omnEnvClick },
        { &C::tBtnMessage, "tBtnMessage", u"見本文章設定", {}, &M::omnMessageClick },
        { &C::tBtnFind, "tBtnFind", u"検索", {}, &M::smnFindClick, true },
        { &C::tBtnOpen, "tBtnOpen", u"選択書体を開く", {}, &M::lsvFontNamesDblClick, true },
        { &C::tBtnOpenDoc, "tBtnOpenDoc", u"選択書体のドキュメントを開く", {}, &M::tmnOpenDocClick, true },
        { &C::tBtnInstall, "tBtnInstall", u"選択書体をインストール", {}, &M::tmnInstallClick, true },
        { &C::tBtnDelete, "tBtnDelete", u"リストから削除", {}, &M::emnDeleteClick, true },
        // Context menu items.
        { &C::pmnSearchAdd, "pmnSearchAdd", u"検索追加(&S)...", {}, &M::fmnSearchAddClick },
        { &C::pmnPrintPreview, "pmnPrintPreview", u"印刷プレビュー(&V)", {}, &M::fmnPrintPreviewClick },
        { &C::pmnJumpPreview, "pmnJumpPreview", u"印刷プレビューへジャンプ(&J)", {}, &M::pmnJumpPreviewClick },
        { &C::pmnOpenDoc, "pmnOpenDoc", u"選択書体のドキュメントを開く(&D)...", {}, &M::tmnOpenDocClick },
        { &C::pmnInstall, "pmnInstall", u"選択書体をインストール(&I)...", {}, &M::tmnInstallClick, false, true },
        { &C::pmnEnv, "pmnEnv", u"環境設定(&E)...", {}, &M::omnEnvClick },
        { &C::pmnMessage, "pmnMessage", u"見本文章設定(&M)...", {}, &M::omnMessageClick },
        { &C::pmnProperty, "pmnProperty", u"選択書体のプロパティ(&R)", {}, &M::fmnPropertyClick },
    };
    for (const ActionSpec& spec : specs)
        MakeAction(spec);
    const MainCommands& c = commands_;
    // The sort items carry their column number.
    int column = 0;
    for (QAction* item : { c.vmnSortByName, c.vmnSortByFamily, c.vmnSortByPath, c.vmnSortByArchive, c.vmnSortBySize })
        item->setData(++column);
    // The hidden item keeps its shortcut working.
    auto* deleteNow = new QShortcut(Qt::SHIFT | Qt::Key_Delete, this);
    connect(deleteNow, &QShortcut::activated, this, [this] {
        if (CommandEnabled(commands_.emnDeleteOK))
            emnDeleteOKClick();
    });
    auto* help = new QShortcut(Qt::Key_F1, this);
    connect(help, &QShortcut::activated, this, [this] { ShowHelp(kHelpContext); });
}

QMenu* MainWindow::AddSubmenu(
    QMenu* parent, QAction* MainCommands::*command, const QString& name, const QString& caption, bool enabled)
{
    QMenu* menu = parent->addMenu(caption);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    SetCommandEnabled(menu->menuAction(), enabled);
    commands_.*command = menu->menuAction();
    byName_.insert(name, menu->menuAction());
    return menu;
}

void MainWindow::AddRecentMenu(QMenu* parent, QAction* MainCommands::*command, const QString& name,
    const QString& caption, QList<QAction*>& items, void (MainWindow::*slot)())
{
    QMenu* menu = AddSubmenu(parent, command, name, caption, false);
    for (int i = 0; i < kRecentItemCount; ++i) {
        auto* item = new QAction(this);
        item->setObjectName(name + QString::number(i));
        SetCommandEnabled(item, true);
        item->setVisible(false);
        connect(item, &QAction::triggered, this, slot);
        byName_.insert(item->objectName(), item);
        menu->addAction(item);
        items.append(item);
    }
}

void MainWindow::BuildMenus()
{
    const MainCommands& c = commands_;
    QMenuBar* bar = menuBar();
    auto menu = [bar](const char* name, const char16_t* caption) {
        QMenu* m = bar->addMenu(QString::fromUtf16(caption));
        m->setObjectName(QString::fromLatin1(name));
        return m;
    };

    QMenu* file = menu("FileMenu", u"ファイル(&F)");
    AddItems(file, { c.fmnAdd, c.fmnSearchAdd });
    AddRecentMenu(file, &MainCommands::fmnReSearchAdd, QStringLiteral("fmnReSearchAdd"),
        QStringLiteral("最近検索したフォルダ"), recentFolders_, &MainWindow::fmnReSearchAdd0Click);
    AddItems(file, { c.fmnSystemAdd, nullptr, c.fmnNew, c.fmnOpen });
    AddRecentMenu(file, &MainCommands::fmnReOpen, QStringLiteral("fmnReOpen"), QStringLiteral("リストを開き直す"),
        recentLists_, &MainWindow::fmnReOpen0Click);
    AddItems(file,
        { c.fmnAddList, c.fmnSave, c.fmnSaveAs, nullptr, c.fmnPrint, c.fmnPrintPreview, c.fmnSetup, nullptr,
            c.fmnExit });

    QMenu* edit = menu("EditMenu", u"編集(&E)");
    AddItems(edit, { c.emnDelete, c.emnDeleteOK, nullptr, c.emnSelectAll, c.emnSelectInvert });

    QMenu* search = menu("SearchMenu", u"検索(&S)");
    AddItems(search, { c.smnFind, nullptr, c.smnFindChars, c.smnFindDuplicates });

    QMenu* view = menu("ViewMenu", u"表示(&V)");
    QMenu* sort = AddSubmenu(
        view, &MainCommands::vmnSort, QStringLiteral("vmnSort"), QStringLiteral("フォントの整列(&I)"), false);
    AddItems(sort, { c.vmnSortByName, c.vmnSortByFamily, c.vmnSortByPath, c.vmnSortByArchive, c.vmnSortBySize });
    AddItems(view, { nullptr, c.vmnJumpPreview });

    QMenu* tools = menu("ToolsMenu", u"ツール(&T)");
    AddItems(tools,
        { c.tmnOpen, c.tmnOpenDoc, nullptr, c.tmnCopy, c.tmnInstall, nullptr, c.tmnOpenFolder1, c.tmnOpenFolder2,
            nullptr, c.fmnProperty, nullptr });
    QMenu* association = AddSubmenu(tools, &MainCommands::E1, QStringLiteral("E1"), QStringLiteral("関連付け"), true);
    AddItems(association, { c.fmnFileTypeAdd, c.fmnFileTypeRemove });
    AddItems(tools, { nullptr, c.OpenTyposcan });

    QMenu* options = menu("OptionsMenu", u"オプション(&O)");
    AddItems(options, { c.omnEnv, c.omnMessage });

    QMenu* window = menu("WindowMenu", u"ウィンドウ(&W)");
    AddItems(window, { c.wmnActivePreviewWindow, nullptr, c.wfmWindowState });

    QMenu* help = menu("HelpMenu", u"ヘルプ(&H)");
    AddItems(help, { c.hmnContents, c.hmnTopic, nullptr, c.hmnAbout });
}

void MainWindow::BuildToolBar()
{
    const MainCommands& c = commands_;
    QToolBar* bar = addToolBar(QStringLiteral("ToolBar1"));
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setIconSize(QSize(16, 16));
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    AddItems(bar,
        { c.tBtnSearchAdd, nullptr, c.tbnOpenList, c.tBtnSave, nullptr, c.tBtnPageSetup, c.tBtnPrintPreview,
            c.tBtnPrint, nullptr, c.tBtnEnv, c.tBtnMessage, nullptr, c.tBtnFind, c.tBtnOpen, c.tBtnOpenDoc,
            c.tBtnInstall, nullptr, c.tBtnDelete });
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
    const MainCommands& c = commands_;
    popup_ = new QMenu(this);
    popup_->setObjectName(QStringLiteral("PopupMenu1"));
    AddItems(popup_,
        { c.pmnSearchAdd, nullptr, c.pmnPrintPreview, c.pmnJumpPreview, nullptr, c.pmnOpenDoc, c.pmnInstall, nullptr,
            c.pmnEnv, c.pmnMessage, nullptr, c.pmnProperty });
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

// --- the document's state in the commands ---------------------------------------
// Save follows the modified state; the recent items keep their path as the
// item's data and show it with "&" escaped.

void MainWindow::ConnectDocument()
{
    connect(&document_, &ListDocument::ModifiedChanged, this, [this](bool modified) {
        SetEnabled({ commands_.fmnSave, commands_.tBtnSave }, modified);
    });
    connect(&document_, &ListDocument::RecentListsChanged, this, [this](const QStringList& paths) {
        ShowRecentPaths(recentLists_, paths);
        SetEnabled({ commands_.fmnReOpen }, !paths.value(0).isEmpty());
    });
    connect(&document_, &ListDocument::RecentFoldersChanged, this, [this](const QStringList& paths) {
        ShowRecentPaths(recentFolders_, paths);
        SetEnabled({ commands_.fmnReSearchAdd }, !paths.value(0).isEmpty());
    });
}

void MainWindow::ShowRecentPaths(const QList<QAction*>& items, const QStringList& paths)
{
    for (int i = 0; i < items.size(); ++i) {
        const QString path = paths.value(i);
        items[i]->setData(path);
        items[i]->setText(QString(path).replace(u'&', QStringLiteral("&&")));
        items[i]->setVisible(!path.isEmpty());
    }
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

bool MainWindow::CommandEnabled(const QAction* action) { return action && action->property("commandEnabled").toBool(); }

void MainWindow::SetEnabled(std::initializer_list<QAction*> actions, bool enabled)
{
    for (QAction* action : actions)
        SetCommandEnabled(action, enabled);
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
    const MainCommands& c = commands_;
    const bool rows = list_.Count() > 0;
    const int selected = list_.SelectedCount();
    const bool viewer = ViewerVisible();
    SetEnabled({ c.fmnPrintPreview, c.pmnPrintPreview, c.tBtnPrintPreview, c.smnFind, c.tBtnFind, c.emnSelectAll,
                   c.vmnSort, c.emnSelectInvert, c.smnFindChars, c.smnFindDuplicates },
        rows);
    SetEnabled({ c.fmnPrint, c.tBtnPrint }, rows && printerAvailable_);
    SetEnabled({ c.emnDelete, c.tBtnDelete, c.emnDeleteOK, c.tmnCopy, c.tmnOpen, c.tBtnOpen, c.pmnInstall, c.tmnInstall,
                   c.tBtnInstall, c.fmnProperty, c.pmnProperty },
        selected > 0);
    SetEnabled({ c.tBtnOpenDoc, c.tmnOpenDoc, c.pmnOpenDoc }, selected == 1);
    SetEnabled({ c.vmnJumpPreview, c.pmnJumpPreview }, selected == 1 && viewer);
    SetEnabled({ c.wmnActivePreviewWindow }, viewer);
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

} // namespace tz
