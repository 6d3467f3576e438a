#include "sample/PageStore.h"

#include "platform/ReplacingFile.h"
#include "platform/WorkFolder.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <cstdio>
#include <zlib.h>

namespace tz {

namespace {

    constexpr std::size_t kBufferSize = 8192;
    // Shared by both routines, which therefore never run at the same time.
    unsigned char inputBuffer[kBufferSize];
    unsigned char outputBuffer[kBufferSize];

    // Both files of one routine, closed on every path. The destination is
    // written beside its name and appears there only once complete.
    struct FilePair {
        std::FILE* source = nullptr;
        ReplacingFile destination;
        FilePair(const QString& from, const QString& to)
            : destination(to, ReplacingFile::Durability::Scratch)
        {
            source = std::fopen(QFile::encodeName(from).constData(), "rb");
        }
        ~FilePair()
        {
            if (source)
                std::fclose(source);
        }
        bool Open() { return source && destination.Open(); }
        // Puts the destination in place; false when any byte could not be written.
        bool Close() { return destination.Commit(); }
        bool Write(std::size_t count)
        {
            return count == 0 || destination.Write(reinterpret_cast<const char*>(outputBuffer), qint64(count));
        }
    };

    // The loop both routines share: read input when none is pending, run the
    // stream step, write each full output buffer, and at stream end write the
    // remainder. `step` returns zlib's result for the current flush mode.
    template <typename Step>
    bool Pump(FilePair& files, z_stream& stream, Step step)
    {
        int flush = Z_NO_FLUSH;
        for (;;) {
            stream.next_out = outputBuffer;
            stream.avail_out = kBufferSize;
            do {
                if (stream.avail_in == 0) {
                    const std::size_t read = std::fread(inputBuffer, 1, kBufferSize, files.source);
                    if (std::ferror(files.source))
                        return false;
                    stream.next_in = inputBuffer;
                    stream.avail_in = uInt(read);
                    if (read < kBufferSize)
                        flush = Z_FINISH;
                }
                const int result = step(flush);
                if (result == Z_STREAM_END)
                    return files.Write(kBufferSize - stream.avail_out) && files.Close();
                if (result != Z_OK)
                    return false;
            } while (stream.avail_out != 0);
            if (!files.Write(kBufferSize))
                return false;
        }
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
    FilePair files(source, destination);
    if (!files.Open())
        return false;
    z_stream stream {};
    if (deflateInit(&stream, Z_BEST_COMPRESSION) != Z_OK)
        return false;
    const bool ok = Pump(files, stream, [&](int flush) { return deflate(&stream, flush); });
    deflateEnd(&stream);
    return ok;
}

bool DecompressFile(const QString& source, const QString& destination)
{
    FilePair files(source, destination);
    if (!files.Open())
        return false;
    z_stream stream {};
    if (inflateInit(&stream) != Z_OK)
        return false;
    // A truncated stream runs out of input before its end: inflate then
    // reports that it can make no progress (Z_BUF_ERROR).
    const bool ok = Pump(files, stream, [&](int) { return inflate(&stream, Z_NO_FLUSH); });
    inflateEnd(&stream);
    return ok;
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
