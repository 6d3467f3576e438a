#include "PageSetupPrinters.h"

#include <QPageSize>
#include <QSizeF>

namespace tz::test {

DescribedPrinters::DescribedPrinters(QList<PrinterDescription> printers)
    : printers_(std::move(printers))
{
}

QStringList DescribedPrinters::PrinterNames() const
{
    QStringList names;
    for (const PrinterDescription& p : printers_)
        names.append(p.name);
    return names;
}

QString DescribedPrinters::CurrentName() const { return printers_.isEmpty() ? QString() : printers_[current_].name; }

void DescribedPrinters::MakeCurrent(const QString& name)
{
    for (qsizetype i = 0; i < printers_.size(); ++i) {
        if (printers_[i].name == name) {
            current_ = i;
            return;
        }
    }
}

int DescribedPrinters::PaperCode() const { return printers_[current_].paper; }

void DescribedPrinters::SetPaperCode(int code)
{
    if (printers_[current_].paperCodes.contains(code))
        printers_[current_].paper = code;
}

int DescribedPrinters::Orientation() const { return printers_[current_].orientation; }

void DescribedPrinters::SetOrientation(int orientation) { printers_[current_].orientation = orientation; }

QList<PaperEntry> DescribedPrinters::Papers() const
{
    QList<PaperEntry> papers;
    for (int code : printers_[current_].paperCodes)
        papers.append({ code, QPageSize(QPageSize::id(code)).name() });
    return papers;
}

PrinterMetrics DescribedPrinters::Metrics() const
{
    const PrinterDescription& p = printers_[current_];
    QSizeF points = QPageSize(QPageSize::id(p.paper)).sizePoints();
    if (p.orientation == kLandscape)
        points.transpose();
    const int width = static_cast<int>(points.width() * p.resolutionX / 72);
    const int height = static_cast<int>(points.height() * p.resolutionY / 72);
    int left = p.borderLeft, top = p.borderTop, right = p.borderRight, bottom = p.borderBottom;
    if (p.orientation == kLandscape) {
        // Turned to the left: the portrait top edge becomes the left edge.
        left = p.borderTop;
        top = p.borderRight;
        right = p.borderBottom;
        bottom = p.borderLeft;
    }
    return { p.resolutionX, p.resolutionY, width, height, width - left - right, height - top - bottom, left, top };
}

} // namespace tz::test
