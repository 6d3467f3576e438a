#pragma once
// A generation run: the whole font list becomes sample pages, for the viewer
// (preview mode) or the printer (print mode). For each row the font is made
// usable (extracted from its archive or Macintosh file into the work folder
// and made available to this process, unless it is installed), its face block
// is laid out once at the printer's resolution and drawn with the same text
// and line operations on every canvas of the run, and messages go to the
// generation log. Headless: the generation window and `tzind sample` drive it
// through a RunObserver.
#include "fontfile/FontFormats.h"
#include "fontfile/SystemFonts.h"
#include "fontlist/FontEntry.h"
#include "pagesetup/PageSetup.h"
#include "platform/PathResolver.h"
#include "sample/GenerationLog.h"
#include "sample/PageFont.h"
#include "sample/PageIndex.h"
#include "settings/EnvironmentSettings.h"
#include "settings/SampleTextSet.h"
#include "viewer/PageGeometry.h"

#include <QImage>
#include <QList>
#include <QRawFont>
#include <array>
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
    // A painter for page n whose origin is the corner of that page's text
    // area, in printer pixels; nullptr when the page can't be made.
    virtual QPainter* BeginPage(int pageNumber) = 0;
    virtual void EndPage() = 0;
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
    PrintJob* printJob = nullptr; // print mode
    VectorPages* vectorPages = nullptr; // optional, either mode
};

// The sample text class of a face charset: ANSI faces get the Ascii text,
// Shift-JIS faces the Japanese one, every other face the SYMBOL text.
int SampleClassOf(quint8 charset);
// A sample size on a canvas, in the preview's points: trunc(size × the
// canvas's vertical resolution ÷ the preview's).
int CanvasPoints(int size, int resolutionY, int previewResolutionY);

// Takes the page setting in force: the current setting's binding, the
// applied margins and orientation, and the current printer's capabilities.
void TakePageSetting(SampleInput& input, const PageSetupList& setups, const PrinterAccess& printers);

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
};

// What a preview run leaves for the viewer besides the log and the index.
struct SampleResult {
    bool busy = false; // another run held the lock: nothing was produced
    QString lockProblem; // the lock file could not be used: nothing was produced
    bool stopped = false;
    int pageCount = 0; // page files "%04d.tzg" 1 … pageCount in the work folder
    int initialScrollX = 0; // the smaller of the preview's two left margins
    QSize pageSize; // the page image: the preview's paper size
    bool smooth = false; // pages are 8-bit grey, else 1-bit
};

class SampleRun {
public:
    SampleRun(SampleInput input, GenerationLog& log, PageIndex& index);
    ~SampleRun();

    // The whole run: lock, geometry, page bitmaps, rows, last page.
    SampleResult Run(RunObserver& observer);

    // Places row's block on the current page. False when the page was full:
    // it has been output, pageNumber incremented, and the row must be offered
    // again. Needs the geometry and page bitmaps of a started run.
    bool RenderFace(int row, int& pageNumber);
    // Outputs the current page in the run's mode and starts the next one.
    void FlushPage(int& pageNumber);
    // The grey bitmap of a 24-bit page image.
    static QImage GreyConvert(const QImage& page);
    // The heading's left and right texts of a row whose file path, as shown,
    // is shownPath.
    static HeadingTexts HeadingOf(const FontEntry& entry, const QString& shownPath, const HeadingLayout& layout);

    // Sets up the geometry, the page bitmaps and the page image (activation
    // steps 9 to 11 and the layout cursors).
    void PreparePages();
    const PageGeometry& Geometry() const { return geometry_; }

private:
    struct FaceState {
        quint8 charset = kDefaultCharset;
        int sampleClass = kSymbolClass;
        bool twoLine = false;
        bool substituted = false;
    };
    enum class RowOutcome { Done, PageFull, NotExtracted };

    // The sample font at a canvas's point size: the row's own face, or the
    // substitute font after a substitution.
    PageFont SampleFont(const QRawFont& face, int points, bool smooth) const;
    int BlockHeight(const QRawFont& face) const;
    void DrawSampleLines(QPainter& painter, const QRawFont& face, int x, int y, int resolutionY, bool smooth) const;
    // Outputs page n: a page file (preview), a printed page, the end of a
    // vector page. A preview page that can't be stored logs a file error and
    // (except for the last page) gives its number back.
    void OutputPage(int& pageNumber, bool last);
    bool StorePreviewPage(int pageNumber);
    void RowLoop(RunObserver& observer);
    RowOutcome SampleRow(int row, int& pageNumber, const InstalledFontFiles& installed);
    void ClearPageBitmaps();
    void BeginVectorPage(int pageNumber);
    // The row's face for a run with vector pages: as the font database has
    // it, or (logged once per row) the face's own bytes.
    QRawFont VectorFaceOf(int row, const FontEntry& entry);

    SampleInput input_;
    GenerationLog& log_;
    PageIndex& index_;
    PageGeometry geometry_;
    QImage pageImage_;
    PageFont printerHeading_; // the heading font of each canvas, set up with the pages
    PageFont previewHeading_;
    FaceState face_;
    QString facePath_;
    PathResolverCache shownPaths_; // the rows' paths in headings and log lines
    QString substituteFace_;
    QPainter* vectorPainter_ = nullptr;
    SampleResult result_;
    bool running_ = true;
    bool printFailed_ = false;
    int unembeddedRow_ = -1;
};

} // namespace tz
