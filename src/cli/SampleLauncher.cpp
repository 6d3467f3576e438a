// tzind sample runs in a program of its own, tzind-sample: only it loads Qt's
// print support and the printing system's library, so every other command
// starts without them. It lies beside tzind in the build folder and in the
// program's helper folder (lib/typoscan-zindel beside bin) once installed.
#include "cli/Commands.h"
#include "cli/SampleUsage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace tz::cli {

namespace {

    QString HelperPath()
    {
        const QString folder = QCoreApplication::applicationDirPath();
        const QString beside = folder + QStringLiteral("/tzind-sample");
        if (QFileInfo(beside).isExecutable())
            return beside;
        return QDir::cleanPath(folder + QStringLiteral("/" TZ_HELPER_FROM_BIN "/tzind-sample"));
    }

    int Sample(const QStringList& args)
    {
        const QByteArray program = QFile::encodeName(HelperPath());
        std::vector<QByteArray> words { program, QByteArrayLiteral("sample") };
        for (const QString& arg : args)
            words.push_back(arg.toLocal8Bit());
        std::vector<char*> argv;
        for (QByteArray& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        std::fflush(stdout);
        ::execv(program.constData(), argv.data());
        Err(QStringLiteral("tzind sample: cannot start %1: %2\n").arg(QFile::decodeName(program), QString::fromLocal8Bit(std::strerror(errno))));
        return kExitFailure;
    }

    const CommandRegistration registration({ QStringLiteral("sample"), kSampleUsage, Sample });

} // namespace

} // namespace tz::cli
