// Commands that open the settings dialogs.
#include "app/AppWindows.h"
#include "app/MainWindow.h"
#include "settings/EnvironmentDialog.h"
#include "settings/SampleTextDialog.h"

namespace tz {

const EnvironmentSettings& MainWindow::Environment() const
{
    // A main window made without the other windows (as tests make it) works
    // with the defaults.
    static const EnvironmentSettings defaults;
    return windows_ && windows_->Environment ? windows_->Environment->Settings() : defaults;
}

void MainWindow::omnEnvClick() { windows_->Environment->exec(); }

void MainWindow::omnMessageClick() { windows_->SampleTexts->exec(); }

} // namespace tz
