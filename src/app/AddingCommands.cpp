// Commands that add fonts: the add dialog, dropped files, the command line, the
// folder search and the installed fonts.
#include "app/AppWindows.h"
#include "app/MainWindow.h"
#include "collect/AddPaths.h"
#include "collect/FolderSearchWindow.h"
#include "collect/FontPreviewPanel.h"
#include "collect/Shortcut.h"
#include "fontlist/FontListView.h"
#include "platform/Text.h"
#include "settings/EnvironmentSettings.h"
#include "settings/SampleTextDialog.h"
#include "widgets/BusyCursor.h"
#include "widgets/MessageText.h"
#include "widgets/NameListMessage.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>

namespace tz {

namespace {

    // "*.ttf" as a pattern that matches any letter case: Linux file systems
    // tell "A.TTF" from "a.ttf", fonts from Windows come in either.
    QString AnyCase(const QString& pattern)
    {
        QString out;
        for (QChar c : pattern) {
            if (c.isLetter() && c.unicode() < 0x80)
                out += u'[' + c.toLower() + c.toUpper() + u']';
            else
                out += c;
        }
        return out;
    }

    QString Filter(const QString& caption, const QStringList& patterns)
    {
        QStringList anyCase;
        for (const QString& p : patterns)
            anyCase << AnyCase(p);
        return caption + QStringLiteral(" (") + anyCase.join(u' ') + u')';
    }

} // namespace

FolderSearchWindow& MainWindow::SearchWindow() const { return *windows_->FolderSearch; }

void MainWindow::ShowNotAdded(const FontAdder& adder, const QString& closingLine)
{
    if (adder.Failed.isEmpty())
        return;
    QList<NameListMessage::Row> rows;
    rows.reserve(adder.Failed.size());
    for (const NotAddedFile& file : adder.Failed)
        rows.append({ file.Name, ReasonText(file.Reason) });
    NameListMessage::Show(this, DisplayText(closingLine), rows);
}

void MainWindow::FinishAdding()
{
    if (list_.SelectedCount() > 0)
        view_->MakeVisible(list_.FirstSelected());
}

// Walks folder with the search window; its files are added through adder.
void MainWindow::SearchFolderWith(FontAdder& adder, const QString& folder)
{
    FolderSearchWindow& window = SearchWindow();
    FolderSearch& walk = window.Walk();
    walk.Failed.clear();
    walk.ReadSettings = [this] {
        const EnvironmentSettings& env = Environment();
        return FolderSearchSettings { env.searchArchives, env.searchSelfExtracting, env.SearchFaceSelection(),
            env.Formats() };
    };
    walk.AddFile = [&adder](const QString& path, int selection) { return adder.AddPathOnDisk(path, selection); };
    window.Search(SearchStart(folder));
    adder.Failed << walk.Failed;
}

// A folder among the given paths: searched with the search window, it becomes
// the newest recent folder.
AddedPaths MainWindow::AddGivenPaths(FontAdder& adder, const QStringList& paths, const AddOptions& options)
{
    return tz::AddGivenPaths(adder, paths, options, [this](const QString& folder, FontAdder& folderAdder) {
        SearchFolder = SearchStart(folder);
        SearchFolderWith(folderAdder, folder);
        PushRecentFolder();
    });
}

void MainWindow::fmnAddClick()
{
    FontAdder adder(list_, workFolder_.Path(), Environment().Formats());
    const AddOptions options { Environment().DropFaceSelection(), true };
    QFileDialog dialog(this, QStringLiteral("書体を追加"), addDialogFolder_);
    dialog.setObjectName(QStringLiteral("COpenDialog0"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    QStringList fonts { "*.ttf", "*.ttc", "*.otf", "*.mtt", "*.sui", "*.suit" };
    QStringList archives { "*.zip", "*.lzh", "*.cab", "*.exe" };
    if (Environment().Formats() == FontFormats::All) {
        fonts << "*.otc" << "*.woff" << "*.woff2" << "*.dfont";
        archives << "*.7z" << "*.tar" << "*.tgz" << "*.tar.gz" << "*.tar.bz2" << "*.tar.xz" << "*.rar";
    }
    dialog.setNameFilters({
        Filter(QStringLiteral("TrueTypeファイル"), fonts),
        Filter(QStringLiteral("書庫ファイル(") + archives.join(QStringLiteral(", ")) + u')', archives),
        QStringLiteral("すべてのファイル(*.*) (*)"),
    });
    // A panel of its own for every dialog, released as soon as the dialog closes.
    auto* preview = new FontPreviewPanel(dialog, windows_->SampleTexts->Texts(), Environment().Formats());
    bool added = false;
    const bool accepted = dialog.exec() == QDialog::Accepted;
    delete preview;
    if (accepted && !dialog.selectedFiles().isEmpty()) {
        BusyCursor busy;
        const QStringList files = dialog.selectedFiles();
        addDialogFolder_ = QFileInfo(files.constFirst()).absolutePath();
        {
            FontListUpdate update(list_);
            list_.DeselectAll();
            added = AddGivenPaths(adder, files, options).Rows > 0;
            FinishAdding();
        }
        QCoreApplication::processEvents();
    }
    ShowNotAdded(adder, kNotAddedFiles);
    ShowCount();
    if (added)
        document_.SetModified(true);
}

void MainWindow::DropFiles(const QList<QUrl>& urls)
{
    raise();
    activateWindow();
    QStringList paths;
    for (const QUrl& url : urls) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    if (paths.isEmpty())
        return;
    const QString first = ResolveGivenPath(paths.constFirst());
    if (paths.size() == 1 && UpperExtension(first) == u".TZL") {
        OpenListFile(first);
        return;
    }
    const AddOptions options { Environment().DropFaceSelection() };
    list_.SortKey = -1;
    FontAdder adder(list_, workFolder_.Path(), Environment().Formats());
    bool added = false;
    {
        BusyCursor busy;
        FontListUpdate update(list_);
        list_.DeselectAll();
        added = AddGivenPaths(adder, paths, options).Rows > 0;
        FinishAdding();
    }
    QCoreApplication::processEvents();
    ShowNotAdded(adder, kNotAddedFilesOrFolders);
    ShowCount();
    if (added)
        document_.SetModified(true);
}

void MainWindow::AddCommandLinePaths(const QStringList& paths)
{
    FontAdder adder(list_, workFolder_.Path(), Environment().Formats());
    const AddOptions options { Environment().DropFaceSelection() };
    bool added = false;
    {
        BusyCursor busy;
        added = AddGivenPaths(adder, paths, options).Rows > 0;
    }
    ShowNotAdded(adder, kNotAddedFiles);
    ShowCount();
    // Rows that came from the command line are as unsaved as any others: the
    // close query must offer to save them.
    if (added)
        document_.SetModified(true);
}

void MainWindow::StartFolderSearch()
{
    FontAdder adder(list_, workFolder_.Path(), Environment().Formats());
    {
        FontListUpdate update(list_);
        list_.DeselectAll();
        SearchFolderWith(adder, SearchFolder);
        FinishAdding();
    }
    raise();
    activateWindow();
    ShowNotAdded(adder, kNotAddedFiles);
    PushRecentFolder();
    ShowCount();
    document_.SetModified(true);
}

void MainWindow::fmnSearchAddClick()
{
    QFileDialog dialog(this, QStringLiteral("TrueTypeフォントの検索フォルダﾞを指定して下さい"),
        SearchFolder.isEmpty() ? QDir::homePath() : SearchFolder);
    dialog.setObjectName(QStringLiteral("SearchFolderDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    SearchFolder = dialog.selectedFiles().constFirst();
    StartFolderSearch();
}

void MainWindow::fmnReSearchAdd0Click()
{
    if (const auto* item = qobject_cast<QAction*>(sender())) {
        SearchFolder = item->data().toString();
        StartFolderSearch();
    }
}

void MainWindow::fmnSystemAddClick()
{
    FontAdder adder(list_, workFolder_.Path(), Environment().Formats());
    {
        BusyCursor busy;
        FontListUpdate update(list_);
        list_.DeselectAll();
        list_.SortKey = -1;
        AddInstalledFonts(adder, { Environment().SearchFaceSelection() });
        FinishAdding();
    }
    ShowNotAdded(adder, kNotAddedFiles);
    raise();
    activateWindow();
    ShowCount();
    document_.SetModified(true);
}

} // namespace tz
