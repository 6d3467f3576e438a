#include "sample/PageStore.h"

#include "platform/ReplacingFile.h"
#include "platform/WorkFolder.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QRegularExpression>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <zlib.h>

namespace tz {

namespace {

    constexpr std::size_t kBufferSize = 8192;

    // The two fixed buffers of one routine: each call has its own, so pages
    // are compressed on several threads at once.
    struct Buffers {
        unsigned char input[kBufferSize];
        unsigned char output[kBufferSize];
    };

    // The source of a routine: an open file, or bytes in memory.
    class Source {
    public:
        explicit Source(const QString& path)
            : file_(std::fopen(QFile::encodeName(path).constData(), "rb"))
        {
        }
        explicit Source(const QByteArray& bytes)
            : bytes_(bytes)
        {
        }
        ~Source()
        {
            if (file_)
                std::fclose(file_);
        }
        Source(const Source&) = delete;
        Source& operator=(const Source&) = delete;
        bool IsOpen() const { return file_ || !bytes_.isNull(); }
        // Up to `size` bytes; nothing on a read error.
        std::optional<std::size_t> Read(unsigned char* to, std::size_t size)
        {
            if (!file_) {
                const std::size_t count = std::min(size, std::size_t(bytes_.size()) - position_);
                std::memcpy(to, bytes_.constData() + position_, count);
                position_ += count;
                return count;
            }
            const std::size_t read = std::fread(to, 1, size, file_);
            if (std::ferror(file_))
                return std::nullopt;
            return read;
        }

    private:
        std::FILE* file_ = nullptr;
        QByteArray bytes_;
        std::size_t position_ = 0;
    };

    // Both ends of one routine, closed on every path. The destination is
    // written beside its name and appears there only once complete.
    struct Ends {
        Source& source;
        ReplacingFile destination;
        Buffers buffers;
        Ends(Source& from, const QString& to)
            : source(from)
            , destination(to, ReplacingFile::Durability::Scratch)
        {
        }
        bool Open() { return source.IsOpen() && destination.Open(); }
        // Puts the destination in place; false when any byte could not be written.
        bool Close() { return destination.Commit(); }
        bool Write(std::size_t count)
        {
            return count == 0 || destination.Write(reinterpret_cast<const char*>(buffers.output), qint64(count));
        }
    };

    // The loop both routines share: read input when none is pending, run the
    // stream step, write each full output buffer, and at stream end write the
    // remainder. `step` returns zlib's result for the current flush mode.
    template <typename Step>
    bool Pump(Ends& ends, z_stream& stream, Step step)
    {
        int flush = Z_NO_FLUSH;
        for (;;) {
            stream.next_out = ends.buffers.output;
            stream.avail_out = kBufferSize;
            do {
                if (stream.avail_in == 0) {
                    const auto read = ends.source.Read(ends.buffers.input, kBufferSize);
                    if (!read)
                        return false;
                    stream.next_in = ends.buffers.input;
                    stream.avail_in = uInt(*read);
                    if (*read < kBufferSize)
                        flush = Z_FINISH;
                }
                const int result = step(flush);
                if (result == Z_STREAM_END)
                    return ends.Write(kBufferSize - stream.avail_out) && ends.Close();
                if (result != Z_OK)
                    return false;
            } while (stream.avail_out != 0);
            if (!ends.Write(kBufferSize))
                return false;
        }
    }

    bool Compress(Source& source, const QString& destination)
    {
        auto ends = std::make_unique<Ends>(source, destination);
        if (!ends->Open())
            return false;
        z_stream stream {};
        if (deflateInit(&stream, Z_BEST_COMPRESSION) != Z_OK)
            return false;
        const bool ok = Pump(*ends, stream, [&](int flush) { return deflate(&stream, flush); });
        deflateEnd(&stream);
        return ok;
    }

} // namespace

QString PageBitmapPath(const QString& folder, int pageNumber)
{
    return folder + QStringLiteral("/%1.bmp").arg(pageNumber, 4, 10, QLatin1Char('0'));
}

QString PageFilePath(const QString& folder, int pageNumber)
{
    return folder + QStringLiteral("/%1.tzg").arg(pageNumber, 4, 10, QLatin1Char('0'));
}

bool CompressFile(const QString& source, const QString& destination)
{
    Source file(source);
    return Compress(file, destination);
}

bool CompressBytes(const QByteArray& source, const QString& destination)
{
    Source bytes(source);
    return Compress(bytes, destination);
}

bool DecompressFile(const QString& source, const QString& destination)
{
    Source file(source);
    auto ends = std::make_unique<Ends>(file, destination);
    if (!ends->Open())
        return false;
    z_stream stream {};
    if (inflateInit(&stream) != Z_OK)
        return false;
    // A truncated stream runs out of input before its end: inflate then
    // reports that it can make no progress (Z_BUF_ERROR).
    const bool ok = Pump(*ends, stream, [&](int) { return inflate(&stream, Z_NO_FLUSH); });
    inflateEnd(&stream);
    return ok;
}

QByteArray BitmapFileOf(const QImage& page)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !QImageWriter(&buffer, "BMP").write(page))
        return {};
    return bytes;
}

bool StorePageFile(const QString& folder, int pageNumber, const QImage& page)
{
    const QByteArray bitmap = BitmapFileOf(page);
    return !bitmap.isEmpty() && CompressBytes(bitmap, PageFilePath(folder, pageNumber));
}

bool IsPageFileName(const QString& name)
{
    static const QRegularExpression pattern(QStringLiteral("^[0-9]{4,}\\.tzg$"));
    return pattern.match(name).hasMatch();
}

void EmptyWorkFolder(const QString& folder)
{
    if (folder.isEmpty())
        return;
    QDir dir(folder);
    const QStringList files = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : files) {
        if (IsPageFileName(name) || WorkFolder::IsExtractedFontName(name))
            QFile::remove(dir.filePath(name));
    }
}

} // namespace tz
