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
#include <QMessageBox>
#include <QScreen>
#include <QStatusBar>

namespace tz {

namespace {

    const QString kMainKey = QStringLiteral("\\Software\\Quillmoor\\Typoscan\\Zindel");

} // namespace

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
    ConnectDocument();
    RefreshCaption();

    connect(&list_, &FontList::CountChanged, this, &MainWindow::ScheduleCommandStates);
    connect(&list_, &FontList::SelectionFlagsChanged, this, &MainWindow::ScheduleCommandStates);
    connect(view_->selectionModel(), &QItemSelectionModel::selectionChanged, this, &MainWindow::ScheduleCommandStates);
    connect(view_, &QAbstractItemView::doubleClicked, this, &MainWindow::lsvFontNamesDblClick);
    connect(view_, &FontListView::FilesDropped, this, &MainWindow::DropFiles);
    connect(view_, &FontListView::RowsDropped, this, [this](int target) {
        if (list_.MoveSelectedBefore(target))
            document_.SetModified(true);
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

// --- caption and status bar ---------------------------------------------------

void MainWindow::RefreshCaption()
{
    const QString caption = FileNamePart(document_.Path()) + QStringLiteral(" - ") + kProductTitle;
    setWindowTitle(caption);
}

void MainWindow::SetStatusText(const QString& text) { status_->setText(text); }

QString MainWindow::StatusText() const { return status_->text(); }

void MainWindow::ShowCount() { SetStatusText(QStringLiteral("フォント: %1書体").arg(list_.Count())); }

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
    document_.LoadRecentItems(store);
    if (!siblingPath_.isEmpty())
        commands_.OpenTyposcan->setVisible(QFileInfo::exists(siblingPath_));
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
    document_.SaveRecentItems(store);
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
    if (!document_.Modified())
        return true;
    const QMessageBox::StandardButton answer = QMessageBox::warning(this, kProductTitle,
        QStringLiteral("変更内容を %1に保存しますか.").arg(FileNamePart(document_.Path())),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::Cancel)
        return false;
    if (answer == QMessageBox::No)
        return true;
    if (UpperExtension(document_.Path()).isEmpty()) {
        const QString path = AskSavePath();
        if (path.isEmpty())
            return false;
        document_.SetPath(path);
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
    dialog.selectFile(document_.Path());
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
