#include "sample/PageFont.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>
#include <mutex>
#include <shared_mutex>

namespace tz {

namespace {

    struct GlyphLine {
        QList<quint32> glyphs;
        QList<QPointF> positions;
        qreal advance = 0;
    };

    // Lays text out from `start` on: each glyph at the advance of those before it.
    GlyphLine LayOut(const QRawFont& font, const QString& text, qreal start = 0)
    {
        GlyphLine line;
        line.advance = start;
        line.glyphs = font.glyphIndexesForString(text);
        const QList<QPointF> advances = font.advancesForGlyphIndexes(line.glyphs);
        line.positions.reserve(advances.size());
        for (const QPointF& advance : advances) {
            line.positions.append(QPointF(line.advance, 0));
            line.advance += advance.x();
        }
        return line;
    }

    void DrawLine(QPainter& painter, QPointF origin, const QRawFont& font, const GlyphLine& line)
    {
        QGlyphRun run;
        run.setRawFont(font);
        run.setGlyphIndexes(line.glyphs);
        run.setPositions(line.positions);
        painter.drawGlyphRun(origin, run);
    }

    // Loads share it; changes of the font set take it alone.
    std::shared_mutex& FontSetMutex()
    {
        static std::shared_mutex mutex;
        return mutex;
    }

} // namespace

// A chain's fonts at one pixel size, each loaded from its data the first
// time a character needs it.
class PageFont::ChainFaces {
public:
    ChainFaces(std::shared_ptr<const FontChain> chain, int pixelSize)
        : chain_(std::move(chain))
        , pixelSize_(pixelSize)
        , faces_(chain_->Count())
    {
    }

    const QRawFont& Face(int link)
    {
        QRawFont& face = faces_[link];
        if (!face.isValid() && !tried_.contains(link)) {
            tried_.append(link);
            face = RawFontOf(chain_->Data(link));
            if (face.isValid())
                face.setPixelSize(pixelSize_);
        }
        return face;
    }

    // Text split where the font that draws it changes: each piece with its link.
    QList<std::pair<int, QString>> Pieces(const QString& text) const
    {
        QList<std::pair<int, QString>> pieces;
        for (qsizetype i = 0; i < text.size();) {
            const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
            const qsizetype length = pair ? 2 : 1;
            const int link = chain_->LinkFor(pair ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i].unicode());
            if (pieces.isEmpty() || pieces.back().first != link)
                pieces.append({ link, QString() });
            pieces.back().second += QStringView(text).mid(i, length);
            i += length;
        }
        return pieces;
    }

private:
    std::shared_ptr<const FontChain> chain_;
    int pixelSize_;
    QList<QRawFont> faces_;
    QList<int> tried_;
};

int PixelSizeOfPoints(int points, int previewResolution)
{
    // Rounded like the system's point-to-height conversion (points × dpi ÷ 72).
    return int((qint64(points) * previewResolution * 2 + 72) / 144);
}

PageFont PageFont::System(const QString& family, int pixelSize)
{
    PageFont font;
    font.font_ = QFont(family);
    font.font_.setPixelSize(std::max(pixelSize, 1));
    // Hinted as fontconfig's default asks (slightly), so the glyphs don't
    // depend on which fonts of the same family are available.
    font.font_.setHintingPreference(QFont::PreferVerticalHinting);
    const QFontMetrics metrics(font.font_);
    font.ascent_ = metrics.ascent();
    font.height_ = pixelSize > 0 ? metrics.ascent() + metrics.descent() : 0;
    return font;
}

PageFont PageFont::Chained(const std::shared_ptr<const FontChain>& chain, int pixelSize)
{
    PageFont font;
    if (!chain || chain->Count() == 0 || pixelSize <= 0)
        return font;
    font.chained_ = std::make_shared<ChainFaces>(chain, pixelSize);
    font.SetMetrics(font.chained_->Face(0));
    return font;
}

PageFont PageFont::Own(const QRawFont& face, int pixelSize)
{
    PageFont font;
    if (!face.isValid() || pixelSize <= 0)
        return font;
    font.raw_ = face;
    font.raw_.setPixelSize(pixelSize);
    font.SetMetrics(font.raw_);
    return font;
}

void PageFont::SetMetrics(const QRawFont& face)
{
    if (!face.isValid())
        return;
    ascent_ = qRound(face.ascent());
    height_ = ascent_ + qRound(face.descent());
}

bool PageFont::IsValid() const { return height_ > 0; }

int PageFont::Width(const QString& text) const
{
    if (raw_.isValid())
        return int(LayOut(raw_, text).advance);
    if (!chained_)
        return QFontMetrics(font_).horizontalAdvance(text);
    qreal advance = 0;
    for (const auto& [link, piece] : chained_->Pieces(text)) {
        const QRawFont& face = chained_->Face(link);
        if (face.isValid())
            advance = LayOut(face, piece, advance).advance;
    }
    return int(advance);
}

void PageFont::Draw(QPainter& painter, int x, int y, const QString& text, bool opaque) const
{
    if (opaque)
        painter.fillRect(QRect(x, y, Width(text), height_), Qt::white);
    const QPointF origin(x, y + ascent_);
    if (raw_.isValid()) {
        DrawLine(painter, origin, raw_, LayOut(raw_, text));
    } else if (chained_) {
        qreal advance = 0;
        for (const auto& [link, piece] : chained_->Pieces(text)) {
            const QRawFont& face = chained_->Face(link);
            if (!face.isValid())
                continue;
            const GlyphLine line = LayOut(face, piece, advance);
            DrawLine(painter, origin, face, line);
            advance = line.advance;
        }
    } else {
        painter.setFont(font_);
        painter.drawText(origin, text);
    }
}

QRawFont RawFontOf(const QByteArray& data)
{
    if (data.isEmpty())
        return {};
    // An explicit hinting (slight, fontconfig's own default) keeps the
    // face's metrics and glyphs from depending on whichever font of its
    // family name fontconfig matches at the moment it is loaded.
    const std::shared_lock lock(FontSetMutex());
    return QRawFont(data, 12.0, QFont::PreferVerticalHinting);
}

FontSetChange::FontSetChange() { FontSetMutex().lock(); }

FontSetChange::~FontSetChange()
{
    // The font database is read again at its next use after a change;
    // reading it here keeps that (and fontconfig's writes) under the lock.
    QFontDatabase::families();
    FontSetMutex().unlock();
}

} // namespace tz
