#pragma once
// Byte order of values read from outside data. Every multi-byte integer in an
// sfnt or MacBinary file is big-endian; Windows shell links are little-endian.
#include <QByteArrayView>
#include <QtGlobal>
#include <cstddef>

namespace tz {

// Fields of a fixed buffer read from a file, in one byte order. Every read is
// checked against the buffer's size; a field that does not fit reads as 0,
// like the zero fill a short read leaves behind. Fits tells where that
// matters.
template <bool BigEndian> class EndianView {
public:
    EndianView(const unsigned char* data, std::size_t size)
        : data_(data)
        , size_(size)
    {
    }
    explicit EndianView(QByteArrayView bytes)
        : EndianView(reinterpret_cast<const unsigned char*>(bytes.data()), std::size_t(bytes.size()))
    {
    }

    // Whether width bytes at offset lie inside the buffer.
    bool Fits(std::size_t offset, std::size_t width) const { return offset <= size_ && size_ - offset >= width; }

    quint8 U8(std::size_t offset) const { return offset < size_ ? data_[offset] : 0; }
    quint16 U16(std::size_t offset) const { return quint16(Value(offset, 2)); }
    quint32 U24(std::size_t offset) const { return Value(offset, 3); }
    quint32 U32(std::size_t offset) const { return Value(offset, 4); }

    std::size_t Size() const { return size_; }

    // True when the four bytes at offset equal the tag.
    bool HasTag(std::size_t offset, const char (&tag)[5]) const
    {
        if (!Fits(offset, 4))
            return false;
        for (int i = 0; i < 4; ++i) {
            if (data_[offset + i] != static_cast<unsigned char>(tag[i]))
                return false;
        }
        return true;
    }

private:
    quint32 Value(std::size_t offset, std::size_t width) const
    {
        if (!Fits(offset, width))
            return 0;
        quint32 value = 0;
        for (std::size_t i = 0; i < width; ++i)
            value |= quint32(data_[offset + i]) << (8 * (BigEndian ? width - 1 - i : i));
        return value;
    }

    const unsigned char* data_;
    std::size_t size_;
};

// sfnt tables, MacBinary headers.
class BigEndianView : public EndianView<true> {
public:
    using EndianView::EndianView;
};

// Windows shell links.
class LittleEndianView : public EndianView<false> {
public:
    using EndianView::EndianView;
};

} // namespace tz
