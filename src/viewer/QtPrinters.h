#pragma once
// The system printers through Qt's print support (CUPS): the printer list is
// QPrinterInfo, the current printer one QPrinter shared by the page setup, the
// print dialog and the print run. Paper codes are the Windows paper numbers of
// QPageSize::windowsId.
#include "page/PrinterAccess.h"

#include <QPrinter>

class QPrinterInfo;
class QWidget;

namespace tz {

class QtPrinters final : public PrinterAccess {
public:
    QtPrinters();

    QStringList PrinterNames() const override;
    QString CurrentName() const override;
    void MakeCurrent(const QString& name) override;
    int PaperCode() const override;
    void SetPaperCode(int code) override;
    int Orientation() const override;
    void SetOrientation(int orientation) override;
    QList<PaperEntry> Papers() const override;
    PrinterMetrics Metrics() const override;

    QPrinter& Printer() { return printer_; }

private:
    QPrinter printer_;
};

// Device capabilities of a QPrinter for its current page layout.
PrinterMetrics MetricsOf(const QPrinter& printer);
// The paper sizes a printer's driver offers, in the driver's order.
QList<PaperEntry> PapersOf(const QPrinterInfo& printer);

// The printers the program uses: the system's, unless a test put others in place.
PrinterAccess& ProgramPrinters();
// Puts printers in place of the system's (nullptr: the system's again). Tests only.
void SetProgramPrinters(PrinterAccess* printers);
// The system's current printer, for the print dialog and the print run.
QPrinter& SystemPrinter();

// Runs the system's printer-setup dialog on the current printer when the
// program uses the system's printers.
void RunPrinterSetupDialog(QWidget* parent);
// Runs the system's print dialog on the printer; false when it was
// cancelled. The paper and orientation the printer has when it opens are
// what the dialog's printer properties start from, and stay unless they
// are changed there.
bool RunPrintDialog(QPrinter& printer, QWidget* parent);

} // namespace tz
