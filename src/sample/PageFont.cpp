#include "sample/PageFont.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGlyphRun>
#include <QPainter>
#include <mutex>
#include <optional>
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

// A piece of text laid out in one font, placed after the pieces before it.
struct PageFont::Run {
    QRawFont face;
    GlyphLine line;
};

// A chain's fonts at one pixel size, each loaded from its data the first
// time a character needs it.
class PageFont::ChainFaces {
public:
    ChainFaces(std::shared_ptr<const FontChain> chain, int pixelSize)
        : chain_(std::move(chain))
        , pixelSize_(pixelSize)
        , faces_(std::size_t(chain_->Count()))
    {
    }

    // Invalid when the link's font can't be read.
    const QRawFont& Face(int link)
    {
        std::optional<QRawFont>& face = faces_[std::size_t(link)];
        if (!face) {
            face = RawFontOf(chain_->Data(link));
            if (face->isValid())
                face->setPixelSize(pixelSize_);
        }
        return *face;
    }

    // The text split where the font that draws it changes, each piece laid
    // out in its font; pieces whose font can't be read are left out.
    QList<Run> LayOut(const QString& text)
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
        QList<Run> runs;
        qreal advance = 0;
        for (const auto& [link, piece] : pieces) {
            const QRawFont& face = Face(link);
            if (!face.isValid())
                continue;
            runs.append({ face, tz::LayOut(face, piece, advance) });
            advance = runs.back().line.advance;
        }
        return runs;
    }

private:
    std::shared_ptr<const FontChain> chain_;
    int pixelSize_;
    std::vector<std::optional<QRawFont>> faces_; // nothing until first needed
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

QList<PageFont::Run> PageFont::Runs(const QString& text) const
{
    if (raw_.isValid())
        return { { raw_, LayOut(raw_, text) } };
    return chained_->LayOut(text);
}

int PageFont::Width(const QString& text) const
{
    if (!raw_.isValid() && !chained_)
        return QFontMetrics(font_).horizontalAdvance(text);
    const QList<Run> runs = Runs(text);
    return runs.isEmpty() ? 0 : int(runs.back().line.advance);
}

void PageFont::Draw(QPainter& painter, int x, int y, const QString& text, bool opaque) const
{
    const QPointF origin(x, y + ascent_);
    if (!raw_.isValid() && !chained_) {
        if (opaque)
            painter.fillRect(QRect(x, y, Width(text), height_), Qt::white);
        painter.setFont(font_);
        painter.drawText(origin, text);
        return;
    }
    const QList<Run> runs = Runs(text);
    if (opaque)
        painter.fillRect(QRect(x, y, runs.isEmpty() ? 0 : int(runs.back().line.advance), height_), Qt::white);
    for (const Run& run : runs)
        DrawLine(painter, origin, run.face, run.line);
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
