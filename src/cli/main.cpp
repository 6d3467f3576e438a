// tzind: the command-line companion of Typoscan Zindel, for batch work and
// scripting over the same code as the GUI.
#include "cli/Commands.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tzind"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TZ_VERSION));
    return tz::cli::Run(QCoreApplication::arguments());
}
