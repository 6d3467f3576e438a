#include "TestSupport.h"

#include <QProcess>
#include <QProcessEnvironment>

namespace tz::test {

QString DataPath(const QString& relative) { return QStringLiteral(TZ_TEST_DATA "/") + relative; }

QString BinPath(const QString& name) { return QStringLiteral(TZ_BIN_DIR "/") + name; }

ProcessResult RunProcess(const QString& program, const QStringList& arguments, const QStringList& environment,
    int timeoutMs)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& entry : environment) {
        const qsizetype eq = entry.indexOf(u'=');
        env.insert(entry.left(eq), entry.mid(eq + 1));
    }
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    ProcessResult result;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

} // namespace tz::test
