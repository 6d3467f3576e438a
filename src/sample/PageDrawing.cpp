#include "sample/PageDrawing.h"

#include "settings/SampleTextSet.h"

#include <QFontDatabase>
#include <QPainter>
#include <cstring>
#include <mutex>

namespace tz {

namespace {

    void SetResolution(QImage& image, int dpiX, int dpiY)
    {
        image.setDotsPerMeterX(qRound(dpiX / 0.0254));
        image.setDotsPerMeterY(qRound(dpiY / 0.0254));
    }

    // A white image of the format: a 1-bit image gets the colour table
    // (0 white, 1 black) it is painted through. Its lines are cleared to
    // their last byte: the bits and bytes that pad them go into BMP files.
    QImage WhiteImage(QSize size, QImage::Format format, int dpiX, int dpiY)
    {
        QImage image(size, format);
        if (image.isNull())
            return image;
        if (format == QImage::Format_Mono) {
            image.setColorTable({ qRgb(255, 255, 255), qRgb(0, 0, 0) });
            std::memset(image.bits(), 0, std::size_t(image.sizeInBytes()));
        } else {
            image.fill(Qt::white);
        }
        SetResolution(image, dpiX, dpiY);
        return image;
    }

    QImage::Format PreviewFormat(const PageStyle& style)
    {
        return style.smooth ? QImage::Format_RGB888 : QImage::Format_Mono;
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
            painter.fillRect(QRect(x1, y, x2 - x1, 1), Qt::black);
    }

} // namespace

int CanvasPoints(int size, int resolutionY, int previewResolutionY) { return Scale(size, resolutionY, previewResolutionY); }

QRawFont RawFontOf(const std::shared_ptr<const OwnFaceData>& data) { return data ? RawFontOf(data->Bytes()) : QRawFont(); }

void SetUpPainter(QPainter& painter, bool smooth)
{
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, smooth);
    painter.setPen(QPen(Qt::black, 0));
}

BlockPainter::BlockPainter(const PageStyle& style, Canvas canvas)
    : style_(style)
    , canvas_(canvas)
{
    const int printerY = style.geometry.P.resolutionY;
    const int previewY = style.geometry.V.resolutionY;
    printerHeading_ = SystemFont(style.heading, PixelSizeOfPoints(CanvasPoints(style.headingSize, printerY, previewY), previewY));
    previewHeading_ = SystemFont(style.heading, PixelSizeOfPoints(style.headingSize, previewY));
}

PageFont BlockPainter::SystemFont(const SystemFamily& family, int pixelSize) const
{
    return canvas_ == Canvas::Document ? PageFont::System(family.name, pixelSize)
                                       : PageFont::Chained(family.chain, pixelSize);
}

PageFont BlockPainter::SampleFont(const QRawFont& face, const PlacedBlock& block, int points) const
{
    const int pixels = PixelSizeOfPoints(points, style_.geometry.V.resolutionY);
    if (!block.substituted)
        return PageFont::Own(face, pixels);
    auto& font = substitutes_[pixels];
    if (!font.IsValid())
        font = SystemFont(style_.substitute, pixels);
    return font;
}

int BlockPainter::SampleHeight(const QRawFont& face, const PlacedBlock& block) const
{
    const PageGeometry& g = style_.geometry;
    int height = 0;
    for (std::size_t i = 0; i < style_.lineShown.size(); ++i) {
        if (!style_.lineShown[i])
            continue;
        const PageFont font
            = SampleFont(face, block, CanvasPoints(style_.lineSize[i], g.P.resolutionY, g.V.resolutionY));
        height += block.twoLine ? 2 * font.Height() : font.Height();
    }
    return height;
}

void BlockPainter::DrawSampleLines(
    QPainter& painter, const QRawFont& face, const PlacedBlock& block, QPoint at, int resolutionY) const
{
    const QString& ascii = style_.texts[kAsciiClass];
    const QString& sjis = style_.texts[kShiftJisClass];
    const QString& text = style_.texts[std::size_t(block.sampleClass)];
    int y = at.y();
    for (std::size_t i = 0; i < style_.lineShown.size(); ++i) {
        if (!style_.lineShown[i])
            continue;
        const PageFont font
            = SampleFont(face, block, CanvasPoints(style_.lineSize[i], resolutionY, style_.geometry.V.resolutionY));
        if (block.twoLine) {
            font.Draw(painter, at.x(), y, ascii);
            font.Draw(painter, at.x(), y + font.Height(), sjis);
            y += 2 * font.Height();
        } else {
            font.Draw(painter, at.x(), y, text);
            y += font.Height();
        }
    }
}

void BlockPainter::DrawPrinter(QPainter& painter, const QRawFont& face, const PlacedBlock& block) const
{
    const DeviceFrame& P = style_.geometry.P;
    // A quarter of the heading's height keeps the two heading texts apart.
    const int gap = printerHeading_.Height() / 4;
    DrawHeading(painter, printerHeading_, style_.headingX, block.rightX, block.y, block.heading, gap);
    DrawSampleLines(painter, face, block, QPoint(style_.sampleX, block.sampleY), P.resolutionY);
    DrawRule(painter, style_.headingX, P.textWidth, int(block.ruleY + P.resolutionY * 0.005));
}

void BlockPainter::DrawPreview(QPainter& painter, const QRawFont& face, const PlacedBlock& block) const
{
    const DeviceFrame& P = style_.geometry.P;
    const DeviceFrame& V = style_.geometry.V;
    auto x = [&](int printerX) { return Scale(printerX, V.resolutionX, P.resolutionX); };
    auto y = [&](int printerY) { return Scale(printerY, V.resolutionY, P.resolutionY); };
    const int gap = printerHeading_.Height() / 4;
    const int rightX = x(block.rightX);
    DrawHeading(painter, previewHeading_, x(style_.headingX), rightX, y(block.y), block.heading,
        rightX - x(block.rightX - gap));
    DrawSampleLines(painter, face, block, QPoint(x(style_.sampleX), y(block.sampleY)), V.resolutionY);
    DrawRule(painter, x(style_.headingX), V.textWidth,
        int(double(block.ruleY) * V.resolutionY / P.resolutionY + V.resolutionY * 0.005));
}

DrawnPage DrawPage(const PageStyle& style, const PageBlocks& page, const BlockPainter& fonts)
{
    const DeviceFrame& P = style.geometry.P;
    const DeviceFrame& V = style.geometry.V;
    DrawnPage drawn {
        WhiteImage(QSize(P.textWidth, P.textHeight), QImage::Format_Mono, P.resolutionX, P.resolutionY),
        WhiteImage(QSize(V.textWidth, V.textHeight), PreviewFormat(style), V.resolutionX, V.resolutionY),
    };
    QPainter printer, preview;
    if (!drawn.printer.isNull() && printer.begin(&drawn.printer))
        SetUpPainter(printer, false);
    if (!drawn.preview.isNull() && preview.begin(&drawn.preview))
        SetUpPainter(preview, style.smooth);
    for (const PlacedBlock& block : page.blocks) {
        const QRawFont face = RawFontOf(block.face);
        if (printer.isActive())
            fonts.DrawPrinter(printer, face, block);
        if (preview.isActive())
            fonts.DrawPreview(preview, face, block);
    }
    return drawn;
}

QImage PageImage(const PageStyle& style, int pageNumber, const QImage& preview)
{
    const DeviceFrame& V = style.geometry.V;
    QImage image
        = WhiteImage(QSize(V.paperWidth, V.paperHeight), PreviewFormat(style), V.resolutionX, V.resolutionY);
    if (!image.isNull()) {
        const MarginSet& margins = V.margins[std::size_t(MarginSetOf(pageNumber))];
        QPainter painter(&image);
        painter.drawImage(QPoint(margins.left + V.leftOffset, margins.top + V.topOffset), preview);
    }
    return image.format() == QImage::Format_RGB888 ? GreyConvert(image) : image;
}

QImage GreyConvert(const QImage& page)
{
    const QImage rgb = page.format() == QImage::Format_RGB888 ? page : page.convertToFormat(QImage::Format_RGB888);
    QImage grey(rgb.size(), QImage::Format_Indexed8);
    QList<QRgb> palette(256);
    for (int i = 0; i < 256; ++i)
        palette[i] = qRgb(i, i, i);
    grey.setColorTable(palette);
    // The bytes that pad each line to 32 bits are written to the page file
    // too: zero rather than whatever the memory held.
    std::memset(grey.bits(), 0, std::size_t(grey.sizeInBytes()));
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

} // namespace tz
