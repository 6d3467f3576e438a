// Commands that act on the files behind the selected rows.
#include "app/MainWindow.h"

namespace tz {

void MainWindow::lsvFontNamesDblClick() { }
void MainWindow::tmnOpenDocClick() { }
void MainWindow::tmnCopyClick() { }
void MainWindow::tmnInstallClick() { }
void MainWindow::tmnOpenFolder1Click() { }
void MainWindow::tmnOpenFolder2Click() { }
void MainWindow::fmnPropertyClick() { }

} // namespace tz
