#pragma once
// The logging categories of every subsystem share one prefix, "typoscan.":
// QT_LOGGING_RULES="typoscan.*.debug=true" shows all of the program's
// messages, "typoscan.archive=false" silences one subsystem.
#include <QLoggingCategory>

// Defines the category `name` with the id "typoscan.<subsystem>" (a string
// literal), optionally enabled from a message level on.
#define TZ_LOGGING_CATEGORY(name, subsystem, ...)                                                                      \
    Q_LOGGING_CATEGORY(name, "typoscan." subsystem __VA_OPT__(, ) __VA_ARGS__)
