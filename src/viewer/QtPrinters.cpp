#include "viewer/QtPrinters.h"

#include "page/PrintingLog.h"

#include <QApplication>
#include <QComboBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinterInfo>
#include <algorithm>
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

    // Watches the print dialog's printer-properties window. Qt builds it
    // from the driver's defaults, whatever paper the printer has: when it is
    // shown, it is set to the printer's paper first; when it is never shown,
    // it is built only as the dialog closes, and the printer's paper and
    // orientation are put back afterwards.
    class PropertiesWatch final : public QObject {
    public:
        explicit PropertiesWatch(const QPageLayout& start)
            : start_(start)
        {
            qApp->installEventFilter(this);
        }

        bool Shown() const { return shown_; }

        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (event->type() == QEvent::Show && watched->inherits("QPrintPropertiesDialog") && !shown_) {
                shown_ = true;
                if (auto* sizes = watched->findChild<QComboBox*>(QStringLiteral("pageSizeCombo")))
                    ChoosePaper(*sizes);
            }
            return false;
        }

    private:
        void ChoosePaper(QComboBox& sizes) const
        {
            for (int i = 0; i < sizes.count(); ++i) {
                const QVariant size = sizes.itemData(i);
                if (size.canConvert<QPageSize>() && size.value<QPageSize>().id() == start_.pageSize().id()) {
                    sizes.setCurrentIndex(i);
                    return;
                }
            }
        }

        QPageLayout start_;
        bool shown_ = false;
    };

    // A printer made current starts on its own default paper, as the queue
    // has it: Qt would keep the paper it had (A4 when the locale's), so a
    // Letter printer's new page setting would be on A4.
    void TakeDefaultPaper(QPrinter& printer)
    {
        const QPageSize paper = QPrinterInfo(printer).defaultPageSize();
        if (paper.isValid())
            printer.setPageSize(paper);
    }

    bool Offers(const QPrinter& printer, const QPageSize& size)
    {
        const QList<QPageSize> offered = QPrinterInfo(printer).supportedPageSizes();
        return std::any_of(offered.cbegin(), offered.cend(), [&size](const QPageSize& s) { return s.id() == size.id(); });
    }

} // namespace

QtPrinters::QtPrinters()
    : printer_(QPrinter::HighResolution)
{
    TakeDefaultPaper(printer_);
}

QStringList QtPrinters::PrinterNames() const { return QPrinterInfo::availablePrinterNames(); }

QString QtPrinters::CurrentName() const { return printer_.printerName(); }

void QtPrinters::MakeCurrent(const QString& name)
{
    printer_.setPrinterName(name);
    TakeDefaultPaper(printer_);
}

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

bool RunPrintDialog(QPrinter& printer, QWidget* parent)
{
    const QPageLayout start = printer.pageLayout();
    QPrintDialog dialog(&printer, parent);
    const PropertiesWatch watch(start);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    if (!watch.Shown() && Offers(printer, start.pageSize())) {
        printer.setPageSize(start.pageSize());
        printer.setPageOrientation(start.orientation());
    }
    return true;
}

} // namespace tz
