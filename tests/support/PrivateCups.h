#pragma once
// A private CUPS server for a test (tests/support/private-cupsd): started in
// a temporary folder, reached through CUPS_SERVER, with the queue "tzq" that
// writes each job to one file. The machine's own queues are never touched.
#include <QString>
#include <QStringList>

namespace tz::test {

class PrivateCups {
public:
    PrivateCups() = default;
    ~PrivateCups();
    PrivateCups(const PrivateCups&) = delete;
    PrivateCups& operator=(const PrivateCups&) = delete;

    // Starts the server and points this process's CUPS client at it; false
    // with SkipReason() when cupsd can't be run here.
    bool Start();
    const QString& SkipReason() const { return skipReason_; }
    // CUPS_SERVER=... for a child process.
    QString ServerEnvironment() const;
    // The file the queue's last job was written to.
    QString OutputPath() const;
    // Runs a CUPS administration program (lpadmin, cupsreject, ...) on this server.
    bool Admin(const QString& program, const QStringList& arguments) const;
    // Adds a queue like "tzq" under another name, its driver's default paper
    // "A4" or "Letter".
    bool AddQueue(const QString& name, const QString& defaultPaper = QStringLiteral("A4")) const;
    // Waits until no job is pending or printing; false after the timeout.
    bool WaitUntilIdle(int timeoutMs = 20000) const;
    // Jobs the server has seen on a queue, finished ones included.
    int JobCount(const QString& queue) const;

private:
    QString folder_;
    QString skipReason_;
};

// Pages and page sizes (the MediaBox in points) of a PDF file.
int PdfPageCount(const QByteArray& pdf);
QStringList PdfMediaBoxes(const QByteArray& pdf);

} // namespace tz::test
