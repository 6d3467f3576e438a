// Commands of sample generation, viewing, printing and page setup.
#include "app/MainWindow.h"

namespace tz {

void MainWindow::fmnPrintClick() { }
void MainWindow::fmnPrintPreviewClick() { }
void MainWindow::fmnSetupClick() { }
void MainWindow::pmnJumpPreviewClick() { }
void MainWindow::wmnActivePreviewWindowClick() { }

} // namespace tz
