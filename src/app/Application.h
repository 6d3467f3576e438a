#pragma once
#include "app/AppWindows.h"

#include <memory>

class QCoreApplication;

namespace tz {

// Creates every window once, main window first, in the designed order; each
// window loads its stored values as it is created. The windows are owned by
// the main window (their parent) and live until it is destroyed.
std::unique_ptr<MainWindow> CreateWindows(AppWindows& windows, bool printersInstalled);

// Loads Qt's Japanese texts for Qt's own dialogs and buttons (file and print
// dialogs, Yes/No/Cancel), whatever the user's locale: the program's own texts
// are Japanese. False when the translation file is not installed.
bool LoadQtTranslations(QCoreApplication& app);

// Starts the program: title, the windows, the message loop. Returns the exit
// status.
int RunApplication(int argc, char** argv);

} // namespace tz
