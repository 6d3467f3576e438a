#pragma once
// A font file opened for reading or writing. Only regular files are opened:
// a FIFO, device or folder named like a font is refused without blocking.
#include "fontfile/ByteSource.h"

#include <QString>
#include <array>
#include <cstddef>
#include <optional>

namespace tz {

// The device and inode of an open file: two paths with one identity (hard
// links, a folder reached twice) lead to one file.
struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

class RegularFile final : public ByteSource {
public:
    enum class Mode { Read, CreateTruncate };

    RegularFile(const QString& path, Mode mode);
    ~RegularFile() override;
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    bool IsOpen() const { return fd_ >= 0; }
    // The length the file had when it was opened (from the same fstat that
    // checked its type); 0 when it is not open.
    qint64 Size() const override { return size_; }
    const FileIdentity& Identity() const { return identity_; }
    // When the file was last written, in nanoseconds since the epoch, as of
    // the open.
    qint64 Modified() const { return modified_; }
    // Reads up to size bytes at position; returns the count read (0 at the end,
    // on an error or when the position lies beyond what a file offset can hold).
    // The head of the file, where the headers of fonts and of Macintosh files
    // lie, is read from the disk once and every read inside it served from
    // that copy.
    std::size_t ReadAt(quint64 position, void* buffer, std::size_t size) const override;
    // Writes all bytes at the current end of what was written; false on a short write.
    bool Append(const void* data, std::size_t size);

    // The size of a regular file, -1 when there is none at the path.
    static qint64 SizeOf(const QString& path);
    // A descriptor of the regular file at path, opened for reading as the
    // constructor does (never blocking on a FIFO or device); -1 for anything
    // else. The caller closes it.
    static int OpenForReading(const QString& path);

private:
    std::size_t ReadFromDisk(quint64 position, void* buffer, std::size_t size) const;

    static constexpr std::size_t kHeadSize = 1024;

    int fd_ = -1;
    qint64 size_ = 0;
    FileIdentity identity_;
    qint64 modified_ = 0;
    mutable std::optional<std::size_t> headLength_; // set once the head was read
    mutable std::array<unsigned char, kHeadSize> head_;
};

} // namespace tz
