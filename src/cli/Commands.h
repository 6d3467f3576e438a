#pragma once
// Commands of tzind. Each command lives in a file of its own in this folder and
// registers itself with a static CommandRegistration.
#include <QStringList>
#include <functional>

namespace tz::cli {

// Exit statuses shared by the commands.
enum ExitStatus { kExitOk = 0, kExitFailure = 1, kExitUsage = 2, kExitPartial = 3 };

struct Command {
    QString name;
    QString synopsis; // one line for --help
    std::function<int(const QStringList& args)> run; // args after the command name
    bool gui = false; // draws fonts: runs in a GUI application without a display
};

struct CommandRegistration {
    explicit CommandRegistration(Command command);
};

// Whether the command named by the first argument draws fonts.
bool NeedsGuiApplication(int argc, char** argv);

// Dispatches the whole argument list (program name first).
int Run(const QStringList& arguments);

// Writes to standard output / standard error as UTF-8.
void Out(const QString& text);
void Err(const QString& text);

} // namespace tz::cli
