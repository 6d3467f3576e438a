#pragma once
// Byte order of font file values. Every multi-byte integer in an sfnt or
// MacBinary file is big-endian.
#include <QtGlobal>
#include <cstddef>

namespace tz {

// Reverse the byte order of a value (big-endian file value to host order on
// this little-endian platform, and back).
constexpr quint32 SwapU32(quint32 value)
{
    return (value >> 24) | ((value >> 8) & 0x0000FF00u) | ((value << 8) & 0x00FF0000u) | (value << 24);
}

constexpr quint16 SwapU16(quint16 value) { return quint16((value >> 8) | (value << 8)); }

// Big-endian fields of a fixed buffer read from a file. Every read is checked
// against the buffer's size; a field that does not fit reads as 0, like the
// zero fill a short read leaves behind.
class BigEndianView {
public:
    BigEndianView(const unsigned char* data, std::size_t size)
        : data_(data)
        , size_(size)
    {
    }

    quint8 U8(std::size_t offset) const { return offset < size_ ? data_[offset] : 0; }

    quint16 U16(std::size_t offset) const
    {
        if (offset > size_ || size_ - offset < 2)
            return 0;
        return quint16((data_[offset] << 8) | data_[offset + 1]);
    }

    quint32 U32(std::size_t offset) const
    {
        if (offset > size_ || size_ - offset < 4)
            return 0;
        return (quint32(data_[offset]) << 24) | (quint32(data_[offset + 1]) << 16)
            | (quint32(data_[offset + 2]) << 8) | quint32(data_[offset + 3]);
    }

    quint32 U24(std::size_t offset) const
    {
        if (offset > size_ || size_ - offset < 3)
            return 0;
        return (quint32(data_[offset]) << 16) | (quint32(data_[offset + 1]) << 8) | quint32(data_[offset + 2]);
    }

    std::size_t Size() const { return size_; }

    // True when the four bytes at offset equal the tag.
    bool HasTag(std::size_t offset, const char (&tag)[5]) const
    {
        if (offset > size_ || size_ - offset < 4)
            return false;
        for (int i = 0; i < 4; ++i) {
            if (data_[offset + i] != static_cast<unsigned char>(tag[i]))
                return false;
        }
        return true;
    }

private:
    const unsigned char* data_;
    std::size_t size_;
};

} // namespace tz
