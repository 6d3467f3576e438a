// Commands on list files, recent lists and the file association.
#include "app/MainWindow.h"

#include "fontlist/ListFile.h"

#include <QMessageBox>

namespace tz {

void MainWindow::fmnNewClick() { }
void MainWindow::fmnOpenClick() { }
void MainWindow::fmnReOpen0Click() { }
void MainWindow::fmnAddListClick() { }
void MainWindow::fmnSaveClick() { }
void MainWindow::fmnSaveAsClick() { }
void MainWindow::fmnFileTypeAddClick() { }
void MainWindow::fmnFileTypeRemoveClick() { }
void MainWindow::OpenTyposcanClick() { }

bool MainWindow::WriteListFile()
{
    if (tz::WriteListFile(list_, list_.ListPath))
        return true;
    QMessageBox::critical(this, QStringLiteral("Typoscan Zindel"), QStringLiteral("ファイルの保存に失敗しました"));
    return false;
}

void MainWindow::ReadListFile(bool) { }
bool MainWindow::ConfirmDiscard() { return true; }
void MainWindow::PushRecentList(const QString&) { }
void MainWindow::PushRecentFolder() { }
void MainWindow::OpenListFile(const QString&) { }

} // namespace tz
