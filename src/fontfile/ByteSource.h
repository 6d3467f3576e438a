#pragma once
// Bytes the sfnt readers read at positions: an open file, bytes in memory,
// or a window of either (one resource of a suitcase). Reads past the end come
// back short, as from a file.
#include <QByteArray>
#include <QtGlobal>
#include <algorithm>
#include <cstddef>
#include <cstring>

namespace tz {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Reads up to size bytes at position; returns the count read (0 at the end).
    virtual std::size_t ReadAt(quint64 position, void* buffer, std::size_t size) const = 0;
    virtual qint64 Size() const = 0;
};

// Bytes held in memory; the array must outlive the source.
class MemoryBytes final : public ByteSource {
public:
    explicit MemoryBytes(const QByteArray& bytes)
        : bytes_(bytes)
    {
    }

    std::size_t ReadAt(quint64 position, void* buffer, std::size_t size) const override
    {
        const quint64 length = quint64(bytes_.size());
        if (position >= length)
            return 0;
        const std::size_t count = std::size_t(std::min<quint64>(size, length - position));
        std::memcpy(buffer, bytes_.constData() + position, count);
        return count;
    }

    qint64 Size() const override { return bytes_.size(); }

private:
    const QByteArray& bytes_;
};

// length bytes of another source from position start on, read as a source
// of their own; the source must outlive the window.
class ByteWindow final : public ByteSource {
public:
    ByteWindow(const ByteSource& source, quint64 start, quint64 length)
        : source_(source)
        , start_(start)
        , length_(length)
    {
    }

    std::size_t ReadAt(quint64 position, void* buffer, std::size_t size) const override
    {
        if (position >= length_)
            return 0;
        return source_.ReadAt(start_ + position, buffer, std::size_t(std::min<quint64>(size, length_ - position)));
    }

    qint64 Size() const override { return qint64(length_); }

private:
    const ByteSource& source_;
    quint64 start_;
    quint64 length_;
};

} // namespace tz
