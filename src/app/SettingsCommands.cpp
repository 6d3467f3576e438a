// Commands that open the settings dialogs.
#include "app/MainWindow.h"

namespace tz {

void MainWindow::omnEnvClick() { }
void MainWindow::omnMessageClick() { }

} // namespace tz
