#pragma once
// A generation run: the whole font list becomes sample pages, for the viewer
// (preview mode) or the printer (print mode). The thread that runs it keeps
// everything in list order: for each row the font is made usable (extracted
// from its archive or Macintosh file into the work folder and made available
// to this process, unless it is installed), its face block is measured and
// laid out once at the printer's resolution, page breaks and page keys are
// decided and messages go to the generation log. A full page's blocks go to
// the run's workers, which draw both canvases and store the page (or hand it
// back for the printer, in page order). Headless: the generation window and
// `tzind sample` drive it through a RunObserver.
#include "fontfile/SystemFonts.h"
#include "fontlist/FontEntry.h"
#include "page/PageGeometry.h"
#include "platform/PathResolver.h"
#include "sample/GenerationLog.h"
#include "sample/PageDrawing.h"
#include "sample/PageIndex.h"
#include "sample/PageWorkers.h"
#include "settings/EnvironmentSettings.h"
#include "settings/SampleTextSet.h"

#include <QImage>
#include <QList>
#include <QRawFont>
#include <array>
#include <memory>
#include <optional>

class QPainter;

namespace tz {
class InstalledFontFiles;
}

namespace tz {

enum class RunMode { Preview, Print };

// The print job of a print-mode run.
class PrintJob {
public:
    virtual ~PrintJob() = default;
    // Sets the job title and begins the document.
    virtual bool Begin(const QString& title) = 0;
    // Fills the printable area white and copies the 1-bit printer page,
    // unscaled, with its top-left corner at `at` (printable-area coordinates).
    virtual bool PrintPage(const QImage& page, QPoint at) = 0;
    virtual bool NewPage() = 0;
    virtual bool End() = 0;
    virtual void Abort() = 0;
};

// Vector pages that receive the printer canvas's drawing (a PDF catalog).
class VectorPages {
public:
    virtual ~VectorPages() = default;
    // A painter for page n of a run with that geometry, whose origin is the
    // corner of the page's text area, in printer pixels; nullptr when the
    // page can't be made.
    virtual QPainter* BeginPage(int pageNumber, const PageGeometry& geometry) = 0;
    virtual void EndPage() = 0;
};

// Where a preview run's pages go instead of the work folder's page files.
// Store runs on the workers, for several pages at once.
class PageSink {
public:
    virtual ~PageSink() = default;
    // Stores page n's image (1-bit, or 8-bit grey); false when it could not
    // be written.
    virtual bool Store(int pageNumber, const QImage& page) = 0;
};

// What the run is told before it starts.
struct SampleInput {
    RunMode mode = RunMode::Preview;
    QList<FontEntry> rows;
    EnvironmentSettings environment;
    SampleTextSet texts;
    int binding = kBindNone;
    std::array<int, 4> margins {}; // left, top, right, bottom in hundredths of a centimetre
    int orientation = kPortrait;
    std::optional<PrinterMetrics> printer; // nothing: no printer installed
    int previewResolution = 96; // the screen's pixels per inch
    QString workFolder;
    int workers = 0; // threads that draw and store pages: 0 the machine's cores, 1 none
    bool promptStop = false; // a window's run: fewer pages in flight, so Stop ends it sooner
    PrintJob* printJob = nullptr; // print mode
    VectorPages* vectorPages = nullptr; // optional, either mode
    PageSink* pageSink = nullptr; // optional, preview mode
};

// The sample text class of a face charset: ANSI faces get the Ascii text,
// Shift-JIS faces the Japanese one, every other face the SYMBOL text.
int SampleClassOf(quint8 charset);
// The page geometry of a run of the input: the printer's (or the fallback
// sheet's) figures, the preview's at its resolution, the margin sets and the
// text areas.
PageGeometry GeometryOf(const SampleInput& input);

// The window or command that runs the generation.
class RunObserver {
public:
    virtual ~RunObserver() = default;
    virtual void Status(const QString& text) { Q_UNUSED(text); }
    virtual void Progress(int position, int maximum)
    {
        Q_UNUSED(position);
        Q_UNUSED(maximum);
    }
    // Lets pending events run once per row; false once Stop was pressed.
    virtual bool GoOn() { return true; }
    // Lets pending events run while the run waits for its workers.
    virtual void HandleEvents() { }
};

// What a preview run leaves for the viewer besides the log and the index.
struct SampleResult {
    bool busy = false; // another run held the lock: nothing was produced
    QString lockProblem; // the lock file could not be used: nothing was produced
    bool stopped = false;
    int pageCount = 0; // pages 1 … pageCount ("%04d.tzg" in the work folder, or the sink's)
    int initialScrollX = 0; // the smaller of the preview's two left margins
    QSize pageSize; // the page image: the preview's paper size
    bool smooth = false; // pages are 8-bit grey, else 1-bit
};

class SampleRun {
public:
    SampleRun(SampleInput input, GenerationLog& log, PageIndex& index);
    ~SampleRun();

    // The whole run: lock, geometry, rows, last page.
    SampleResult Run(RunObserver& observer);

    // The heading's left and right texts of a row whose file path, as shown,
    // is shownPath.
    static HeadingTexts HeadingOf(const FontEntry& entry, const QString& shownPath, const HeadingLayout& layout);

private:
    // Where the next block goes: the space added after each row (a tenth of
    // an inch) and the top of the next block in the printer's text area.
    struct LayoutCursor {
        int blockGap = 0;
        int y = 0;
    };
    enum class RowOutcome { Done, PageFull, NotExtracted };

    void PrepareStyle();
    RowOutcome SampleRow(int row, int& pageNumber, const InstalledFontFiles& installed);
    // Places row's block on the current page. False when the page was full:
    // it has been handed on, pageNumber incremented, and the row must be
    // offered again.
    bool RenderFace(int row, int& pageNumber);
    // Hands the current page on and starts the next one.
    void FlushPage(int& pageNumber);
    // Hands page n on to the workers and ends its vector page.
    void OutputPage(int pageNumber);
    // The workers' job for a page: draw it and store it (preview) or give
    // its printer bitmap back (print).
    FinishedPage DrawAndStore(const PageBlocks& page) const;
    // The fonts pages are drawn with on the calling thread: the run's own
    // without workers, else the worker thread's, made at its first page.
    const BlockPainter& FontsOfThisThread() const;
    // Takes the pages the workers finished, in page order: logs a page that
    // could not be stored, hands printed pages to the printer. Waits up to
    // `wait` for the next one.
    void TakeFinished(std::chrono::milliseconds wait);
    void PrintFinished(const FinishedPage& page);
    // Waits, letting events run, until no more than `inFlight` pages handed
    // on are still to be taken back.
    void WaitForWorkers(int inFlight);
    void EndPrintJob();
    void RowLoop();
    void BeginVectorPage(int pageNumber);
    // The row's face for a run with vector pages: as the font database has
    // it, or (logged once per row) the face's own bytes.
    QRawFont VectorFaceOf(int row, const FontEntry& entry, const QByteArray& own);

    SampleInput input_;
    GenerationLog& log_;
    PageIndex& index_;
    RunObserver* observer_ = nullptr;
    PageStyle style_;
    std::unique_ptr<BlockPainter> fonts_; // the generating thread's, measuring as the bitmaps draw
    std::unique_ptr<BlockPainter> documentFonts_; // drawing onto the vector pages
    std::unique_ptr<PageWorkers> workers_;
    PageBlocks page_; // the page being filled
    LayoutCursor cursor_;
    int lastPage_ = 0; // the run's last page, once it has been handed on
    QString facePath_;
    QByteArray faceData_; // the row's face as made available, when it was decoded for that
    PathResolverCache shownPaths_; // the rows' paths in headings and log lines
    QPainter* vectorPainter_ = nullptr;
    SampleResult result_;
    bool running_ = true;
    bool printFailed_ = false;
    int unembeddedRow_ = -1;
};

} // namespace tz
