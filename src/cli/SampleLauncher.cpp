// tzind sample runs in a program of its own, tzind-sample beside tzind: only
// it loads Qt's print support and the printing system's library, so every
// other command starts without them.
#include "cli/Commands.h"
#include "cli/SampleUsage.h"

#include <QCoreApplication>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <vector>

namespace tz::cli {

namespace {

    int Sample(const QStringList& args)
    {
        const QByteArray program = QFile::encodeName(QCoreApplication::applicationDirPath() + QStringLiteral("/tzind-sample"));
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
