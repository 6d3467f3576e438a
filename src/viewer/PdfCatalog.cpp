#include "viewer/PdfCatalog.h"

#include <QPageLayout>
#include <QPdfWriter>
#include <QTemporaryDir>

namespace tz {

QPoint TextAreaCorner(const PageGeometry& geometry, int pageNumber)
{
    const DeviceFrame& P = geometry.P;
    const MarginSet& margins = P.margins[std::size_t(MarginSetOf(pageNumber))];
    return { P.leftOffset + margins.left, P.topOffset + margins.top };
}

PdfPages::PdfPages(const QString& path, int onlyPage)
    : file_(path)
    , onlyPage_(onlyPage)
{
}

PdfPages::~PdfPages()
{
    if (painter_.isActive())
        painter_.end();
}

bool PdfPages::Open(const PageGeometry& geometry)
{
    if (!file_.Open())
        return false;
    const DeviceFrame& P = geometry.P;
    writer_ = std::make_unique<QPdfWriter>(&file_.Device());
    writer_->setTitle(QStringLiteral("Typoscan Zindel"));
    writer_->setCreator(QStringLiteral("Typoscan Zindel %1").arg(QStringLiteral(TZ_VERSION)));
    writer_->setResolution(P.resolutionX);
    const QSizeF sheet(P.paperWidth * 25.4 / P.resolutionX, P.paperHeight * 25.4 / P.resolutionY);
    writer_->setPageLayout(QPageLayout(QPageSize(sheet, QPageSize::Millimeter), QPageLayout::Portrait, QMarginsF()));
    return painter_.begin(writer_.get());
}

QPainter* PdfPages::BeginPage(int pageNumber, const PageGeometry& geometry)
{
    if (onlyPage_ > 0 && pageNumber != onlyPage_)
        return nullptr;
    if (pageCount_ == 0) {
        if (!Open(geometry))
            return nullptr;
    } else if (!writer_->newPage()) {
        return nullptr;
    }
    ++pageCount_;
    painter_.resetTransform();
    // The sheet's pixels run at the horizontal resolution; the vertical one
    // may differ.
    const DeviceFrame& P = geometry.P;
    painter_.scale(1.0, double(P.resolutionX) / P.resolutionY);
    painter_.translate(TextAreaCorner(geometry, pageNumber));
    // Paper shows only what lies inside the text area, like the printer page.
    painter_.setClipRect(QRect(0, 0, P.textWidth, P.textHeight));
    return &painter_;
}

void PdfPages::EndPage() { }

bool PdfPages::Finish(QString* error)
{
    QString reason;
    if (pageCount_ == 0) {
        reason = !file_.ErrorString().isEmpty() ? file_.ErrorString() : QStringLiteral("No page to write");
    } else if (!painter_.end() || !file_.Commit()) {
        reason = !file_.ErrorString().isEmpty() ? file_.ErrorString() : QStringLiteral("The PDF file could not be completed");
    }
    if (error)
        *error = reason;
    return reason.isEmpty();
}

bool WritePdfCatalog(SampleSheets& sheets, const QString& path, int onlyPage, RunObserver& observer, QString* error)
{
    QTemporaryDir work;
    if (!work.isValid()) {
        if (error)
            *error = work.errorString();
        return false;
    }
    PdfPages pages(path, onlyPage);
    const SampleInput kept = sheets.Input();
    SampleInput input = kept;
    input.mode = RunMode::Preview;
    input.workFolder = work.path();
    input.printJob = nullptr;
    input.vectorPages = &pages;
    sheets.Reset(std::move(input));
    sheets.Generate(observer);
    sheets.Input() = kept; // nothing of the temporary run stays reachable
    return pages.Finish(error);
}

} // namespace tz
