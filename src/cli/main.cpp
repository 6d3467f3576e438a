// tzind: the command-line companion of Typoscan Zindel, for batch work and
// scripting over the same code as the GUI.
#include "cli/Commands.h"
#include "platform/RuntimeFolder.h"

#include <QGuiApplication>
#include <memory>

int main(int argc, char** argv)
{
    tz::PrepareRuntimeFolder();
    // Commands that draw fonts need the font database of a GUI application;
    // tzind never shows a window, so it never needs a display.
    std::unique_ptr<QCoreApplication> app;
    if (tz::cli::NeedsGuiApplication(argc, argv)) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("tzind"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TZ_VERSION));
    return tz::cli::Run(QCoreApplication::arguments());
}
