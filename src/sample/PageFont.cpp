#include "sample/PageFont.h"

#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>

namespace tz {

namespace {

    struct GlyphLine {
        QList<quint32> glyphs;
        QList<QPointF> positions;
        qreal advance = 0;
    };

    GlyphLine LayOut(const QRawFont& font, const QString& text)
    {
        GlyphLine line;
        line.glyphs = font.glyphIndexesForString(text);
        const QList<QPointF> advances = font.advancesForGlyphIndexes(line.glyphs);
        line.positions.reserve(advances.size());
        for (const QPointF& advance : advances) {
            line.positions.append(QPointF(line.advance, 0));
            line.advance += advance.x();
        }
        return line;
    }

} // namespace

int PixelSizeOfPoints(int points, int previewResolution)
{
    // Rounded like the system's point-to-height conversion (points × dpi ÷ 72).
    return int((qint64(points) * previewResolution * 2 + 72) / 144);
}

PageFont PageFont::System(const QString& family, int pixelSize, bool bold, bool italic, bool antialiased)
{
    PageFont font;
    font.font_ = QFont(family);
    font.font_.setPixelSize(std::max(pixelSize, 1));
    font.font_.setBold(bold);
    font.font_.setItalic(italic);
    font.font_.setStyleStrategy(antialiased ? QFont::PreferAntialias : QFont::NoAntialias);
    // Hinted as fontconfig's default asks (slightly), so the glyphs don't
    // depend on which fonts of the same family are available at the moment
    // the font is set up on a thread.
    font.font_.setHintingPreference(QFont::PreferVerticalHinting);
    const QFontMetrics metrics(font.font_);
    font.ascent_ = metrics.ascent();
    font.height_ = pixelSize > 0 ? metrics.ascent() + metrics.descent() : 0;
    return font;
}

PageFont PageFont::Own(const QRawFont& face, int pixelSize)
{
    PageFont font;
    if (!face.isValid() || pixelSize <= 0)
        return font;
    font.raw_ = face;
    font.raw_.setPixelSize(pixelSize);
    font.ascent_ = qRound(font.raw_.ascent());
    font.height_ = font.ascent_ + qRound(font.raw_.descent());
    return font;
}

bool PageFont::IsValid() const { return raw_.isValid() || height_ > 0; }

int PageFont::Width(const QString& text) const
{
    if (raw_.isValid())
        return int(LayOut(raw_, text).advance);
    return QFontMetrics(font_).horizontalAdvance(text);
}

void PageFont::Draw(QPainter& painter, int x, int y, const QString& text, bool opaque) const
{
    if (opaque)
        painter.fillRect(QRect(x, y, Width(text), height_), Qt::white);
    if (!raw_.isValid()) {
        painter.setFont(font_);
        painter.drawText(QPoint(x, y + ascent_), text);
        return;
    }
    const GlyphLine line = LayOut(raw_, text);
    QGlyphRun run;
    run.setRawFont(raw_);
    run.setGlyphIndexes(line.glyphs);
    run.setPositions(line.positions);
    painter.drawGlyphRun(QPointF(x, y + ascent_), run);
}

} // namespace tz
