#pragma once
// The print job of a print run, over Qt's print support and CUPS. The pages
// are drawn into a PDF spool file of the job's own, with the paper, margins
// and resolution of the printer the user chose; End hands the whole file to
// the printer's CUPS queue (or, for a printer that prints to a file, puts it
// in place of that file), Abort throws it away. So a stopped run leaves
// nothing in the queue, and a queue that is gone or refuses the job is
// reported as a failed End.
#include "sample/SampleRun.h"

#include <QPainter>
#include <QTemporaryFile>
#include <memory>

class QPrinter;

namespace tz {

class PrinterJob final : public PrintJob {
public:
    // The chosen printer is read at Begin and never changed.
    explicit PrinterJob(const QPrinter& chosen);
    ~PrinterJob() override; // an unfinished job is aborted

    bool Begin(const QString& title) override;
    bool PrintPage(const QImage& page, QPoint at) override;
    bool NewPage() override;
    bool End() override;
    void Abort() override;

private:
    bool ToFile() const;
    // The printer's queue still exists.
    bool QueuePresent() const;
    bool Submit();
    bool PutInPlace();

    const QPrinter& chosen_;
    std::unique_ptr<QPrinter> spool_;
    QPainter painter_;
    QTemporaryFile spoolFile_;
    QString title_;
};

} // namespace tz
