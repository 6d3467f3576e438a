#include "sample/SampleRun.h"

#include "archive/Archivettf.h"
#include "fontfile/ByteOrder.h"
#include "fontfile/InstalledFontFiles.h"
#include "fontfile/MacFont.h"
#include "fontfile/OwnFace.h"
#include "fontfile/SystemFonts.h"
#include "platform/FontSubstitutes.h"
#include "platform/PathResolver.h"
#include "platform/Text.h"
#include "sample/PageStore.h"
#include "sample/RunLock.h"

#include <QFile>
#include <QFontDatabase>
#include <QLocale>
#include <QPainter>

namespace tz {

namespace {

    using namespace std::chrono_literals;
    // How long the run waits for its workers before it lets events run again.
    constexpr auto kWaitSlice = 10ms;

    // Whether the face's licence lets a document carry it (OS/2 fsType:
    // restricted, or bitmap embedding only, forbid it).
    bool Embeddable(const QRawFont& face)
    {
        const QByteArray os2 = face.fontTable("OS/2");
        const quint16 fsType
            = BigEndianView(reinterpret_cast<const unsigned char*>(os2.constData()), std::size_t(os2.size())).U16(8);
        return fsType != 2 && !(fsType & 0x200);
    }

    QString SubstituteFamily()
    {
        if (QLocale::system().language() == QLocale::Japanese)
            return kProportionalGothicFace;
        return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    }

    // A family with the fonts that stand in for it: the font database's
    // stand-in for a family this system lacks, else the family itself.
    SystemFamily SystemFamilyOf(const QString& name)
    {
        const QStringList standIns = QFont::substitutes(name);
        return { name, FontChain::Of(standIns.isEmpty() ? name : standIns.first()) };
    }

} // namespace

int SampleClassOf(quint8 charset)
{
    return charset == kAnsiCharset ? kAsciiClass : charset == kShiftJisCharset ? kShiftJisClass : kSymbolClass;
}

PageGeometry GeometryOf(const SampleInput& input)
{
    PageGeometry geometry;
    geometry.previewMode = input.mode == RunMode::Preview;
    ReadPrinterMetrics(geometry, input.printer, input.orientation);
    DerivePreviewMetrics(geometry, input.previewResolution, input.previewResolution);
    const auto& m = input.margins;
    ApplyMargins(geometry, input.binding, m[0], m[1], m[2], m[3]);
    ShrinkToTextArea(geometry);
    return geometry;
}

SampleRun::SampleRun(SampleInput input, GenerationLog& log, PageIndex& index)
    : input_(std::move(input))
    , log_(log)
    , index_(index)
{
}

SampleRun::~SampleRun() = default;

HeadingTexts SampleRun::HeadingOf(const FontEntry& entry, const QString& shownPath, const HeadingLayout& layout)
{
    QString file = FileNamePart(shownPath);
    if (!entry.MemberName.isEmpty())
        file += QLatin1Char('[') + entry.MemberName.toLower() + QLatin1Char(']');
    return layout.Compose(entry.FaceName, entry.FamilyName, file);
}

void SampleRun::PrepareStyle()
{
    const EnvironmentSettings& env = input_.environment;
    style_.geometry = GeometryOf(input_);
    const DeviceFrame& P = style_.geometry.P;
    style_.headingX = 0;
    style_.sampleX = P.resolutionX / 4;
    style_.lineShown = env.lineShown;
    style_.lineSize = env.lineSize;
    for (int sampleClass : { kSymbolClass, kAsciiClass, kShiftJisClass })
        style_.texts[std::size_t(sampleClass)] = input_.texts.EffectiveText(sampleClass);
    // The chains are resolved before the run makes any font available.
    style_.heading = SystemFamilyOf(env.HeadingFace());
    style_.headingSize = env.HeadingSize();
    style_.substitute = SystemFamilyOf(SubstituteFamily());
    style_.smooth = style_.geometry.previewMode && env.smoothPreview;
    fonts_ = std::make_unique<BlockPainter>(style_, BlockPainter::Canvas::Bitmap);
    if (input_.vectorPages)
        documentFonts_ = std::make_unique<BlockPainter>(style_, BlockPainter::Canvas::Document);
    cursor_ = { P.resolutionY / 10, 0 };
}

bool SampleRun::RenderFace(int row, int& pageNumber)
{
    const FontEntry& entry = input_.rows.at(row);
    const DeviceFrame& P = style_.geometry.P;
    const DeviceFrame& V = style_.geometry.V;
    const QString shownPath = shownPaths_.Resolve(entry.FilePath);
    const QString fileName = FileNamePart(shownPath);

    PlacedBlock block;
    const quint8 charset = SampleCharset(entry.FamilyName, entry.FaceName, input_.environment.Formats());
    block.sampleClass = SampleClassOf(charset);
    block.twoLine = charset == kShiftJisCharset && input_.environment.sjisAlsoAscii;
    // The workers load the face again from this data: the file may be gone
    // by the time the page is drawn (a mapping outlives it).
    block.face = faceData_.isEmpty()
        ? std::make_shared<const OwnFaceData>(facePath_, entry.FaceName, entry.FamilyName, input_.environment.Formats())
        : std::make_shared<const OwnFaceData>(faceData_);
    const QRawFont face = input_.vectorPages ? VectorFaceOf(row, entry, block.face->Bytes()) : RawFontOf(block.face);

    int g = fonts_->SampleHeight(face, block);
    if (g == 0 || g > P.textHeight) {
        block.substituted = true;
        g = fonts_->SampleHeight(face, block);
    }
    if (g == 0 || g > P.textHeight) {
        log_.LogMessage(LogEvent::DoesNotFit, entry.FaceName, fileName);
        return true;
    }

    const MarginSet& previewMargins = V.margins[std::size_t(MarginSetOf(pageNumber))];
    const int top = int(double(cursor_.y) * V.resolutionY / P.resolutionY + (previewMargins.top + V.topOffset));
    const QString pageKey = PageIndex::PageKey(pageNumber, top);
    const int h = fonts_->PrinterHeading().Height();
    g += h;

    // A block that does not fit even an empty page would never be placed.
    if (P.textHeight < P.resolutionY / 100 + g) {
        log_.LogMessage(LogEvent::DoesNotFit, entry.FaceName, fileName);
        return true;
    }
    if (P.textHeight < P.resolutionY / 100 + g + cursor_.y) {
        FlushPage(pageNumber);
        return false;
    }

    if (block.substituted) {
        log_.LogMessage(LogEvent::Substituted, entry.FaceName, fileName, style_.substitute.name);
        block.face.reset();
    }
    block.heading = HeadingOf(entry, shownPath, input_.environment.heading);
    block.rightX = P.textWidth - fonts_->PrinterHeading().Width(block.heading.right);
    block.y = cursor_.y;
    block.sampleY = int(block.y + h + P.resolutionY * 0.01);
    block.ruleY = int(block.y + h + P.resolutionY * 0.005);
    if (vectorPainter_)
        documentFonts_->DrawPrinter(*vectorPainter_, face, block);
    cursor_.y = block.sampleY + g;
    page_.blocks.append(std::move(block));
    index_.Append(pageKey, entry.FaceName, entry.Kind);
    return true;
}

void SampleRun::FlushPage(int& pageNumber)
{
    OutputPage(pageNumber);
    if (printFailed_)
        return;
    cursor_.y = 0;
    ++pageNumber;
    BeginVectorPage(pageNumber);
}

FinishedPage SampleRun::DrawAndStore(const PageBlocks& page) const
{
    DrawnPage drawn = DrawPage(style_, page, FontsOfThisThread());
    FinishedPage finished { page.pageNumber, true, {}, {} };
    if (input_.mode == RunMode::Print) {
        finished.printer = std::move(drawn.printer);
        return finished;
    }
    const QImage image = PageImage(style_, page.pageNumber, drawn.preview);
    finished.stored = input_.pageSink ? input_.pageSink->Store(page.pageNumber, image)
                                      : StorePageFile(input_.workFolder, page.pageNumber, image);
    return finished;
}

const BlockPainter& SampleRun::FontsOfThisThread() const
{
    if (workers_->Count() == 1)
        return *fonts_;
    // A worker thread serves one run and ends with it, and its fonts with it.
    thread_local std::unique_ptr<BlockPainter> fonts;
    if (!fonts)
        fonts = std::make_unique<BlockPainter>(style_, BlockPainter::Canvas::Bitmap);
    return *fonts;
}

void SampleRun::OutputPage(int pageNumber)
{
    if (input_.mode == RunMode::Preview)
        result_.pageCount = pageNumber;
    if (input_.mode == RunMode::Preview || input_.printJob) {
        while (workers_->Full()) {
            TakeFinished(kWaitSlice);
            observer_->HandleEvents();
        }
        page_.pageNumber = pageNumber;
        workers_->Hand([this, page = std::move(page_)]() mutable {
            FinishedPage finished = DrawAndStore(page);
            finished.page = std::move(page);
            return finished;
        });
        TakeFinished(0ms);
        // A printer learns of a page no later than while the next one is
        // drawn, so a page it refuses ends the run at once.
        if (input_.mode == RunMode::Print)
            WaitForWorkers(1);
    }
    page_ = {};
    if (input_.vectorPages && vectorPainter_) {
        input_.vectorPages->EndPage();
        vectorPainter_ = nullptr;
    }
}

void SampleRun::TakeFinished(std::chrono::milliseconds wait)
{
    while (const std::optional<FinishedPage> page = workers_->Next(wait)) {
        wait = 0ms;
        if (input_.mode == RunMode::Print)
            PrintFinished(*page);
        else if (!page->stored)
            log_.LogMessage(LogEvent::FileError);
    }
}

void SampleRun::PrintFinished(const FinishedPage& page)
{
    if (printFailed_)
        return;
    PrintJob& job = *input_.printJob;
    const MarginSet& margins = style_.geometry.P.margins[std::size_t(MarginSetOf(page.pageNumber))];
    if (job.PrintPage(page.printer, QPoint(margins.left, margins.top))
        && (page.pageNumber == lastPage_ || job.NewPage()))
        return;
    // A printer that went away or a refused job ends the run.
    log_.LogMessage(LogEvent::FileError);
    job.Abort();
    printFailed_ = true;
    running_ = false;
}

void SampleRun::WaitForWorkers(int inFlight)
{
    while (workers_->InFlight() > inFlight) {
        TakeFinished(kWaitSlice);
        observer_->HandleEvents();
    }
}

void SampleRun::EndPrintJob()
{
    PrintJob& job = *input_.printJob;
    if (!running_) {
        job.Abort();
    } else if (!job.End()) {
        log_.LogMessage(LogEvent::FileError);
        printFailed_ = true;
    }
}

QRawFont SampleRun::VectorFaceOf(int row, const FontEntry& entry, const QByteArray& ownBytes)
{
    // A document embeds only faces the font database opened from their own
    // file; a face loaded from bytes would become outlines. Files the run
    // extracts into the work folder reuse one name for many faces, which the
    // document's font table can't tell apart. A face drawn onto a document
    // lives until the document ends, so it gets data of its own rather than
    // a mapping of the file.
    const QRawFont own = RawFontOf(QByteArray(ownBytes.constData(), ownBytes.size()));
    if (!own.isValid())
        return own;
    QFont font(own.familyName());
    font.setStyleName(own.styleName());
    font.setPixelSize(12);
    const QRawFont listed = QRawFont::fromFont(font);
    const bool sameFace = listed.isValid() && listed.fontTable("head") == own.fontTable("head")
        && listed.fontTable("name") == own.fontTable("name");
    if (sameFace && Embeddable(own) && !facePath_.startsWith(input_.workFolder + u'/'))
        return listed;
    if (row != unembeddedRow_) {
        unembeddedRow_ = row;
        log_.LogMessage(LogEvent::NotEmbedded, entry.FaceName, FileNamePart(shownPaths_.Resolve(entry.FilePath)));
    }
    return own;
}

void SampleRun::BeginVectorPage(int pageNumber)
{
    if (input_.vectorPages)
        vectorPainter_ = input_.vectorPages->BeginPage(pageNumber, style_.geometry);
}

SampleRun::RowOutcome SampleRun::SampleRow(int row, int& pageNumber, const InstalledFontFiles& installed)
{
    const FontEntry& entry = input_.rows.at(row);
    const QString& work = input_.workFolder;
    const QString archived = work + QStringLiteral("/typozind.arc.ttf");
    const QString macintosh = work + QStringLiteral("/typozind.mac.ttf");
    const QString shownFile = FileNamePart(shownPaths_.Resolve(entry.FilePath));
    QString path = entry.FilePath;
    if (!entry.MemberName.isEmpty()) {
        const ArchiveMember member { entry.MemberName, {} };
        if (!ExtractMember(entry.FilePath, member, archived, input_.environment.Formats())) {
            log_.LogMessage(LogEvent::Unavailable, entry.FaceName, shownFile);
            return RowOutcome::NotExtracted;
        }
        path = archived;
    }
    bool done = true;
    if (installed.IndexOf(path) < 0) {
        path = ResolvePath(path);
        if (entry.Kind > kKindCollection) {
            if (ExtractMacFont(path, macintosh, input_.environment.Formats())) {
                path = macintosh;
            } else {
                QFile::remove(macintosh);
                log_.LogMessage(LogEvent::Unavailable, entry.FaceName, FileNamePart(path));
            }
        }
        const int handle = [&] {
            const FontSetChange change;
            return AddFontResource(path, input_.environment.Formats());
        }();
        if (handle >= 0) {
            facePath_ = path;
            faceData_ = AddedFontData(handle);
            done = RenderFace(row, pageNumber);
            const FontSetChange change;
            RemoveFontResource(handle);
        } else {
            log_.LogMessage(LogEvent::Unavailable, entry.FaceName, shownFile);
        }
        if (entry.Kind > kKindCollection)
            QFile::remove(macintosh);
        if (!entry.MemberName.isEmpty())
            QFile::remove(archived);
    } else {
        log_.LogMessage(LogEvent::AlreadyInstalled, shownPaths_.Resolve(path), entry.FaceName);
        facePath_ = ResolvePath(path);
        faceData_.clear();
        done = RenderFace(row, pageNumber);
    }
    return done ? RowOutcome::Done : RowOutcome::PageFull;
}

void SampleRun::RowLoop()
{
    int pageNumber = 1;
    InstalledFontFiles installed;
    installed.Refresh();
    const int count = int(input_.rows.size());
    running_ = true;
    BeginVectorPage(pageNumber);
    for (int row = 0; running_ && row < count; ++row) {
        RowOutcome outcome;
        do {
            observer_->Progress(row + 1, count);
            outcome = SampleRow(row, pageNumber, installed);
        } while (outcome == RowOutcome::PageFull && !printFailed_); // a page the printer refused ends the run
        if (outcome == RowOutcome::NotExtracted)
            continue;
        cursor_.y += cursor_.blockGap;
        if (!observer_->GoOn())
            running_ = false;
    }
    const bool stopped = !running_ && !printFailed_;
    if (!printFailed_) {
        lastPage_ = pageNumber;
        OutputPage(pageNumber);
    }
    WaitForWorkers(0);
    if (input_.mode == RunMode::Print && input_.printJob && !printFailed_)
        EndPrintJob();
    if (input_.mode == RunMode::Print)
        observer_->GoOn();
    const DeviceFrame& V = style_.geometry.V;
    result_.initialScrollX = std::min(V.margins[0].left, V.margins[1].left);
    result_.stopped = stopped;
    if (stopped)
        log_.LogMessage(LogEvent::Stopped);
    observer_->Progress(count, count);
}

SampleResult SampleRun::Run(RunObserver& observer)
{
    observer_ = &observer;
    result_ = {};
    observer.Status(QString());
    observer.Progress(0, int(input_.rows.size()));
    RunLock lock;
    if (!lock.TryAcquire()) {
        // A lock file that can't be used is no other run: it is a file error.
        result_.lockProblem = lock.Problem();
        result_.busy = result_.lockProblem.isEmpty();
        observer.Status(result_.busy ? QStringLiteral("Busy...") : QString());
        log_.LogMessage(result_.busy ? LogEvent::AnotherRun : LogEvent::FileError);
        return result_;
    }
    observer.Status(QStringLiteral("Running..."));
    PrepareStyle();
    const DeviceFrame& V = style_.geometry.V;
    const QSize paper(V.paperWidth, V.paperHeight);
    result_.pageSize = paper.isEmpty() ? QSize(0, 0) : paper;
    result_.smooth = style_.smooth;
    if (input_.mode == RunMode::Print
        && (!input_.printJob || !input_.printJob->Begin(QStringLiteral("Typoscan Zindel")))) {
        log_.LogMessage(LogEvent::FileError);
        return result_;
    }
    workers_ = std::make_unique<PageWorkers>(input_.workers, input_.promptStop);
    RowLoop();
    workers_.reset();
    return result_;
}

} // namespace tz
