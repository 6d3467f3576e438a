#include "fontfile/WebFont.h"

#include "fontfile/ByteOrder.h"
#include "fontfile/FontFileLog.h"
#include "fontfile/SfntImage.h"
#include "fontfile/SfntTables.h"
#include "fontfile/Woff2Glyf.h"
#include "fontfile/Woff2Hmtx.h"

#include <algorithm>
#include <brotli/decode.h>
#include <functional>
#include <memory>
#include <vector>
#include <zlib.h>

namespace tz {

namespace {

    constexpr quint32 kWoffSignature = 0x774F4646; // "wOFF"
    constexpr quint32 kWoff2Signature = 0x774F4632; // "wOF2"
    constexpr quint32 kNameTag = TableTag("name");
    constexpr quint32 kGlyfTag = TableTag("glyf");
    constexpr quint32 kLocaTag = TableTag("loca");
    constexpr quint32 kHmtxTag = TableTag("hmtx");
    // A name record reaches no further than stringOffset + offset + length,
    // three 16-bit values, into its table.
    constexpr quint32 kNameReach = 3 * 0x10000;

    quint32 SignatureOf(const ByteSource& source)
    {
        unsigned char bytes[4] = {};
        source.ReadAt(0, bytes, sizeof bytes);
        return BigEndianView(bytes, sizeof bytes).U32(0);
    }

    quint64 DecodeBound(const ByteSource& source)
    {
        return std::min<quint64>(kMaxDecoded, quint64(source.Size()) * kMaxDecodedPerByte + (quint64(1) << 20));
    }

    bool HasOutlines(quint32 flavor)
    {
        return flavor == kTrueTypeSfntVersion || flavor == kCffSfntVersion || flavor == kAppleSfntVersion;
    }

    // ---- WOFF: a directory of tables, each stored as is or zlib-compressed.

    constexpr std::size_t kWoffHeaderSize = 44;
    constexpr std::size_t kWoffRecordSize = 20;

    struct WoffTable {
        quint32 tag = 0;
        quint32 offset = 0;
        quint32 storedLength = 0;
        quint32 length = 0;
    };

    struct WoffFile {
        quint32 flavor = 0;
        std::vector<WoffTable> tables;
    };

    // The directory, every table inside the file after the directory, no two
    // tables sharing bytes, and the decoded tables within the bound.
    std::optional<WoffFile> ReadWoff(const ByteSource& source)
    {
        unsigned char header[kWoffHeaderSize];
        if (source.ReadAt(0, header, sizeof header) != sizeof header)
            return std::nullopt;
        const BigEndianView head(header, sizeof header);
        const std::size_t count = head.U16(12);
        const quint64 size = quint64(source.Size());
        const quint64 directoryEnd = kWoffHeaderSize + count * kWoffRecordSize;
        if (directoryEnd > size)
            return std::nullopt;
        std::vector<unsigned char> records(count * kWoffRecordSize);
        if (source.ReadAt(kWoffHeaderSize, records.data(), records.size()) != records.size())
            return std::nullopt;
        const BigEndianView view(records.data(), records.size());
        WoffFile file { head.U32(4), {} };
        file.tables.reserve(count);
        quint64 decoded = 0;
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t r = i * kWoffRecordSize; // tag, offset, compLength, origLength, origChecksum
            const WoffTable table { view.U32(r), view.U32(r + 4), view.U32(r + 8), view.U32(r + 12) };
            if (table.offset < directoryEnd || table.offset > size || size - table.offset < table.storedLength
                || table.storedLength > table.length)
                return std::nullopt;
            decoded += table.length;
            file.tables.push_back(table);
        }
        if (decoded > DecodeBound(source))
            return std::nullopt;
        std::vector<WoffTable> byOffset = file.tables;
        std::sort(byOffset.begin(), byOffset.end(), [](const auto& a, const auto& b) { return a.offset < b.offset; });
        for (std::size_t i = 1; i < byOffset.size(); ++i) {
            if (quint64(byOffset[i - 1].offset) + byOffset[i - 1].storedLength > byOffset[i].offset)
                return std::nullopt;
        }
        return file;
    }

    // A table's data decoded from its start on, as far as a reader asks: the
    // stored bytes are read and inflated in pieces, so naming stops once the
    // bytes it reads are out. A reader of the whole table has the stored
    // checksum checked at its end; for a part none is computed.
    class WoffTableReader {
    public:
        enum class Extent { Part, Whole };

        WoffTableReader(const ByteSource& source, const WoffTable& table, Extent extent)
            : source_(source)
            , table_(table)
            , compressed_(table.storedLength != table.length)
        {
            ok_ = !compressed_ || inflateInit(&stream_) == Z_OK;
            inflating_ = compressed_ && ok_;
            if (inflating_ && extent == Extent::Part)
                inflateValidate(&stream_, 0);
        }
        ~WoffTableReader()
        {
            if (inflating_)
                inflateEnd(&stream_);
        }
        WoffTableReader(const WoffTableReader&) = delete;
        WoffTableReader& operator=(const WoffTableReader&) = delete;

        // Decodes on until out holds the table's first `count` bytes; false
        // when the data is damaged or ends before.
        bool ReadTo(QByteArray& out, quint32 count)
        {
            const quint32 done = quint32(out.size());
            if (!ok_ || count > table_.length || count <= done)
                return ok_ && count <= table_.length;
            out.resize(qsizetype(count));
            if (!compressed_) {
                const std::size_t want = count - done;
                ok_ = source_.ReadAt(quint64(table_.offset) + done, out.data() + done, want) == want;
                return ok_;
            }
            stream_.next_out = reinterpret_cast<Bytef*>(out.data() + done);
            stream_.avail_out = count - done;
            while (stream_.avail_out > 0 && Inflate()) {
            }
            out.resize(qsizetype(count - stream_.avail_out));
            return ok_ && stream_.avail_out == 0;
        }

        // Whether the data decodes to no byte after the table's length.
        bool EndsAfterTable()
        {
            if (!compressed_)
                return ok_;
            unsigned char extra = 0;
            stream_.next_out = &extra;
            stream_.avail_out = 1;
            while (!ended_ && stream_.avail_out > 0 && Inflate()) {
            }
            return ok_ && ended_ && stream_.avail_out > 0;
        }

    private:
        // One step of inflating, reading the next stored piece when the last
        // one is used up; false once the data ended or is damaged.
        bool Inflate()
        {
            if (stream_.avail_in == 0 && consumed_ < table_.storedLength) {
                const std::size_t want = std::min<std::size_t>(sizeof input_, table_.storedLength - consumed_);
                if (source_.ReadAt(quint64(table_.offset) + consumed_, input_, want) != want)
                    return ok_ = false;
                consumed_ += quint32(want);
                stream_.next_in = input_;
                stream_.avail_in = uInt(want);
            }
            const int result = inflate(&stream_, Z_NO_FLUSH);
            ended_ = result == Z_STREAM_END;
            ok_ = result == Z_OK || ended_;
            return result == Z_OK;
        }

        const ByteSource& source_;
        const WoffTable& table_;
        const bool compressed_;
        bool ok_ = true;
        bool inflating_ = false;
        bool ended_ = false;
        z_stream stream_ {};
        quint32 consumed_ = 0;
        unsigned char input_[4096];
    };

    std::optional<QByteArrayList> WoffNameTables(const ByteSource& source)
    {
        const std::optional<WoffFile> file = ReadWoff(source);
        if (!file)
            return std::nullopt;
        if (!HasOutlines(file->flavor))
            return QByteArrayList { QByteArray() };
        const auto name = std::find_if(
            file->tables.begin(), file->tables.end(), [](const WoffTable& t) { return t.tag == kNameTag; });
        if (name == file->tables.end())
            return QByteArrayList { QByteArray() };
        // Only as far as naming reads: the header, the records, then the
        // strings they point at; the first piece holds all three in most
        // fonts.
        constexpr quint32 kFirstPiece = 1024;
        WoffTableReader reader(source, *name, WoffTableReader::Extent::Part);
        const quint32 limit = std::min(name->length, kNameReach);
        QByteArray bytes;
        for (quint32 want = std::min(kFirstPiece, limit); quint32(bytes.size()) < want;
             want = std::min(NameTableReach(bytes), limit)) {
            if (!reader.ReadTo(bytes, want))
                return QByteArrayList { QByteArray() };
        }
        return QByteArrayList { bytes };
    }

    // Whether a decode keeps the table: every one when no tags are given.
    bool Kept(quint32 tag, std::span<const quint32> onlyTags)
    {
        return onlyTags.empty() || std::find(onlyTags.begin(), onlyTags.end(), tag) != onlyTags.end();
    }

    QByteArray DecodeWoffFace(const ByteSource& source, int index, std::span<const quint32> onlyTags)
    {
        const std::optional<WoffFile> file = ReadWoff(source);
        if (!file || index != 0)
            return {};
        std::vector<SfntTableData> tables;
        for (const WoffTable& table : file->tables) {
            if (!Kept(table.tag, onlyTags))
                continue;
            WoffTableReader reader(source, table, WoffTableReader::Extent::Whole);
            QByteArray data;
            if (!reader.ReadTo(data, table.length) || !reader.EndsAfterTable())
                return {};
            tables.push_back({ table.tag, TableChecksum(data), std::move(data) });
        }
        return AssembleSfnt(file->flavor, std::move(tables));
    }

    // ---- WOFF2: a directory of variable-length entries, an optional
    // collection directory, then every table in one Brotli stream.

    constexpr std::size_t kWoff2HeaderSize = 48;

    // The tags a directory entry names by number.
    constexpr char kKnownTags[63][5] = { "cmap", "head", "hhea", "hmtx", "maxp", "name", "OS/2", "post", "cvt ",
        "fpgm", "glyf", "loca", "prep", "CFF ", "VORG", "EBDT", "EBLC", "gasp", "hdmx", "kern", "LTSH", "PCLT",
        "VDMX", "vhea", "vmtx", "BASE", "GDEF", "GPOS", "GSUB", "EBSC", "JSTF", "MATH", "CBDT", "CBLC", "COLR",
        "CPAL", "SVG ", "sbix", "acnt", "avar", "bdat", "bloc", "bsln", "cvar", "fdsc", "feat", "fmtx", "fvar",
        "gvar", "hsty", "just", "lcar", "mort", "morx", "opbd", "prop", "trak", "Zapf", "Silf", "Glat", "Gloc",
        "Feat", "Sill" };

    // Reads the directory's fields one after another, through a buffer.
    class Cursor {
    public:
        Cursor(const ByteSource& source, quint64 position)
            : source_(source)
            , position_(position)
        {
        }

        bool Ok() const { return ok_; }
        quint64 Position() const { return position_; }

        quint8 U8()
        {
            if (position_ < bufferStart_ || position_ - bufferStart_ >= buffered_) {
                bufferStart_ = position_;
                buffered_ = source_.ReadAt(position_, buffer_, sizeof buffer_);
                if (buffered_ == 0) {
                    ok_ = false;
                    return 0;
                }
            }
            return buffer_[position_++ - bufferStart_];
        }

        quint16 U16()
        {
            const quint16 high = U8();
            return quint16((high << 8) | U8());
        }

        quint32 U32()
        {
            const quint32 high = U16();
            return (high << 16) | U16();
        }

        // UIntBase128: up to five bytes of seven bits, no leading zero byte,
        // no value beyond 32 bits.
        quint32 Base128()
        {
            quint32 value = 0;
            for (int i = 0; i < 5; ++i) {
                const quint8 byte = U8();
                if ((i == 0 && byte == 0x80) || (value & 0xFE000000))
                    break;
                value = (value << 7) | (byte & 0x7F);
                if (!(byte & 0x80))
                    return value;
            }
            ok_ = false;
            return 0;
        }

        quint16 U255() { return Read255UInt16([this] { return U8(); }); }

    private:
        const ByteSource& source_;
        quint64 position_;
        bool ok_ = true;
        unsigned char buffer_[4096];
        quint64 bufferStart_ = 0;
        std::size_t buffered_ = 0;
    };

    struct Woff2Table {
        quint32 tag = 0;
        quint8 transform = 0;
        quint32 length = 0; // of the table in the font
        quint32 streamLength = 0; // in the stream: the transformed length, else the length
        quint64 streamOffset = 0;

        bool Transformed() const { return (tag == kGlyfTag || tag == kLocaTag) ? transform != 3 : transform != 0; }
    };

    struct Woff2Face {
        quint32 flavor = 0;
        std::vector<std::size_t> tables; // indices into the directory
    };

    struct Woff2File {
        std::vector<Woff2Table> tables;
        std::vector<Woff2Face> faces;
        quint64 dataOffset = 0;
        quint32 compressedLength = 0;
        quint64 streamLength = 0;
    };

    std::optional<Woff2File> ReadWoff2(const ByteSource& source)
    {
        unsigned char header[kWoff2HeaderSize];
        if (source.ReadAt(0, header, sizeof header) != sizeof header)
            return std::nullopt;
        const BigEndianView head(header, sizeof header);
        const quint32 flavor = head.U32(4);
        const std::size_t count = head.U16(12);
        Woff2File file;
        file.compressedLength = head.U32(20);
        Cursor cursor(source, kWoff2HeaderSize);
        const quint64 bound = DecodeBound(source);
        for (std::size_t i = 0; i < count && cursor.Ok(); ++i) {
            Woff2Table table;
            const quint8 flags = cursor.U8();
            table.tag = (flags & 0x3F) == 0x3F ? cursor.U32() : TableTag(kKnownTags[flags & 0x3F]);
            table.transform = flags >> 6;
            table.length = cursor.Base128();
            table.streamLength = table.Transformed() ? cursor.Base128() : table.length;
            table.streamOffset = file.streamLength;
            file.streamLength += table.streamLength;
            if (file.streamLength > bound || (table.tag == kLocaTag && table.Transformed() && table.streamLength != 0))
                return std::nullopt;
            file.tables.push_back(table);
        }
        if (flavor == TableTag("ttcf")) {
            cursor.U32(); // version
            const quint16 faces = cursor.U255();
            for (quint16 k = 0; k < faces && cursor.Ok(); ++k) {
                const quint16 tables = cursor.U255();
                Woff2Face face { cursor.U32(), {} };
                for (quint16 t = 0; t < tables && cursor.Ok(); ++t) {
                    face.tables.push_back(cursor.U255());
                    if (face.tables.back() >= count)
                        return std::nullopt;
                }
                file.faces.push_back(std::move(face));
            }
        } else {
            Woff2Face face { flavor, std::vector<std::size_t>(count) };
            for (std::size_t i = 0; i < count; ++i)
                face.tables[i] = i;
            file.faces.push_back(std::move(face));
        }
        file.dataOffset = cursor.Position();
        if (!cursor.Ok() || file.dataOffset > quint64(source.Size())
            || quint64(source.Size()) - file.dataOffset < file.compressedLength)
            return std::nullopt;
        return file;
    }

    using StreamSink = std::function<void(quint64 at, const uint8_t* data, std::size_t size)>;

    // Decodes the Brotli stream up to its byte `end`, handing every piece to
    // the sink; false when the stream is damaged or ends before.
    bool DecodeStream(const ByteSource& source, const Woff2File& file, quint64 end, const StreamSink& sink)
    {
        const std::unique_ptr<BrotliDecoderState, decltype(&BrotliDecoderDestroyInstance)> decoder(
            BrotliDecoderCreateInstance(nullptr, nullptr, nullptr), &BrotliDecoderDestroyInstance);
        if (!decoder)
            return false;
        constexpr std::size_t kChunk = 1 << 16;
        std::vector<uint8_t> input(kChunk);
        std::vector<uint8_t> output(kChunk);
        quint64 consumed = 0;
        quint64 produced = 0;
        std::size_t available = 0;
        const uint8_t* next = input.data();
        while (produced < end) {
            // Once all input is taken, the decoder may still hold output.
            if (available == 0 && consumed < file.compressedLength) {
                const std::size_t want = std::size_t(std::min<quint64>(kChunk, file.compressedLength - consumed));
                if (source.ReadAt(file.dataOffset + consumed, input.data(), want) != want)
                    return false;
                consumed += want;
                available = want;
                next = input.data();
            }
            uint8_t* out = output.data();
            std::size_t room = std::size_t(std::min<quint64>(kChunk, end - produced));
            const BrotliDecoderResult result
                = BrotliDecoderDecompressStream(decoder.get(), &available, &next, &room, &out, nullptr);
            const std::size_t piece = std::size_t(out - output.data());
            if (piece > 0)
                sink(produced, output.data(), piece);
            produced += piece;
            if (result == BROTLI_DECODER_RESULT_ERROR || result == BROTLI_DECODER_RESULT_SUCCESS
                || (result == BROTLI_DECODER_RESULT_NEEDS_MORE_INPUT && consumed == file.compressedLength))
                break;
        }
        return produced == end;
    }

    std::optional<QByteArrayList> Woff2NameTables(const ByteSource& source)
    {
        const std::optional<Woff2File> file = ReadWoff2(source);
        if (!file)
            return std::nullopt;
        // The name table of each face, none for a face without outlines; one
        // table may serve several faces.
        std::vector<const Woff2Table*> names;
        quint64 end = 0;
        for (const Woff2Face& face : file->faces) {
            if (!HasOutlines(face.flavor)) {
                names.push_back(nullptr);
                continue;
            }
            const auto name = std::find_if(face.tables.begin(), face.tables.end(),
                [&](std::size_t i) { return file->tables[i].tag == kNameTag && !file->tables[i].Transformed(); });
            const Woff2Table* table = name == face.tables.end() ? nullptr : &file->tables[*name];
            names.push_back(table);
            if (table)
                end = std::max(end, table->streamOffset + std::min(table->length, kNameReach));
        }
        std::vector<QByteArray> bytes(names.size());
        for (std::size_t k = 0; k < names.size(); ++k)
            bytes[k].resize(names[k] ? qsizetype(std::min(names[k]->length, kNameReach)) : 0);
        const auto copy = [&](quint64 at, const uint8_t* data, std::size_t size) {
            for (std::size_t k = 0; k < names.size(); ++k) {
                if (!names[k])
                    continue;
                const quint64 from = std::max(at, names[k]->streamOffset);
                const quint64 to = std::min(at + size, names[k]->streamOffset + quint64(bytes[k].size()));
                if (from < to)
                    std::copy(data + (from - at), data + (to - at), bytes[k].begin() + qsizetype(from - names[k]->streamOffset));
            }
        };
        if (end > 0 && !DecodeStream(source, *file, end, copy))
            return std::nullopt;
        return QByteArrayList(bytes.begin(), bytes.end());
    }

    // The data of the table with the tag; empty when there is none.
    QByteArray TableData(const std::vector<SfntTableData>& tables, const char (&tag)[5])
    {
        const auto found = std::find_if(
            tables.begin(), tables.end(), [&](const SfntTableData& t) { return t.tag == TableTag(tag); });
        return found == tables.end() ? QByteArray() : found->data;
    }

    QByteArray DecodeWoff2Face(const ByteSource& source, int index, std::span<const quint32> onlyTags)
    {
        const std::optional<Woff2File> file = ReadWoff2(source);
        if (!file || index < 0 || std::size_t(index) >= file->faces.size())
            return {};
        const Woff2Face& face = file->faces[std::size_t(index)];
        quint64 end = 0;
        for (const std::size_t i : face.tables) {
            if (Kept(file->tables[i].tag, onlyTags))
                end = std::max(end, file->tables[i].streamOffset + file->tables[i].streamLength);
        }
        QByteArray stream(qsizetype(end), Qt::Uninitialized);
        const auto store = [&](quint64 at, const uint8_t* data, std::size_t size) {
            std::copy(data, data + size, stream.begin() + qsizetype(at));
        };
        if (!DecodeStream(source, *file, end, store))
            return {};
        std::vector<SfntTableData> tables;
        const Woff2Table* glyf = nullptr;
        const Woff2Table* loca = nullptr;
        const Woff2Table* hmtx = nullptr;
        for (const std::size_t i : face.tables) {
            const Woff2Table& table = file->tables[i];
            if (!Kept(table.tag, onlyTags))
                continue;
            if (table.tag == kGlyfTag && table.Transformed())
                glyf = &table;
            else if (table.tag == kLocaTag && table.Transformed())
                loca = &table;
            else if (table.tag == kHmtxTag && table.Transformed())
                hmtx = &table;
            else if (table.Transformed())
                return {};
            else {
                QByteArray data = stream.mid(qsizetype(table.streamOffset), qsizetype(table.length));
                tables.push_back({ table.tag, TableChecksum(data), std::move(data) });
            }
        }
        if (glyf || loca) {
            if (!glyf || !loca)
                return {};
            std::optional<GlyfAndLoca> rebuilt = ReconstructGlyf(
                stream.mid(qsizetype(glyf->streamOffset), qsizetype(glyf->streamLength)), loca->length);
            if (!rebuilt)
                return {};
            tables.push_back({ kGlyfTag, TableChecksum(rebuilt->glyf), std::move(rebuilt->glyf) });
            tables.push_back({ kLocaTag, TableChecksum(rebuilt->loca), std::move(rebuilt->loca) });
        }
        if (hmtx) {
            // The bearings left out come from the glyphs' boxes, so the
            // glyf table is rebuilt first.
            std::optional<QByteArray> rebuilt
                = ReconstructHmtx(stream.mid(qsizetype(hmtx->streamOffset), qsizetype(hmtx->streamLength)),
                    HmtxSources { TableData(tables, "head"), TableData(tables, "hhea"), TableData(tables, "maxp"),
                        TableData(tables, "glyf"), TableData(tables, "loca") },
                    hmtx->length);
            if (!rebuilt)
                return {};
            tables.push_back({ kHmtxTag, TableChecksum(*rebuilt), std::move(*rebuilt) });
        }
        return AssembleSfnt(face.flavor, std::move(tables));
    }

} // namespace

bool IsWebFont(const ByteSource& source)
{
    const quint32 signature = SignatureOf(source);
    return signature == kWoffSignature || signature == kWoff2Signature;
}

bool IsWebFontCollection(const ByteSource& source)
{
    unsigned char head[8] = {};
    const BigEndianView view(head, source.ReadAt(0, head, sizeof head));
    return view.HasTag(0, "wOF2") && view.HasTag(4, "ttcf");
}

std::optional<QByteArrayList> WebFontNameTables(const ByteSource& source)
{
    const quint32 signature = SignatureOf(source);
    if (signature == kWoffSignature)
        return WoffNameTables(source);
    if (signature == kWoff2Signature)
        return Woff2NameTables(source);
    return std::nullopt;
}

QByteArray DecodeWebFace(const ByteSource& source, int index, std::span<const quint32> onlyTags)
{
    const quint32 signature = SignatureOf(source);
    if (signature == kWoffSignature)
        return DecodeWoffFace(source, index, onlyTags);
    if (signature == kWoff2Signature)
        return DecodeWoff2Face(source, index, onlyTags);
    return {};
}

} // namespace tz
