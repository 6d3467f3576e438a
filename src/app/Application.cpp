#include "app/Application.h"

#include <QApplication>
#include <QMainWindow>

namespace tz {

int RunApplication(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Typoscan Zindel"));
    QMainWindow window;
    window.show();
    return app.exec();
}

} // namespace tz
