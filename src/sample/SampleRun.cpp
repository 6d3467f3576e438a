#include "sample/SampleRun.h"

#include "archive/Archivettf.h"
#include "fontfile/ByteOrder.h"
#include "fontfile/InstalledFontFiles.h"
#include "fontfile/MacFont.h"
#include "fontfile/OwnFace.h"
#include "fontfile/SystemFonts.h"
#include "platform/FontSubstitutes.h"
#include "platform/PathResolver.h"
#include "platform/ReplacingFile.h"
#include "platform/Text.h"
#include "sample/PageStore.h"
#include "sample/RunLock.h"

#include <QFile>
#include <QFontDatabase>
#include <QLocale>
#include <QPainter>

namespace tz {

namespace {

    // trunc(value × to ÷ from), exact in integers.
    int Scale(int value, int to, int from) { return from == 0 ? 0 : int(qint64(value) * to / from); }

    // The margin set of page n: set 0 on odd pages, set 1 on even ones.
    int MarginSetOf(int pageNumber) { return (pageNumber + 1) % 2; }

    void SetResolution(QImage& image, int dpiX, int dpiY)
    {
        image.setDotsPerMeterX(qRound(dpiX / 0.0254));
        image.setDotsPerMeterY(qRound(dpiY / 0.0254));
    }

    // A white image of the format: a 1-bit image gets the colour table
    // (0 white, 1 black) it is painted through.
    QImage WhiteImage(QSize size, QImage::Format format, int dpiX, int dpiY)
    {
        QImage image(size, format);
        if (image.isNull())
            return image;
        if (format == QImage::Format_Mono) {
            image.setColorTable({ qRgb(255, 255, 255), qRgb(0, 0, 0) });
            image.fill(0);
        } else {
            image.fill(Qt::white);
        }
        SetResolution(image, dpiX, dpiY);
        return image;
    }

    void FillWhite(QImage& image)
    {
        if (image.format() == QImage::Format_Mono)
            image.fill(0);
        else
            image.fill(Qt::white);
    }

    // A painter on a page bitmap: black one-pixel pen, antialiasing only on a
    // smoothed (24-bit) canvas.
    void SetUpPainter(QPainter& painter, bool smooth)
    {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setRenderHint(QPainter::TextAntialiasing, smooth);
        painter.setPen(QPen(Qt::black, 0));
    }

    QRawFont RawFontOf(const QByteArray& data) { return data.isEmpty() ? QRawFont() : QRawFont(data, 12.0); }

    // A face drawn onto a document lives until the document ends, so it gets
    // data of its own rather than a mapping of the file.
    QRawFont RawFaceOf(const QString& path, const FontEntry& entry, FontFormats formats)
    {
        return RawFontOf(LoadOwnFace(path, entry.FaceName, entry.FamilyName, formats));
    }

    // Whether the face's licence lets a document carry it (OS/2 fsType:
    // restricted, or bitmap embedding only, forbid it).
    bool Embeddable(const QRawFont& face)
    {
        const QByteArray os2 = face.fontTable("OS/2");
        const quint16 fsType
            = BigEndianView(reinterpret_cast<const unsigned char*>(os2.constData()), std::size_t(os2.size())).U16(8);
        return fsType != 2 && !(fsType & 0x200);
    }

    // Draws a heading line: the right text at rightX, then the left text at
    // leftX, cut off short of the right text's start by `gap` pixels, so a
    // long face name never prints over the file name.
    void DrawHeading(
        QPainter& painter, const PageFont& font, int leftX, int rightX, int y, const HeadingTexts& heading, int gap)
    {
        font.Draw(painter, rightX, y, heading.right, true);
        const int clipRight = rightX - gap;
        if (heading.right.isEmpty() || leftX + font.Width(heading.left) <= clipRight) {
            font.Draw(painter, leftX, y, heading.left, true);
            return;
        }
        if (clipRight <= leftX)
            return;
        painter.save();
        painter.setClipRect(QRect(leftX, y, clipRight - leftX, font.Height()), Qt::IntersectClip);
        font.Draw(painter, leftX, y, heading.left, true);
        painter.restore();
    }

    // Draws a horizontal rule from x1 up to (not including) x2.
    void DrawRule(QPainter& painter, int x1, int x2, int y)
    {
        if (x2 > x1)
            painter.drawLine(x1, y, x2 - 1, y);
    }

    QString SubstituteFamily()
    {
        if (QLocale::system().language() == QLocale::Japanese)
            return kProportionalGothicFace;
        return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    }

} // namespace

int SampleClassOf(quint8 charset)
{
    return charset == kAnsiCharset ? kAsciiClass : charset == kShiftJisCharset ? kShiftJisClass : kSymbolClass;
}

int CanvasPoints(int size, int resolutionY, int previewResolutionY) { return Scale(size, resolutionY, previewResolutionY); }

void TakePageSetting(SampleInput& input, const PageSetupList& setups, const PrinterAccess& printers)
{
    input.binding = setups.CurrentSetting().binding;
    input.margins = setups.AppliedMarginHundredths();
    input.orientation = setups.AppliedOrientation();
    input.printer = printers.CurrentMetrics();
}

SampleRun::SampleRun(SampleInput input, GenerationLog& log, PageIndex& index)
    : input_(std::move(input))
    , log_(log)
    , index_(index)
    , substituteFace_(SubstituteFamily())
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

QImage SampleRun::GreyConvert(const QImage& page)
{
    const QImage rgb = page.format() == QImage::Format_RGB888 ? page : page.convertToFormat(QImage::Format_RGB888);
    QImage grey(rgb.size(), QImage::Format_Indexed8);
    QList<QRgb> palette(256);
    for (int i = 0; i < 256; ++i)
        palette[i] = qRgb(i, i, i);
    grey.setColorTable(palette);
    grey.setDotsPerMeterX(page.dotsPerMeterX());
    grey.setDotsPerMeterY(page.dotsPerMeterY());
    for (int y = 0; y < rgb.height(); ++y) {
        const uchar* in = rgb.constScanLine(y); // red, green, blue
        uchar* out = grey.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x, in += 3)
            out[x] = uchar((in[2] * 118 + in[1] * 601 + in[0] * 306) >> 10);
    }
    return grey;
}

void SampleRun::PreparePages()
{
    geometry_ = {};
    geometry_.previewMode = input_.mode == RunMode::Preview;
    DeviceFrame& P = geometry_.P;
    DeviceFrame& V = geometry_.V;
    V.pageBitmap = QImage(1, 1, QImage::Format_Mono);
    SetResolution(V.pageBitmap, input_.previewResolution, input_.previewResolution);
    ReadPrinterMetrics(geometry_, input_.printer, input_.orientation);
    DerivePreviewMetrics(geometry_);
    const auto& m = input_.margins;
    ApplyMargins(geometry_, input_.binding, m[0], m[1], m[2], m[3]);
    ShrinkToTextArea(geometry_);

    const bool smooth = geometry_.previewMode && input_.environment.smoothPreview;
    const QImage::Format previewFormat = smooth ? QImage::Format_RGB888 : QImage::Format_Mono;
    P.pageBitmap = WhiteImage(QSize(P.textWidth, P.textHeight), QImage::Format_Mono, P.resolutionX, P.resolutionY);
    V.pageBitmap = WhiteImage(QSize(V.textWidth, V.textHeight), previewFormat, V.resolutionX, V.resolutionY);
    pageImage_ = WhiteImage(QSize(V.paperWidth, V.paperHeight), previewFormat, V.resolutionX, V.resolutionY);
    const QString headingFace = input_.environment.HeadingFace();
    const int headingSize = input_.environment.HeadingSize();
    printerHeading_ = PageFont::System(headingFace,
        PixelSizeOfPoints(CanvasPoints(headingSize, P.resolutionY, V.resolutionY), V.resolutionY), false, false, false);
    previewHeading_ = PageFont::System(headingFace, PixelSizeOfPoints(headingSize, V.resolutionY), false, false, smooth);
    for (DeviceFrame* frame : { &P, &V }) {
        frame->sampleX = frame->resolutionX / 4;
        frame->blockGap = frame->resolutionY / 10;
        frame->headingX = 0;
        frame->y = 0;
    }
}

PageFont SampleRun::SampleFont(const QRawFont& face, int points, bool smooth) const
{
    const int pixels = PixelSizeOfPoints(points, geometry_.V.resolutionY);
    if (face_.substituted)
        return PageFont::System(substituteFace_, pixels, false, false, smooth);
    return PageFont::Own(face, pixels);
}

int SampleRun::BlockHeight(const QRawFont& face) const
{
    const EnvironmentSettings& env = input_.environment;
    int g = 0;
    for (int i = 0; i < EnvironmentSettings::kLineCount; ++i) {
        if (!env.lineShown[i])
            continue;
        const PageFont font
            = SampleFont(face, CanvasPoints(env.lineSize[i], geometry_.P.resolutionY, geometry_.V.resolutionY), false);
        g += face_.twoLine ? 2 * font.Height() : font.Height();
    }
    return g;
}

void SampleRun::DrawSampleLines(
    QPainter& painter, const QRawFont& face, int x, int y, int resolutionY, bool smooth) const
{
    const EnvironmentSettings& env = input_.environment;
    const QString ascii = input_.texts.EffectiveText(kAsciiClass);
    const QString sjis = input_.texts.EffectiveText(kShiftJisClass);
    const QString text = input_.texts.EffectiveText(face_.sampleClass);
    for (int i = 0; i < EnvironmentSettings::kLineCount; ++i) {
        if (!env.lineShown[i])
            continue;
        const PageFont font = SampleFont(face, CanvasPoints(env.lineSize[i], resolutionY, geometry_.V.resolutionY), smooth);
        if (face_.twoLine) {
            font.Draw(painter, x, y, ascii);
            font.Draw(painter, x, y + font.Height(), sjis);
            y += 2 * font.Height();
        } else {
            font.Draw(painter, x, y, text);
            y += font.Height();
        }
    }
}

bool SampleRun::RenderFace(int row, int& pageNumber)
{
    const FontEntry& entry = input_.rows.at(row);
    DeviceFrame& P = geometry_.P;
    const DeviceFrame& V = geometry_.V;
    const QString shownPath = shownPaths_.Resolve(entry.FilePath);
    const QString fileName = FileNamePart(shownPath);

    face_ = {};
    face_.charset = SampleCharset(entry.FamilyName, entry.FaceName, input_.environment.Formats());
    face_.sampleClass = SampleClassOf(face_.charset);
    face_.twoLine = face_.charset == kShiftJisCharset && input_.environment.sjisAlsoAscii;
    // The mapped data outlives every font made from it in this call.
    const OwnFaceData data(
        input_.vectorPages ? QString() : facePath_, entry.FaceName, entry.FamilyName, input_.environment.Formats());
    const QRawFont face = input_.vectorPages ? VectorFaceOf(row, entry) : RawFontOf(data.Bytes());

    int g = BlockHeight(face);
    if (g == 0 || g > P.textHeight) {
        face_.substituted = true;
        g = BlockHeight(face);
    }
    if (g == 0 || g > P.textHeight) {
        log_.LogMessage(LogEvent::DoesNotFit, entry.FaceName, fileName);
        return true;
    }

    const MarginSet& previewMargins = V.margins[MarginSetOf(pageNumber)];
    const int top = int(double(P.y) * V.resolutionY / P.resolutionY + (previewMargins.top + V.topOffset));
    const QString pageKey = PageIndex::PageKey(pageNumber, top);

    const bool smooth = V.pageBitmap.format() != QImage::Format_Mono;
    const int h = printerHeading_.Height();
    g += h;

    // A block that does not fit even an empty page would never be placed.
    if (P.textHeight < P.resolutionY / 100 + g) {
        log_.LogMessage(LogEvent::DoesNotFit, entry.FaceName, fileName);
        return true;
    }
    if (P.textHeight < P.resolutionY / 100 + g + P.y) {
        FlushPage(pageNumber);
        return false;
    }

    if (face_.substituted)
        log_.LogMessage(LogEvent::Substituted, entry.FaceName, fileName, substituteFace_);
    const HeadingTexts heading = HeadingOf(entry, shownPath, input_.environment.heading);
    const int rightX = P.textWidth - printerHeading_.Width(heading.right);
    // A quarter of the heading's height keeps the two texts apart.
    const int headingGap = h / 4;
    const int y = P.y;
    const int sampleY = int(y + h + P.resolutionY * 0.01);
    const int ruleY = int(y + h + P.resolutionY * 0.005);

    auto drawPrinterBlock = [&](QPainter& painter) {
        DrawHeading(painter, printerHeading_, P.headingX, rightX, y, heading, headingGap);
        DrawSampleLines(painter, face, P.sampleX, sampleY, P.resolutionY, false);
        DrawRule(painter, P.headingX, P.textWidth, int(ruleY + P.resolutionY * 0.005));
    };
    if (!P.pageBitmap.isNull()) {
        QPainter painter(&P.pageBitmap);
        SetUpPainter(painter, false);
        drawPrinterBlock(painter);
    }
    if (vectorPainter_)
        drawPrinterBlock(*vectorPainter_);
    if (!V.pageBitmap.isNull()) {
        QPainter painter(&geometry_.V.pageBitmap);
        SetUpPainter(painter, smooth);
        const int previewY = Scale(y, V.resolutionY, P.resolutionY);
        const int previewRightX = Scale(rightX, V.resolutionX, P.resolutionX);
        DrawHeading(painter, previewHeading_, Scale(P.headingX, V.resolutionX, P.resolutionX), previewRightX, previewY,
            heading, previewRightX - Scale(rightX - headingGap, V.resolutionX, P.resolutionX));
        DrawSampleLines(painter, face, Scale(P.sampleX, V.resolutionX, P.resolutionX),
            Scale(sampleY, V.resolutionY, P.resolutionY), V.resolutionY, smooth);
        DrawRule(painter, V.headingX, V.textWidth,
            int(double(ruleY) * V.resolutionY / P.resolutionY + V.resolutionY * 0.005));
    }

    P.y = sampleY + g;
    index_.Append(pageKey, entry.FaceName, entry.Kind);
    return true;
}

void SampleRun::ClearPageBitmaps()
{
    FillWhite(geometry_.P.pageBitmap);
    FillWhite(geometry_.V.pageBitmap);
}

void SampleRun::FlushPage(int& pageNumber)
{
    OutputPage(pageNumber, false);
    if (printFailed_)
        return;
    ClearPageBitmaps();
    geometry_.P.y = 0;
    ++pageNumber;
    BeginVectorPage(pageNumber);
}

bool SampleRun::StorePreviewPage(int pageNumber)
{
    const DeviceFrame& V = geometry_.V;
    const MarginSet& margins = V.margins[MarginSetOf(pageNumber)];
    FillWhite(pageImage_);
    if (!pageImage_.isNull()) {
        QPainter painter(&pageImage_);
        painter.drawImage(QPoint(margins.left + V.leftOffset, margins.top + V.topOffset), V.pageBitmap);
    }
    const QString bitmap = PageBitmapPath(input_.workFolder, pageNumber);
    const QString pageFile = PageFilePath(input_.workFolder, pageNumber);
    const QImage stored = pageImage_.format() == QImage::Format_Mono ? pageImage_ : GreyConvert(pageImage_);
    const bool ok = WriteImageFile(stored, bitmap, "BMP", nullptr, ReplacingFile::Durability::Scratch)
        && CompressFile(bitmap, pageFile);
    QFile::remove(bitmap);
    if (!ok)
        QFile::remove(pageFile);
    return ok;
}

void SampleRun::OutputPage(int& pageNumber, bool last)
{
    if (input_.mode == RunMode::Preview) {
        result_.pageCount = pageNumber;
        if (!StorePreviewPage(pageNumber)) {
            log_.LogMessage(LogEvent::FileError);
            if (!last)
                --pageNumber; // the next page is written again under this number
        }
    } else if (PrintJob* job = input_.printJob) {
        const MarginSet& margins = geometry_.P.margins[MarginSetOf(pageNumber)];
        bool ok = job->PrintPage(geometry_.P.pageBitmap, QPoint(margins.left, margins.top));
        if (!last) {
            ok = ok && job->NewPage();
        } else if (running_) {
            ok = ok && job->End();
        } else {
            job->Abort();
        }
        if (!ok) {
            // A printer that went away or a refused job ends the run.
            log_.LogMessage(LogEvent::FileError);
            if (!last)
                job->Abort();
            printFailed_ = true;
            running_ = false;
        }
    }
    if (input_.vectorPages && vectorPainter_) {
        input_.vectorPages->EndPage();
        vectorPainter_ = nullptr;
    }
}

QRawFont SampleRun::VectorFaceOf(int row, const FontEntry& entry)
{
    // A document embeds only faces the font database opened from their own
    // file; a face loaded from bytes would become outlines. Files the run
    // extracts into the work folder reuse one name for many faces, which the
    // document's font table can't tell apart.
    const QRawFont own = RawFaceOf(facePath_, entry, input_.environment.Formats());
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
        vectorPainter_ = input_.vectorPages->BeginPage(pageNumber);
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
        const int handle = AddFontResource(path);
        if (handle >= 0) {
            facePath_ = path;
            done = RenderFace(row, pageNumber);
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
        done = RenderFace(row, pageNumber);
    }
    return done ? RowOutcome::Done : RowOutcome::PageFull;
}

void SampleRun::RowLoop(RunObserver& observer)
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
            observer.Progress(row + 1, count);
            outcome = SampleRow(row, pageNumber, installed);
        } while (outcome == RowOutcome::PageFull && !printFailed_); // a page the printer refused ends the run
        if (outcome == RowOutcome::NotExtracted)
            continue;
        geometry_.P.y += geometry_.P.blockGap;
        if (!observer.GoOn())
            running_ = false;
    }
    const bool stopped = !running_ && !printFailed_;
    if (!printFailed_)
        OutputPage(pageNumber, true);
    if (input_.mode == RunMode::Print)
        observer.GoOn();
    const DeviceFrame& V = geometry_.V;
    result_.initialScrollX = std::min(V.margins[0].left, V.margins[1].left);
    result_.stopped = stopped;
    if (stopped)
        log_.LogMessage(LogEvent::Stopped);
    observer.Progress(count, count);
}

SampleResult SampleRun::Run(RunObserver& observer)
{
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
    PreparePages();
    result_.pageSize = pageImage_.size();
    result_.smooth = pageImage_.format() != QImage::Format_Mono;
    if (input_.mode == RunMode::Print
        && (!input_.printJob || !input_.printJob->Begin(QStringLiteral("Typoscan Zindel")))) {
        log_.LogMessage(LogEvent::FileError);
        return result_;
    }
    RowLoop(observer);
    geometry_.P.pageBitmap = QImage();
    geometry_.V.pageBitmap = QImage();
    return result_;
}

} // namespace tz
