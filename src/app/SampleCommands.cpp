// Commands of sample generation, viewing, printing and page setup.
#include "app/AppWindows.h"
#include "app/MainWindow.h"
#include "pagesetup/PageSetupDialog.h"

namespace tz {

void MainWindow::fmnPrintClick() { }
void MainWindow::fmnPrintPreviewClick() { }
void MainWindow::fmnSetupClick() { windows_->PageSetup->exec(); }
void MainWindow::pmnJumpPreviewClick() { }
void MainWindow::wmnActivePreviewWindowClick() { }

} // namespace tz
