// Commands that act on the files behind the selected rows.
#include "app/MainWindow.h"

#include "app/AppWindows.h"
#include "fileops/CopyWindow.h"
#include "fileops/DesktopShell.h"
#include "fileops/DocumentMenu.h"
#include "fileops/Documents.h"
#include "fileops/FolderDialog.h"
#include "fileops/InstallWizard.h"
#include "fileops/PropertiesWindow.h"
#include "fontfile/InstalledFontFiles.h"
#include "platform/PathResolver.h"
#include "settings/EnvironmentSettings.h"
#include "widgets/BusyCursor.h"
#include "widgets/MessageText.h"

#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>

namespace tz {

namespace {

    // A Yes/No question with No as the default.
    bool Confirm(QWidget* parent, const QString& question)
    {
        return QMessageBox::question(
                   parent, kProductTitle, DisplayText(question), QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            == QMessageBox::Yes;
    }

} // namespace

void MainWindow::lsvFontNamesDblClick()
{
    if (list_.SelectedCount() == 0)
        return;
    if (list_.SelectedCount() > 1
        && !Confirm(this, QStringLiteral("複数のフォントを開こうとしています．\r\nよろしいですか")))
        return;
    for (const QString& path : SelectedFontFiles(list_))
        DesktopShell::Current().Open(path);
}

void MainWindow::tmnOpenDocClick()
{
    const int row = list_.FirstSelected();
    if (row == FontList::kNone)
        return;
    auto* menu = findChild<DocumentMenu*>();
    if (!menu)
        menu = new DocumentMenu(workFolder_.Path(), this);
    menu->Offer(list_.Entry(row), QCursor::pos(), Environment().Formats());
}

void MainWindow::tmnCopyClick()
{
    if (list_.SelectedCount() == 0 || !windows_ || !windows_->Copying)
        return;
    const QString folder = ChooseFontFolder(this, QStringLiteral("SelectFolderDialog2"));
    if (folder.isEmpty())
        return;
    windows_->Copying->Copy(folder, Environment().macExtension, Environment().Formats());
    const QStringList& messages = windows_->Copying->Messages();
    if (!messages.isEmpty())
        QMessageBox::information(this, kProductTitle, DisplayText(messages.join(QStringLiteral("\r\n"))));
}

void MainWindow::tmnInstallClick()
{
    if (list_.SelectedCount() > 0 && windows_ && windows_->InstallWizard)
        windows_->InstallWizard->Install(Environment().Formats());
}

// The user's own font folder, made when it is missing.
void MainWindow::tmnOpenFolder1Click()
{
    const QString folder = InstalledFontFiles::FontsFolder();
    if (QDir().mkpath(folder))
        DesktopShell::Current().Open(folder);
}

void MainWindow::tmnOpenFolder2Click()
{
    const QStringList folders = SelectedFolders(list_);
    if (folders.isEmpty())
        return;
    if (folders.size() >= 2
        && !Confirm(this, QStringLiteral("%1個のフォルダを開こうとしています．\r\nよろしいですか").arg(folders.size())))
        return;
    for (const QString& folder : folders) {
        const QString path = ResolvePath(folder);
        if (QFileInfo(path).isDir())
            DesktopShell::Current().Open(path);
    }
}

void MainWindow::fmnPropertyClick()
{
    if (list_.SelectedCount() == 0 || !windows_ || !windows_->Properties)
        return;
    if (list_.SelectedCount() == 1) {
        const QString path = ResolvePath(list_.Entry(list_.FirstSelected()).FilePath);
        // Where no file manager shows properties, the program's own summary
        // of that one file does.
        if (!QFileInfo::exists(path) || DesktopShell::Current().ShowProperties(path))
            return;
    }
    SelectionSummary summary;
    {
        const BusyCursor busy;
        summary = SummarizeSelection(list_);
    }
    windows_->Properties->ShowSummary(summary, this);
}

} // namespace tz
