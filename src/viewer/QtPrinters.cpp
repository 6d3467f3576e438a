#include "viewer/QtPrinters.h"

#include "viewer/PrintingLog.h"

#include <QCoreApplication>
#include <QPageSetupDialog>
#include <QPrinterInfo>
#include <memory>

namespace tz {

namespace {

    std::unique_ptr<QtPrinters>& SystemInstance()
    {
        static std::unique_ptr<QtPrinters> instance;
        return instance;
    }

    // A QPrinter must not outlive the application object its print engine belongs to.
    void ReleaseSystemPrinters() { SystemInstance().reset(); }

    QtPrinters& SystemPrinters()
    {
        auto& instance = SystemInstance();
        if (!instance) {
            instance = std::make_unique<QtPrinters>();
            qAddPostRoutine(ReleaseSystemPrinters);
        }
        return *instance;
    }

    PrinterAccess* substitute = nullptr;

} // namespace

QtPrinters::QtPrinters()
    : printer_(QPrinter::HighResolution)
{
}

QStringList QtPrinters::PrinterNames() const { return QPrinterInfo::availablePrinterNames(); }

QString QtPrinters::CurrentName() const { return printer_.printerName(); }

void QtPrinters::MakeCurrent(const QString& name) { printer_.setPrinterName(name); }

int QtPrinters::PaperCode() const { return printer_.pageLayout().pageSize().windowsId(); }

void QtPrinters::SetPaperCode(int code)
{
    const QPageSize::PageSizeId id = QPageSize::id(code);
    if (id == QPageSize::Custom) {
        qCInfo(lcPrinting) << "paper code" << code << "has no page size; the printer keeps its paper";
        return;
    }
    printer_.setPageSize(QPageSize(id));
}

int QtPrinters::Orientation() const
{
    return printer_.pageLayout().orientation() == QPageLayout::Landscape ? kLandscape : kPortrait;
}

void QtPrinters::SetOrientation(int orientation)
{
    printer_.setPageOrientation(orientation == kLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

QList<PaperEntry> QtPrinters::Papers() const { return PapersOf(QPrinterInfo(printer_)); }

PrinterMetrics QtPrinters::Metrics() const { return MetricsOf(printer_); }

PrinterMetrics MetricsOf(const QPrinter& printer)
{
    const QRect paper = printer.paperRect(QPrinter::DevicePixel).toRect();
    const QRect page = printer.pageRect(QPrinter::DevicePixel).toRect();
    PrinterMetrics metrics;
    metrics.resolutionX = printer.resolution();
    metrics.resolutionY = printer.resolution();
    metrics.paperWidth = paper.width();
    metrics.paperHeight = paper.height();
    metrics.printableWidth = page.width();
    metrics.printableHeight = page.height();
    metrics.leftOffset = page.x() - paper.x();
    metrics.topOffset = page.y() - paper.y();
    return metrics;
}

QList<PaperEntry> PapersOf(const QPrinterInfo& printer)
{
    QList<PaperEntry> papers;
    for (const QPageSize& size : printer.supportedPageSizes())
        papers.append({ size.windowsId(), size.name() });
    return papers;
}

PrinterAccess& ProgramPrinters()
{
    if (substitute)
        return *substitute;
    return SystemPrinters();
}

void SetProgramPrinters(PrinterAccess* printers) { substitute = printers; }

QPrinter& SystemPrinter() { return SystemPrinters().Printer(); }

void RunPrinterSetupDialog(QWidget* parent)
{
    if (substitute)
        return;
    QPageSetupDialog dialog(&SystemPrinter(), parent);
    dialog.exec();
}

} // namespace tz
