#pragma once
// Helpers shared by the tests.
#include <QString>
#include <QStringList>

namespace tz::test {

// Path of a committed test fixture below tests/data.
QString DataPath(const QString& relative);
// Path of a built executable (tzind, typoscan-zindel).
QString BinPath(const QString& name);

struct ProcessResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};
// Runs a program to its end with extra environment entries ("NAME=value").
ProcessResult RunProcess(const QString& program, const QStringList& arguments,
    const QStringList& environment = {}, int timeoutMs = 60000);

} // namespace tz::test
