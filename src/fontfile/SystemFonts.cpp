#include "fontfile/SystemFonts.h"

#include "fontfile/ByteOrder.h"
#include "fontfile/FontFileLog.h"
#include "fontfile/OwnFace.h"
#include "fontfile/RegularFile.h"
#include "fontfile/SfntTables.h"
#include "fontfile/WebFont.h"

#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QMutex>
#include <fontconfig/fontconfig.h>
// after fontconfig.h, which it builds on
#include <fontconfig/fcfreetype.h>
#include <map>
#include <vector>

namespace tz {

namespace {

    // A font file made available through AddFontResource, with the faces
    // fontconfig reads from it.
    struct AddedFont {
        int handle;
        FcFontSet* faces;
        QByteArray decoded; // a web font's face
    };

    std::vector<AddedFont>& AddedFonts()
    {
        static std::vector<AddedFont> fonts;
        return fonts;
    }

    QString PatternString(FcPattern* pattern, const char* object)
    {
        FcChar8* value = nullptr;
        if (FcPatternGetString(pattern, object, 0, &value) != FcResultMatch)
            return {};
        return QString::fromUtf8(reinterpret_cast<const char*>(value));
    }

    int PatternInteger(FcPattern* pattern, const char* object, int fallback)
    {
        int value = fallback;
        FcPatternGetInteger(pattern, object, 0, &value);
        return value;
    }

    bool HasFamily(FcPattern* pattern, const QString& family)
    {
        FcChar8* name = nullptr;
        for (int n = 0; FcPatternGetString(pattern, FC_FAMILY, n, &name) == FcResultMatch; ++n) {
            if (QString::fromUtf8(reinterpret_cast<const char*>(name)).compare(family, Qt::CaseInsensitive) == 0)
                return true;
        }
        return false;
    }

    bool IsSfntVersion(quint32 version)
    {
        return version == kTrueTypeSfntVersion || version == kCffSfntVersion || version == kAppleSfntVersion;
    }

    // ulCodePageRange1 of the OS/2 table, present from table version 1 on.
    std::optional<quint32> ReadCodePageRange(const ByteSource& file, const TableRecord& os2)
    {
        unsigned char buffer[82] = {};
        const std::size_t read = file.ReadAt(os2.offset, buffer, sizeof buffer);
        const BigEndianView view(buffer, read);
        if (view.U16(0) < 1 || os2.length < sizeof buffer || read < sizeof buffer)
            return std::nullopt;
        return view.U32(78);
    }

    // Whether the cmap holds a Windows symbol (3,0) subtable.
    bool HasSymbolCmap(const ByteSource& file, const TableRecord& cmap)
    {
        unsigned char header[4] = {}; // version, numTables
        if (file.ReadAt(cmap.offset, header, sizeof header) != sizeof header)
            return false;
        const std::size_t count = BigEndianView(header, sizeof header).U16(2);
        if (count == 0)
            return false;
        std::vector<unsigned char> records(count * 8); // platformID, encodingID, offset
        const std::size_t read = file.ReadAt(quint64(cmap.offset) + 4, records.data(), records.size());
        const BigEndianView view(records.data(), read);
        for (std::size_t i = 0; read - i >= 8; i += 8) {
            if (view.U16(i) == 3 && view.U16(i + 2) == 0)
                return true;
        }
        return false;
    }

    // The position of face `index`'s offset table: from the collection
    // header's offsets for a collection, 0 otherwise.
    quint64 OffsetTablePosition(const ByteSource& file, int index)
    {
        unsigned char header[12] = {};
        file.ReadAt(0, header, sizeof header);
        if (!BigEndianView(header, sizeof header).HasTag(0, "ttcf"))
            return 0;
        unsigned char offset[4] = {};
        file.ReadAt(12 + 4 * quint64(index), offset, sizeof offset);
        return BigEndianView(offset, sizeof offset).U32(0);
    }

    // What a face's own tables tell of it.
    struct TableFacts {
        bool trueType = false;
        std::optional<QString> fullName;
        std::optional<quint32> codePageRange1;
        bool symbolCmap = false;
    };

    TableFacts ReadTableFacts(const ByteSource& file, int faceIndex)
    {
        TableFacts facts;
        OffsetTable table;
        if (!table.Read(file, OffsetTablePosition(file, faceIndex)) || !IsSfntVersion(table.SfntVersion()))
            return facts;
        facts.trueType = true;
        if (const auto name = table.Find("name"); name && name->offset != 0) {
            if (const auto names = ReadNamePair(file, name->offset))
                facts.fullName = names->face;
        }
        if (const auto os2 = table.Find("OS/2"))
            facts.codePageRange1 = ReadCodePageRange(file, *os2);
        if (const auto cmap = table.Find("cmap"))
            facts.symbolCmap = HasSymbolCmap(file, *cmap);
        return facts;
    }

    // The facts of faces read with the wider formats, kept per face for as
    // long as its file stays as it was: a web font is decoded to read them,
    // and a family's faces are described again for each of its rows.
    class FactsCache {
    public:
        template <typename Read>
        TableFacts Get(const RegularFile& file, const QString& path, int faceIndex, Read read)
        {
            {
                const QMutexLocker lock(&mutex_);
                if (const auto found = entries_.find(Key { path, faceIndex });
                    found != entries_.end() && found->second.stamp == StampOf(file))
                    return found->second.facts;
            }
            TableFacts facts = read();
            Put(file, path, faceIndex, facts);
            return facts;
        }

        void Put(const RegularFile& file, const QString& path, int faceIndex, const TableFacts& facts)
        {
            const QMutexLocker lock(&mutex_);
            entries_[Key { path, faceIndex }] = { StampOf(file), facts };
        }

    private:
        struct Stamp {
            FileIdentity identity;
            qint64 size = 0;
            qint64 modified = 0;
            bool operator==(const Stamp&) const = default;
        };
        struct Entry {
            Stamp stamp;
            TableFacts facts;
        };
        using Key = std::pair<QString, int>;

        static Stamp StampOf(const RegularFile& file) { return { file.Identity(), file.Size(), file.Modified() }; }

        QMutex mutex_;
        std::map<Key, Entry> entries_;
    };

    FactsCache& WiderFormatFacts()
    {
        static FactsCache cache;
        return cache;
    }

    // The tables the facts come from.
    constexpr quint32 kFactTables[] = { TableTag("name"), TableTag("OS/2"), TableTag("cmap") };

    TableFacts FactsOfFace(const QString& path, int faceIndex, FontFormats formats)
    {
        const RegularFile opened(path, RegularFile::Mode::Read);
        if (!opened.IsOpen())
            return {};
        if (formats == FontFormats::Designed)
            return ReadTableFacts(opened, faceIndex);
        return WiderFormatFacts().Get(opened, path, faceIndex, [&] {
            const std::optional<QByteArray> wider = WiderFormatFace(opened, faceIndex, kFactTables);
            return wider ? ReadTableFacts(MemoryBytes(*wider), 0) : ReadTableFacts(opened, faceIndex);
        });
    }

    FontStyle DescribeFace(FcPattern* pattern, FontFormats formats)
    {
        FontStyle style;
        style.FullName = PatternString(pattern, FC_FULLNAME);
        if (PatternInteger(pattern, FC_WEIGHT, FC_WEIGHT_REGULAR) >= FC_WEIGHT_BOLD)
            style.StyleFlags |= kBoldStyleFlag;
        if (PatternInteger(pattern, FC_SLANT, FC_SLANT_ROMAN) != FC_SLANT_ROMAN)
            style.StyleFlags |= kItalicStyleFlag;

        CharsetEvidence evidence;
        FcCharSet* charset = nullptr;
        if (FcPatternGetCharSet(pattern, FC_CHARSET, 0, &charset) == FcResultMatch) {
            evidence.hasHiragana = FcCharSetHasChar(charset, 0x3042);
            evidence.hasLatinA = FcCharSetHasChar(charset, 0x0041);
        }
        // A named instance of a variable font carries its instance number in
        // the upper half of the index.
        const TableFacts facts
            = FactsOfFace(PatternString(pattern, FC_FILE), PatternInteger(pattern, FC_INDEX, 0) & 0xFFFF, formats);
        style.TrueType = facts.trueType;
        style.FullName = facts.fullName.value_or(style.FullName);
        evidence.codePageRange1 = facts.codePageRange1;
        evidence.symbolCmap = facts.symbolCmap;
        style.Charset = DeriveCharset(evidence);
        return style;
    }

    void AppendStyles(FcFontSet* set, const QString& family, FontFormats formats, QList<FontStyle>& styles)
    {
        if (!set)
            return;
        for (int i = 0; i < set->nfont; ++i) {
            if (HasFamily(set->fonts[i], family))
                styles.append(DescribeFace(set->fonts[i], formats));
        }
    }

} // namespace

quint8 DeriveCharset(const CharsetEvidence& evidence)
{
    struct CodePage {
        int bit;
        quint8 charset;
    };
    static constexpr CodePage kPrecedence[] = {
        { 31, kSymbolCharset }, { 17, kShiftJisCharset }, { 0, kAnsiCharset }, { 1, 238 }, { 2, 204 }, { 3, 161 },
        { 4, 162 }, { 5, 177 }, { 6, 178 }, { 7, 186 }, { 8, 163 }, { 16, 222 }, { 18, 134 }, { 19, 129 },
        { 20, 136 }, { 21, 130 },
    };
    if (evidence.codePageRange1) {
        for (const CodePage& page : kPrecedence) {
            if (*evidence.codePageRange1 & (quint32(1) << page.bit))
                return page.charset;
        }
    }
    if (evidence.symbolCmap)
        return kSymbolCharset;
    if (evidence.hasHiragana)
        return kShiftJisCharset;
    if (evidence.hasLatinA)
        return kAnsiCharset;
    return kDefaultCharset;
}

QList<FontStyle> EnumerateFontStyles(const QString& family, FontFormats formats)
{
    QList<FontStyle> styles;
    AppendStyles(FcConfigGetFonts(nullptr, FcSetSystem), family, formats, styles);
    for (const AddedFont& font : AddedFonts())
        AppendStyles(font.faces, family, formats, styles);
    return styles;
}

quint8 ClassifyCharset(quint8 code, quint8 previous)
{
    if (code & 2)
        return kSymbolCharset;
    if (code == 0)
        return kAnsiCharset;
    if (code & 128)
        return kShiftJisCharset;
    return previous;
}

quint8 SampleCharset(const QString& family, const QString& fullName, FontFormats formats)
{
    quint8 charset = kDefaultCharset;
    for (const FontStyle& style : EnumerateFontStyles(family, formats)) {
        if (!style.TrueType)
            continue;
        charset = ClassifyCharset(style.Charset, charset);
        if (style.FullName == fullName)
            break;
    }
    return charset;
}

namespace {

    // The single face of a WOFF or WOFF2 file decoded; empty for any other
    // file, a collection or a face that can't be decoded.
    QByteArray SingleWebFace(const RegularFile& file)
    {
        return IsWebFont(file) && !IsWebFontCollection(file) ? DecodeWebFace(file, 0) : QByteArray();
    }

    // fontconfig's description of the decoded face, under the file's path.
    FcPattern* QueryDecodedFace(const QByteArray& face, const QByteArray& path)
    {
        FT_Library library = nullptr;
        if (FT_Init_FreeType(&library) != 0)
            return nullptr;
        FT_Face ftFace = nullptr;
        FcPattern* pattern = nullptr;
        if (FT_New_Memory_Face(library, reinterpret_cast<const FT_Byte*>(face.constData()), FT_Long(face.size()), 0,
                &ftFace)
            == 0) {
            pattern = FcFreeTypeQueryFace(ftFace, reinterpret_cast<const FcChar8*>(path.constData()), 0, nullptr);
            FT_Done_Face(ftFace);
        }
        FT_Done_FreeType(library);
        return pattern;
    }

} // namespace

int AddFontResource(const QString& path, FontFormats formats)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        qCWarning(lcFontFile) << "fonts can be made available only in a GUI application";
        return -1;
    }
    // Held open while the font engine and fontconfig read the file by its
    // path: a FIFO or device named like a font would block them.
    const RegularFile file(path, RegularFile::Mode::Read);
    if (!file.IsOpen()) {
        qCDebug(lcFontFile) << "not a regular file:" << path;
        return -1;
    }
    const QByteArray decoded = formats == FontFormats::All ? SingleWebFace(file) : QByteArray();
    if (!decoded.isEmpty())
        WiderFormatFacts().Put(file, path, 0, ReadTableFacts(MemoryBytes(decoded), 0));
    const int handle = decoded.isEmpty() ? QFontDatabase::addApplicationFont(path)
                                         : QFontDatabase::addApplicationFontFromData(decoded);
    if (handle < 0) {
        qCDebug(lcFontFile) << "not usable as a font:" << path;
        return -1;
    }
    FcFontSet* faces = FcFontSetCreate();
    const QByteArray name = QFile::encodeName(path);
    if (decoded.isEmpty()) {
        FcFreeTypeQueryAll(reinterpret_cast<const FcChar8*>(name.constData()), uint(-1), nullptr, nullptr, faces);
    } else if (FcPattern* pattern = QueryDecodedFace(decoded, name); pattern && !FcFontSetAdd(faces, pattern)) {
        FcPatternDestroy(pattern);
    }
    AddedFonts().push_back({ handle, faces, decoded });
    return handle;
}

QByteArray AddedFontData(int handle)
{
    for (const AddedFont& font : AddedFonts()) {
        if (font.handle == handle)
            return font.decoded;
    }
    return {};
}

bool RemoveFontResource(int handle)
{
    std::vector<AddedFont>& fonts = AddedFonts();
    for (auto it = fonts.begin(); it != fonts.end(); ++it) {
        if (it->handle == handle) {
            QFontDatabase::removeApplicationFont(handle);
            FcFontSetDestroy(it->faces);
            fonts.erase(it);
            return true;
        }
    }
    return false;
}

} // namespace tz
