#pragma once
// Printers described by a test: names, resolution, unprintable borders and
// the driver's paper list, so that page setup and geometry run against known
// figures without a print system.
#include "page/PrinterAccess.h"

namespace tz::test {

struct PrinterDescription {
    QString name;
    int resolutionX = 600;
    int resolutionY = 600;
    // Unprintable borders of the portrait sheet in device pixels; a landscape
    // sheet is the portrait one turned a quarter to the left.
    int borderLeft = 0;
    int borderTop = 0;
    int borderRight = 0;
    int borderBottom = 0;
    QList<int> paperCodes { 9, 1, 11 }; // the driver's papers: A4, Letter, A5
    int paper = 9;
    int orientation = kPortrait;
};

class DescribedPrinters final : public PrinterAccess {
public:
    // The first printer is current; no printers means none is installed.
    explicit DescribedPrinters(QList<PrinterDescription> printers = {});

    PrinterDescription& Current() { return printers_[current_]; }

    QStringList PrinterNames() const override;
    QString CurrentName() const override;
    void MakeCurrent(const QString& name) override;
    int PaperCode() const override;
    void SetPaperCode(int code) override;
    int Orientation() const override;
    void SetOrientation(int orientation) override;
    QList<PaperEntry> Papers() const override;
    PrinterMetrics Metrics() const override;

private:
    QList<PrinterDescription> printers_;
    qsizetype current_ = 0;
};

} // namespace tz::test
