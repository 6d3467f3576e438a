#include "viewer/PrinterJob.h"

#include "page/PrintingLog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrintEngine>
#include <QPrinter>
#include <cstdio>
#include <cups/cups.h>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace tz {

namespace {

    // The options the print dialog's printer-properties page leaves in the
    // print engine: name, value, name, value, ...
    constexpr auto kDialogCupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

    using OptionList = std::vector<std::pair<QByteArray, QByteArray>>;

    QByteArray SidesOf(const QPrinter& printer)
    {
        const bool landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
        switch (printer.duplex()) {
        case QPrinter::DuplexAuto:
            return landscape ? "two-sided-short-edge" : "two-sided-long-edge";
        case QPrinter::DuplexLongSide:
            return "two-sided-long-edge";
        case QPrinter::DuplexShortSide:
            return "two-sided-short-edge";
        case QPrinter::DuplexNone:
            break;
        }
        return "one-sided";
    }

    // The job options of the chosen printer, as Qt's own CUPS printing sends them.
    OptionList JobOptions(const QPrinter& printer)
    {
        OptionList options;
        options.emplace_back("media", printer.pageLayout().pageSize().key().toUtf8());
        if (printer.copyCount() > 1) {
            options.emplace_back("copies", QByteArray::number(printer.copyCount()));
            if (printer.collateCopies())
                options.emplace_back("Collate", "True");
        }
        options.emplace_back("sides", SidesOf(printer));
        if (printer.pageLayout().orientation() == QPageLayout::Landscape)
            options.emplace_back("landscape", "");
        const QStringList dialog = printer.printEngine()->property(kDialogCupsOptions).toStringList();
        for (qsizetype i = 0; i + 1 < dialog.size(); i += 2)
            options.emplace_back(dialog.at(i).toUtf8(), dialog.at(i + 1).toUtf8());
        return options;
    }

    // The queue of a printer name ("queue" or "queue/instance").
    QByteArray QueueOf(const QPrinter& printer) { return printer.printerName().section(u'/', 0, 0).toUtf8(); }

} // namespace

PrinterJob::PrinterJob(const QPrinter& chosen)
    : chosen_(chosen)
{
}

PrinterJob::~PrinterJob()
{
    if (painter_.isActive())
        Abort();
}

bool PrinterJob::ToFile() const { return !chosen_.outputFileName().isEmpty(); }

bool PrinterJob::Begin(const QString& title)
{
    title_ = title;
    if (!ToFile() && !QueuePresent())
        return false;
    // The spool file of a file printer lies beside its file, so that putting
    // it in place is a rename.
    const QString folder = ToFile() ? QFileInfo(chosen_.outputFileName()).absolutePath() : QDir::tempPath();
    spoolFile_.setFileTemplate(folder + QStringLiteral("/tzprint-XXXXXX.pdf"));
    if (!spoolFile_.open()) {
        qCWarning(lcPrinting) << "no spool file in" << folder << spoolFile_.errorString();
        return false;
    }
    spoolFile_.close();
    spool_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    spool_->setOutputFileName(spoolFile_.fileName());
    spool_->setResolution(chosen_.resolution());
    spool_->setPageLayout(chosen_.pageLayout());
    spool_->setColorMode(chosen_.colorMode());
    spool_->setDocName(title);
    spool_->setCreator(title);
    return painter_.begin(spool_.get());
}

bool PrinterJob::PrintPage(const QImage& page, QPoint at)
{
    if (!painter_.isActive())
        return false;
    const QRect printable = spool_->pageRect(QPrinter::DevicePixel).toRect();
    painter_.fillRect(QRect(QPoint(0, 0), printable.size()), Qt::white);
    painter_.drawImage(at, page);
    return true;
}

bool PrinterJob::NewPage()
{
    if (!painter_.isActive() || (!ToFile() && !QueuePresent()))
        return false;
    return spool_->newPage();
}

bool PrinterJob::End()
{
    if (!painter_.isActive())
        return false;
    const bool written = painter_.end();
    const bool done = written && (ToFile() ? PutInPlace() : Submit());
    spool_.reset();
    spoolFile_.remove();
    return done;
}

void PrinterJob::Abort()
{
    if (painter_.isActive())
        painter_.end();
    spool_.reset();
    spoolFile_.remove();
}

bool PrinterJob::QueuePresent() const
{
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, QueueOf(chosen_).constData(), nullptr);
    if (!dest) {
        qCWarning(lcPrinting) << "printer" << chosen_.printerName() << "is gone:" << cupsLastErrorString();
        return false;
    }
    cupsFreeDests(1, dest);
    return true;
}

bool PrinterJob::Submit()
{
    const OptionList options = JobOptions(chosen_);
    std::vector<cups_option_t> cupsOptions;
    cupsOptions.reserve(options.size());
    for (const auto& [name, value] : options)
        cupsOptions.push_back({ const_cast<char*>(name.constData()), const_cast<char*>(value.constData()) });
    const int job = cupsPrintFile(QueueOf(chosen_).constData(), QFile::encodeName(spoolFile_.fileName()).constData(),
        title_.toUtf8().constData(), int(cupsOptions.size()), cupsOptions.data());
    if (job == 0) {
        qCWarning(lcPrinting) << "printer" << chosen_.printerName() << "refused the job:" << cupsLastErrorString();
        return false;
    }
    qCInfo(lcPrinting) << "job" << job << "queued on" << chosen_.printerName();
    return true;
}

bool PrinterJob::PutInPlace()
{
    const QByteArray from = QFile::encodeName(spoolFile_.fileName());
    const QByteArray to = QFile::encodeName(chosen_.outputFileName());
    if (std::rename(from.constData(), to.constData()) != 0) {
        qCWarning(lcPrinting) << "could not write" << chosen_.outputFileName();
        return false;
    }
    // The spool file was made private; the document gets a new file's permissions.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(to.constData(), 0666 & ~mask);
    spoolFile_.setAutoRemove(false);
    return true;
}

} // namespace tz
