#include "fontfile/Woff2Glyf.h"

#include "fontfile/ByteOrder.h"
#include "fontfile/WebFont.h"

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

namespace tz {

namespace {

    // One of the streams: a bounded part of the transformed table. Reading
    // past its end marks it failed and reads zeros.
    class Stream {
    public:
        Stream() = default;
        Stream(const QByteArray& bytes, quint64 start, quint64 length)
            : view_(reinterpret_cast<const unsigned char*>(bytes.constData()) + start, std::size_t(length))
        {
        }

        bool Ok() const { return ok_; }

        quint8 U8() { return Take(1) ? view_.U8(position_ - 1) : 0; }
        quint16 U16() { return Take(2) ? view_.U16(position_ - 2) : 0; }
        qint16 S16() { return qint16(U16()); }
        quint16 U255() { return Read255UInt16([this] { return U8(); }); }

        QByteArray Bytes(std::size_t count)
        {
            if (!Take(count))
                return {};
            const std::size_t from = position_ - count;
            QByteArray bytes(qsizetype(count), Qt::Uninitialized);
            for (std::size_t i = 0; i < count; ++i)
                bytes[qsizetype(i)] = char(view_.U8(from + i));
            return bytes;
        }

        bool Bit(std::size_t index) const { return view_.U8(index >> 3) & (0x80 >> (index & 7)); }

    private:
        bool Take(std::size_t count)
        {
            if (!ok_ || view_.Size() - position_ < count) {
                ok_ = false;
                return false;
            }
            position_ += count;
            return true;
        }

        BigEndianView view_ { nullptr, 0 };
        std::size_t position_ = 0;
        bool ok_ = true;
    };

    void AppendU16(QByteArray& out, quint16 value)
    {
        out.append(char(value >> 8));
        out.append(char(value));
    }

    void AppendU32(QByteArray& out, quint32 value)
    {
        AppendU16(out, quint16(value >> 16));
        AppendU16(out, quint16(value));
    }

    struct Point {
        int x = 0;
        int y = 0;
        bool onCurve = true;
    };

    int WithSign(int flag, int base) { return (flag & 1) ? base : -base; }

    // A point's coordinates from its flag byte and the 1 to 4 bytes of its
    // triplet, relative to the previous point.
    bool ReadTriplet(quint8 flagByte, Stream& glyphs, Point& point)
    {
        const int flag = flagByte & 0x7F;
        point.onCurve = !(flagByte & 0x80);
        const std::size_t count = flag < 84 ? 1 : flag < 120 ? 2 : flag < 124 ? 3 : 4;
        std::array<int, 4> b {};
        for (std::size_t i = 0; i < count; ++i)
            b[i] = glyphs.U8();
        int dx = 0, dy = 0;
        if (flag < 10) {
            dy = WithSign(flag, ((flag & 14) << 7) + b[0]);
        } else if (flag < 20) {
            dx = WithSign(flag, (((flag - 10) & 14) << 7) + b[0]);
        } else if (flag < 84) {
            const int b0 = flag - 20;
            dx = WithSign(flag, 1 + (b0 & 0x30) + (b[0] >> 4));
            dy = WithSign(flag >> 1, 1 + ((b0 & 0x0C) << 2) + (b[0] & 0x0F));
        } else if (flag < 120) {
            const int b0 = flag - 84;
            dx = WithSign(flag, 1 + ((b0 / 12) << 8) + b[0]);
            dy = WithSign(flag >> 1, 1 + (((b0 % 12) >> 2) << 8) + b[1]);
        } else if (flag < 124) {
            dx = WithSign(flag, (b[0] << 4) + (b[1] >> 4));
            dy = WithSign(flag >> 1, ((b[1] & 0x0F) << 8) + b[2]);
        } else {
            dx = WithSign(flag, (b[0] << 8) + b[1]);
            dy = WithSign(flag >> 1, (b[2] << 8) + b[3]);
        }
        point.x += dx;
        point.y += dy;
        return glyphs.Ok();
    }

    // The flags and coordinates of a simple glyph as glyf stores them, each
    // delta in one byte where it fits, else in two.
    void AppendPoints(QByteArray& out, const std::vector<Point>& points, bool overlap)
    {
        QByteArray flags, xs, ys;
        Point last;
        for (std::size_t i = 0; i < points.size(); ++i) {
            const int dx = points[i].x - last.x;
            const int dy = points[i].y - last.y;
            quint8 flag = (points[i].onCurve ? 0x01 : 0x00) | (i == 0 && overlap ? 0x40 : 0x00);
            if (dx == 0) {
                flag |= 0x10;
            } else if (dx >= -255 && dx <= 255) {
                flag |= 0x02 | (dx > 0 ? 0x10 : 0x00);
                xs.append(char(std::abs(dx)));
            } else {
                AppendU16(xs, quint16(dx));
            }
            if (dy == 0) {
                flag |= 0x20;
            } else if (dy >= -255 && dy <= 255) {
                flag |= 0x04 | (dy > 0 ? 0x20 : 0x00);
                ys.append(char(std::abs(dy)));
            } else {
                AppendU16(ys, quint16(dy));
            }
            flags.append(char(flag));
            last = points[i];
        }
        out.append(flags).append(xs).append(ys);
    }

    struct Streams {
        Stream contours, points, flags, glyphs, composites, boxes, instructions, overlaps;
        std::size_t boxBitmapSize = 0;
    };

    void AppendBox(QByteArray& out, Stream& boxes)
    {
        for (int i = 0; i < 4; ++i)
            AppendU16(out, boxes.U16());
    }

    // A composite glyph: its component records as they are, then its
    // instructions when a component asks for them.
    bool AppendComposite(QByteArray& out, Streams& s)
    {
        AppendU16(out, quint16(-1));
        AppendBox(out, s.boxes);
        bool instructions = false;
        quint16 flags = 0;
        do {
            flags = s.composites.U16();
            AppendU16(out, flags);
            AppendU16(out, s.composites.U16()); // glyph index
            const std::size_t arguments = (flags & 0x0001) ? 4 : 2;
            const std::size_t scale = (flags & 0x0008) ? 2 : (flags & 0x0040) ? 4 : (flags & 0x0080) ? 8 : 0;
            out.append(s.composites.Bytes(arguments + scale));
            instructions |= (flags & 0x0100) != 0;
        } while ((flags & 0x0020) && s.composites.Ok());
        if (instructions) {
            const quint16 length = s.glyphs.U255();
            AppendU16(out, length);
            out.append(s.instructions.Bytes(length));
        }
        return s.composites.Ok() && s.glyphs.Ok() && s.instructions.Ok();
    }

    bool AppendSimple(QByteArray& out, Streams& s, int contours, bool explicitBox, bool overlap)
    {
        std::vector<quint16> ends;
        quint32 total = 0;
        for (int c = 0; c < contours; ++c) {
            total += s.points.U255();
            if (total == 0 || total > 0xFFFF)
                return false;
            ends.push_back(quint16(total - 1));
        }
        if (!s.points.Ok())
            return false;
        // Every point is read (or the glyph fails), so a box is never taken
        // of no points.
        std::vector<Point> points;
        Point point;
        for (quint32 p = 0; p < total; ++p) {
            if (!ReadTriplet(s.flags.U8(), s.glyphs, point) || !s.flags.Ok())
                return false;
            points.push_back(point);
        }
        const quint16 instructionLength = s.glyphs.U255();
        AppendU16(out, quint16(contours));
        if (explicitBox) {
            AppendBox(out, s.boxes);
        } else {
            const auto [minX, maxX] = std::minmax_element(
                points.begin(), points.end(), [](const Point& a, const Point& b) { return a.x < b.x; });
            const auto [minY, maxY] = std::minmax_element(
                points.begin(), points.end(), [](const Point& a, const Point& b) { return a.y < b.y; });
            for (const int value : { minX->x, minY->y, maxX->x, maxY->y })
                AppendU16(out, quint16(value));
        }
        for (const quint16 end : ends)
            AppendU16(out, end);
        AppendU16(out, instructionLength);
        out.append(s.instructions.Bytes(instructionLength));
        AppendPoints(out, points, overlap);
        return s.points.Ok() && s.glyphs.Ok() && s.instructions.Ok() && s.boxes.Ok();
    }

} // namespace

std::optional<GlyfAndLoca> ReconstructGlyf(const QByteArray& transformed, quint32 locaLength)
{
    const BigEndianView header(reinterpret_cast<const unsigned char*>(transformed.constData()),
        std::size_t(transformed.size()));
    // reserved, optionFlags, numGlyphs, indexFormat, then seven stream sizes
    constexpr std::size_t kHeaderSize = 36;
    const quint16 options = header.U16(2);
    const std::size_t glyphCount = header.U16(4);
    const bool longOffsets = header.U16(6) != 0;
    if (header.Size() < kHeaderSize || locaLength != (glyphCount + 1) * (longOffsets ? 4 : 2))
        return std::nullopt;
    Streams s;
    Stream* const order[] = { &s.contours, &s.points, &s.flags, &s.glyphs, &s.composites, &s.boxes, &s.instructions };
    quint64 position = kHeaderSize;
    for (std::size_t i = 0; i < std::size(order); ++i) {
        const quint32 size = header.U32(8 + 4 * i);
        if (quint64(transformed.size()) - position < size)
            return std::nullopt;
        *order[i] = Stream(transformed, position, size);
        position += size;
    }
    const std::size_t overlapSize = (options & 1) ? (glyphCount + 7) / 8 : 0;
    if (quint64(transformed.size()) - position < overlapSize)
        return std::nullopt;
    s.overlaps = Stream(transformed, position, overlapSize);
    // The bounding box stream opens with a bitmap: which glyphs have an
    // explicit box.
    const Stream boxBitmap = s.boxes;
    s.boxes.Bytes(4 * ((glyphCount + 31) / 32));
    if (!s.boxes.Ok())
        return std::nullopt;

    GlyfAndLoca tables;
    std::vector<quint32> offsets;
    for (std::size_t g = 0; g < glyphCount; ++g) {
        offsets.push_back(quint32(tables.glyf.size()));
        const qint16 contours = s.contours.S16();
        const bool explicitBox = boxBitmap.Bit(g);
        if (!s.contours.Ok() || (contours == 0 && explicitBox) || (contours < 0 && !explicitBox))
            return std::nullopt;
        if (contours == 0)
            continue;
        const bool done = contours < 0 ? AppendComposite(tables.glyf, s)
                                       : AppendSimple(tables.glyf, s, contours, explicitBox, overlapSize && s.overlaps.Bit(g));
        if (!done || quint64(tables.glyf.size()) > kMaxDecoded)
            return std::nullopt;
        tables.glyf.append(QByteArray((4 - tables.glyf.size() % 4) % 4, '\0'));
    }
    offsets.push_back(quint32(tables.glyf.size()));
    if (!longOffsets && tables.glyf.size() > 2 * 0xFFFF)
        return std::nullopt;
    for (const quint32 offset : offsets) {
        if (longOffsets)
            AppendU32(tables.loca, offset);
        else
            AppendU16(tables.loca, quint16(offset / 2));
    }
    return tables;
}

} // namespace tz
