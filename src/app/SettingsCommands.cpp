// Commands that open the settings dialogs.
#include "app/AppWindows.h"
#include "app/MainWindow.h"
#include "settings/EnvironmentDialog.h"
#include "settings/SampleTextDialog.h"

namespace tz {

const EnvironmentSettings& MainWindow::Environment() const { return windows_->Environment->Settings(); }

void MainWindow::omnEnvClick() { windows_->Environment->exec(); }

void MainWindow::omnMessageClick() { windows_->SampleTexts->exec(); }

} // namespace tz
