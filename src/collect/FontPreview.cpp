#include "collect/FontPreview.h"

#include "fontfile/FontFileReader.h"
#include "fontfile/OwnFace.h"
#include "fontfile/SystemFonts.h"
#include "sample/PageFont.h"
#include "settings/SampleTextSet.h"

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QRawFont>

namespace tz {

namespace {

    // A font file made available to this process while it lives; an
    // installed one is left as it is.
    class TemporaryFont {
    public:
        TemporaryFont(const QString& path, bool installed, FontFormats formats)
            : handle_(installed ? -1 : AddFontResource(path, formats))
        {
        }
        ~TemporaryFont()
        {
            if (handle_ >= 0)
                RemoveFontResource(handle_);
        }
        TemporaryFont(const TemporaryFont&) = delete;
        TemporaryFont& operator=(const TemporaryFont&) = delete;

        // The face decoded to make it available, if it was.
        QByteArray Decoded() const { return handle_ >= 0 ? AddedFontData(handle_) : QByteArray(); }

    private:
        int handle_;
    };

    // The top of a line of the given height centred in the canvas: truncated
    // toward zero, 0 when the line is taller than the canvas.
    int CentredTop(int canvasHeight, int lineHeight) { return std::max((canvasHeight - lineHeight) / 2, 0); }

    void DrawSample(QImage& canvas, const PageFont& font, quint8 charset, const SampleTextSet& texts)
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::TextAntialiasing, true);
        painter.setPen(Qt::black);
        const int height = font.Height();
        if (charset == kAnsiCharset) {
            font.Draw(painter, 0, CentredTop(canvas.height(), height), texts.EffectiveText(kAsciiClass));
        } else if (charset == kShiftJisCharset) {
            font.Draw(painter, 0, 0, texts.EffectiveText(kShiftJisClass));
            font.Draw(painter, 0, height + FontPreview::kLineGap, texts.EffectiveText(kAsciiClass));
        } else {
            font.Draw(painter, 0, CentredTop(canvas.height(), height), texts.EffectiveText(kSymbolClass));
        }
    }

} // namespace

FontPreview::FontPreview(FontFormats formats)
    : formats_(formats)
{
    installed_.Refresh();
}

QString FontPreview::Draw(QImage& canvas, const QString& path, const SampleTextSet& texts) const
{
    canvas.fill(Qt::white);
    if (path.isEmpty() || !QFileInfo::exists(path))
        return {};
    FontFileReader reader;
    reader.Read(path, formats_);
    if (reader.FamilyNames().isEmpty())
        return {};
    const QString family = reader.FamilyNames().constFirst();
    const TemporaryFont available(path, installed_.IndexOf(path) >= 0, formats_);
    const quint8 charset = SampleCharset(family, family, formats_);
    const int pixelSize = PixelSizeOfPoints(kSamplePoints, qRound(canvas.dotsPerMeterY() * 0.0254));
    const QByteArray decoded = available.Decoded();
    const QRawFont face(
        decoded.isEmpty() ? LoadOwnFace(path, reader.FaceNames().constFirst(), family, formats_) : decoded, pixelSize);
    // A face the font engine can't load draws nothing rather than another font.
    if (face.isValid())
        DrawSample(canvas, PageFont::Own(face, pixelSize), charset, texts);
    return family;
}

} // namespace tz
