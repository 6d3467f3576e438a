#include "cli/Commands.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace tz::cli {

namespace {

    std::vector<Command>& Registry()
    {
        static std::vector<Command> commands;
        return commands;
    }

    void PrintHelp()
    {
        Out(QStringLiteral("Usage: tzind COMMAND [ARGS...]\n"
                           "Command-line companion of Typoscan Zindel, the font collection manager.\n\n"
                           "Options:\n"
                           "  --help     show this help\n"
                           "  --version  show the version\n\n"
                           "Commands:\n"));
        std::vector<Command> commands = Registry();
        std::sort(commands.begin(), commands.end(), [](const Command& a, const Command& b) { return a.name < b.name; });
        for (const Command& c : commands)
            Out(QStringLiteral("  %1\n").arg(c.synopsis));
    }

} // namespace

CommandRegistration::CommandRegistration(Command command) { Registry().push_back(std::move(command)); }

void Out(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

void Err(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

bool NeedsGuiApplication(int argc, char** argv)
{
    if (argc < 2)
        return false;
    const QString name = QString::fromLocal8Bit(argv[1]);
    return std::any_of(Registry().begin(), Registry().end(), [&](const Command& c) { return c.gui && c.name == name; });
}

int Run(const QStringList& arguments)
{
    if (arguments.size() < 2) {
        PrintHelp();
        return kExitUsage;
    }
    const QString& first = arguments.at(1);
    if (first == u"--help" || first == u"-h") {
        PrintHelp();
        return kExitOk;
    }
    if (first == u"--version") {
        Out(QStringLiteral("tzind (Typoscan Zindel) %1\n").arg(QCoreApplication::applicationVersion()));
        return kExitOk;
    }
    for (const Command& c : Registry()) {
        if (c.name == first)
            return c.run(arguments.mid(2));
    }
    Err(QStringLiteral("tzind: unknown command '%1' (see tzind --help)\n").arg(first));
    return kExitUsage;
}

} // namespace tz::cli
