#pragma once
// Vector sample catalogs: a generation run draws its printer canvas onto PDF
// pages as well, one sheet per sample page, with the text area placed at the
// page's margin set. Sample lines are glyph runs of each row's own face, so
// the faces are embedded as font subsets and the text stays extractable.
#include "platform/ReplacingFile.h"
#include "sample/SampleSheets.h"

#include <QPainter>
#include <memory>

class QPdfWriter;

namespace tz {

class PdfPages : public VectorPages {
public:
    // Writes to path once Finish succeeds; `onlyPage` > 0 keeps that page alone.
    explicit PdfPages(const QString& path, int onlyPage = 0);
    ~PdfPages() override;

    QPainter* BeginPage(int pageNumber, const PageGeometry& geometry) override;
    void EndPage() override;

    // Ends the document and puts the file in place; false (with the reason,
    // and no file under the name) when nothing could be written.
    bool Finish(QString* error);
    int PageCount() const { return pageCount_; }

private:
    bool Open(const PageGeometry& geometry);

    ReplacingFile file_;
    int onlyPage_;
    std::unique_ptr<QPdfWriter> writer_;
    QPainter painter_;
    int pageCount_ = 0;
};

// Runs the sheets' input (again) into a temporary work folder, drawing the
// PDF pages (all of them, or page `onlyPage`); the sheets take the run's
// messages, index and outcome. False with the reason when the file was not
// written.
bool WritePdfCatalog(SampleSheets& sheets, const QString& path, int onlyPage, RunObserver& observer, QString* error);

// Page n's text-area corner on the sheet, in printer pixels.
QPoint TextAreaCorner(const PageGeometry& geometry, int pageNumber);

} // namespace tz
