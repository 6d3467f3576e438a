// Commands on list files, recent lists and the file association.
#include "app/Icons.h"
#include "app/MainWindow.h"
#include "widgets/BusyCursor.h"
#include "widgets/MessageText.h"
#include "app/ShellIntegration.h"
#include "fontlist/FontListView.h"
#include "fontlist/ListFile.h"
#include "fontlist/ListOpenDialog.h"
#include "fontlist/PreviousFormatSizes.h"
#include "platform/Text.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>

namespace tz {

namespace {

    // The texts keep their designed line breaks; DisplayText shows them.
    void ShowError(QWidget* parent, const QString& text) { QMessageBox::critical(parent, kProductTitle, DisplayText(text)); }

    bool AskConversion(QWidget* parent)
    {
        QApplication::restoreOverrideCursor();
        const QMessageBox::StandardButton answer = QMessageBox::warning(parent, kProductTitle,
            DisplayText(QStringLiteral(
                "旧形式の書体リストを読み込もうとしています．\r\rこの書体リストは現在のバージョンへ変換を行いな"
                "がら読み込みます．この作業には書体数やメディアタイプ等によって数秒から数分かかります．\r\r"
                "読み込み作業を継続してよろしいですか．")),
            QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        return answer == QMessageBox::Yes;
    }

    const QString kCannotRead = QStringLiteral("書体リストを読み込めません");

} // namespace

bool MainWindow::RefusedAsNoList(const ListFileBytes& file)
{
    if (file.Status != ListReadStatus::Read || IsFontList(file.Content))
        return false;
    ShowError(this, kCannotRead);
    return true;
}

void MainWindow::LoadList(const QString& path, bool ignoreDriveLetter)
{
    // A file that is no font list leaves the list, its name and its state
    // as they were.
    const ListFileBytes file = LoadListFile(path);
    if (RefusedAsNoList(file))
        return;
    document_.SetPath(path);
    {
        FontListUpdate update(list_);
        list_.Clear();
        ReadListFile(file, path, ignoreDriveLetter);
    }
    RefreshCaption();
    document_.SetModified(false);
}

bool MainWindow::ConfirmDiscard()
{
    if (!document_.Modified())
        return true;
    return QMessageBox::question(this, kProductTitle,
               DisplayText(QStringLiteral("編集中の書体リストを破棄します.\r\nよろしいですか.")),
               QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
        == QMessageBox::Yes;
}

void MainWindow::fmnNewClick()
{
    if (!ConfirmDiscard())
        return;
    document_.StartUntitled();
    {
        FontListUpdate update(list_);
        list_.Clear();
    }
    RefreshCaption();
    ShowCount();
    document_.SetModified(false);
}

void MainWindow::fmnOpenClick()
{
    ListOpenDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString path = dialog.ChosenFile();
    if (UpperExtension(path) != u".TZL" || !ConfirmDiscard())
        return;
    LoadList(path, dialog.IgnoreDriveLetter());
}

void MainWindow::fmnReOpen0Click()
{
    if (const auto* item = qobject_cast<QAction*>(sender()))
        OpenListFile(item->data().toString());
}

void MainWindow::OpenListFile(const QString& path)
{
    if (ConfirmDiscard())
        LoadList(path, false);
}

void MainWindow::fmnAddListClick()
{
    ListOpenDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const ListFileBytes file = LoadListFile(dialog.ChosenFile());
    if (RefusedAsNoList(file))
        return;
    {
        FontListUpdate update(list_);
        list_.DeselectAll();
        ReadListFile(file, dialog.ChosenFile(), dialog.IgnoreDriveLetter());
    }
    if (const int first = list_.FirstSelected(); first != FontList::kNone)
        view_->MakeVisible(first);
    RefreshCaption();
    document_.SetModified(true);
}

void MainWindow::fmnSaveClick()
{
    if (UpperExtension(document_.Path()).isEmpty()) {
        fmnSaveAsClick();
        return;
    }
    if (!WriteListFile())
        return; // nothing was saved: the list stays modified
    RefreshCaption();
    document_.SetModified(false);
}

void MainWindow::fmnSaveAsClick()
{
    const QString path = AskSavePath();
    if (path.isEmpty())
        return;
    const QString previous = document_.Path();
    document_.SetPath(path);
    if (!WriteListFile()) {
        document_.SetPath(previous); // the list still belongs where it was
        return;
    }
    RefreshCaption();
    document_.SetModified(false);
}

bool MainWindow::WriteListFile()
{
    if (tz::WriteListFile(list_, document_.Path()))
        return true;
    ShowError(this, QStringLiteral("ファイルの保存に失敗しました"));
    return false;
}

void MainWindow::ReadListFile(const ListFileBytes& file, const QString& path, bool ignoreDriveLetter)
{
    if (file.Status == ListReadStatus::CannotOpen) {
        ShowError(this, kCannotRead);
        return;
    }
    ListReadOptions options;
    options.IgnoreDriveLetter = ignoreDriveLetter;
    options.ConfirmConversion = [this] { return AskConversion(this); };
    options.MeasureSize = MeasureWithWorkFolder(Work().Path(), Environment().Formats());
    ListReadResult result;
    if (file.Status == ListReadStatus::Read) {
        BusyCursor busy;
        result = ReadListContent(list_, file.Content, path, options);
    } else {
        result.Status = file.Status;
    }
    if (!ignoreDriveLetter)
        document_.PushRecentList(path);
    if (result.Status == ListReadStatus::InternalError)
        ShowError(this, QStringLiteral("内部エラーが発生しました."));
    else if (result.Failures > 0)
        ShowError(this, QStringLiteral("%1書体読込めませんでした").arg(result.Failures));
    ShowCount();
}

void MainWindow::PushRecentFolder() { document_.PushRecentFolder(SearchFolder); }

void MainWindow::fmnFileTypeAddClick()
{
    const QImage icon = AppIcon().pixmap(48, 48).toImage();
    if (!RegisterListFileType(QCoreApplication::applicationFilePath(), icon))
        ShowError(this, QStringLiteral("関連付けに失敗しました"));
}

void MainWindow::fmnFileTypeRemoveClick()
{
    if (!UnregisterListFileType())
        ShowError(this, QStringLiteral("関連付けの解除に失敗しました"));
}

void MainWindow::OpenTyposcanClick() { LaunchSibling(siblingPath_); }

} // namespace tz
