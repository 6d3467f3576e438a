// Commands that add fonts: the add dialog, the folder search, the installed fonts.
#include "app/MainWindow.h"

namespace tz {

void MainWindow::fmnAddClick() { }
void MainWindow::fmnSearchAddClick() { }
void MainWindow::fmnReSearchAdd0Click() { }
void MainWindow::fmnSystemAddClick() { }

void MainWindow::AddPath(const QString&, int) { }
void MainWindow::DropFiles(const QList<QUrl>&) { }
void MainWindow::AddCommandLinePaths(const QStringList&) { }
void MainWindow::StartFolderSearch() { }

} // namespace tz
