#include "PrivateCups.h"

#include "TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QThread>
#include <cups/cups.h>

namespace tz::test {

namespace {
    const QString kScript = QStringLiteral(TZ_TEST_SUPPORT "/private-cupsd");
    constexpr int kSkipped = 77;
}

PrivateCups::~PrivateCups()
{
    if (!folder_.isEmpty())
        RunProcess(kScript, { QStringLiteral("stop"), folder_ });
}

bool PrivateCups::Start()
{
    // The server goes with this process, should it end without the destructor.
    const ProcessResult started
        = RunProcess(kScript, { QStringLiteral("start"), QString::number(QCoreApplication::applicationPid()) });
    if (started.exitCode != 0) {
        skipReason_ = started.exitCode == kSkipped ? QString::fromUtf8(started.err).trimmed()
                                                   : QStringLiteral("private-cupsd failed: ") + QString::fromUtf8(started.err);
        return false;
    }
    folder_ = QString::fromUtf8(started.out).trimmed();
    const QByteArray socket = QFile::encodeName(folder_ + QStringLiteral("/cups.sock"));
    qputenv("CUPS_SERVER", socket);
    cupsSetServer(socket.constData());
    return true;
}

QString PrivateCups::ServerEnvironment() const { return QStringLiteral("CUPS_SERVER=") + folder_ + QStringLiteral("/cups.sock"); }

QString PrivateCups::OutputPath() const { return folder_ + QStringLiteral("/out/job.pdf"); }

bool PrivateCups::Admin(const QString& program, const QStringList& arguments) const
{
    return RunProcess(program, arguments, { ServerEnvironment() }).exitCode == 0;
}

bool PrivateCups::AddQueue(const QString& name, const QString& defaultPaper) const
{
    QFile model(folder_ + QStringLiteral("/ppd/tzq.ppd"));
    QFile ppd(folder_ + QStringLiteral("/ppd/") + name + QStringLiteral(".ppd"));
    if (!model.open(QIODevice::ReadOnly) || !ppd.open(QIODevice::WriteOnly))
        return false;
    static const QRegularExpression defaults(QStringLiteral("^(\\*Default(?:PageSize|PageRegion|ImageableArea|PaperDimension)): A4$"),
        QRegularExpression::MultilineOption);
    const QString text = QString::fromLatin1(model.readAll()).replace(defaults, QStringLiteral("\\1: ") + defaultPaper);
    if (ppd.write(text.toLatin1()) < 0 || !ppd.flush())
        return false;
    return Admin(QStringLiteral("lpadmin"),
        { QStringLiteral("-p"), name, QStringLiteral("-E"), QStringLiteral("-v"), QStringLiteral("file://") + OutputPath(),
            QStringLiteral("-P"), ppd.fileName() });
}

bool PrivateCups::WaitUntilIdle(int timeoutMs) const
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        cups_job_t* jobs = nullptr;
        const int active = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, nullptr, 0, CUPS_WHICHJOBS_ACTIVE);
        cupsFreeJobs(active, jobs);
        if (active == 0)
            return true;
        QThread::msleep(50);
    }
    return false;
}

int PrivateCups::JobCount(const QString& queue) const
{
    cups_job_t* jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.toUtf8().constData(), 0, CUPS_WHICHJOBS_ALL);
    cupsFreeJobs(count, jobs);
    return std::max(count, 0);
}

int PdfPageCount(const QByteArray& pdf)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"));
    int pages = 0;
    for (auto it = page.globalMatch(QString::fromLatin1(pdf)); it.hasNext(); it.next())
        ++pages;
    return pages;
}

QStringList PdfMediaBoxes(const QByteArray& pdf)
{
    static const QRegularExpression box(QStringLiteral("/MediaBox\\s*\\[\\s*0\\s+0\\s+(\\d+)(?:\\.0*)?\\s+(\\d+)(?:\\.0*)?\\s*\\]"));
    QStringList boxes;
    for (const auto& match : box.globalMatch(QString::fromLatin1(pdf)))
        boxes << match.captured(1) + u'x' + match.captured(2);
    return boxes;
}

} // namespace tz::test
