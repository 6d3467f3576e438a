#include "fontfile/FontFileReader.h"

#include "fontfile/ByteOrder.h"
#include "fontfile/FontFileLog.h"
#include "fontfile/MacFont.h"
#include "fontfile/RegularFile.h"
#include "fontfile/SfntTables.h"
#include "fontfile/WebFont.h"
#include "platform/RemovedOnSignal.h"

#include <QFile>
#include <algorithm>
#include <limits>

namespace tz {

namespace {

    // The TrueType collection header: ttcTag, version, numFonts, the offset of
    // the first font's offset table.
    struct CollectionHeader {
        quint32 fontCount = 0; // 0 for a single-font file
        quint32 firstOffset = 0;
    };

    CollectionHeader ReadCollectionHeader(const ByteSource& file)
    {
        unsigned char buffer[16] = {};
        const std::size_t read = file.ReadAt(0, buffer, sizeof buffer);
        const BigEndianView view(buffer, sizeof buffer);
        if (read == 0 || !view.HasTag(0, "ttcf"))
            return {};
        return { view.U32(8), view.U32(12) };
    }

    // The offset of face k's offset table, from the collection header.
    quint32 FaceOffset(const ByteSource& file, quint32 k)
    {
        unsigned char offset[4] = {};
        file.ReadAt(12 + 4 * quint64(k), offset, sizeof offset);
        return BigEndianView(offset, sizeof offset).U32(0);
    }

    // The header holds one 4-byte offset per face after its first 12 bytes, so
    // a file has room for no more faces than that.
    quint32 FacesTheFileHolds(const ByteSource& file, quint32 declared)
    {
        const qint64 room = std::max<qint64>(file.Size() - 12, 0) / 4;
        return quint32(std::min<qint64>(declared, room));
    }

    // The names of one file together: far beyond any real collection, yet a
    // file naming thousands of faces with long names stays small in memory.
    constexpr qsizetype kMaxNameCharactersPerFile = 1 << 20;

    // Faces whose names are read: TrueType outlines; with the wider formats
    // also CFF and Apple TrueType ones.
    bool HasReadableOutlines(quint32 sfntVersion, FontFormats formats)
    {
        return sfntVersion == kTrueTypeSfntVersion
            || (formats == FontFormats::All && (sfntVersion == kCffSfntVersion || sfntVersion == kAppleSfntVersion));
    }

} // namespace

void FontFileReader::Read(const QString& path, FontFormats formats)
{
    Read(RegularFile(path, RegularFile::Mode::Read), path, formats);
}

void FontFileReader::Read(const RegularFile& file, const QString& path, FontFormats formats)
{
    fileName_ = path;
    familyNames_.clear();
    faceNames_.clear();
    faceIndices_.clear();
    problem_ = FaceProblem::None;
    suitcase_ = false;
    nameCharacters_ = 0;
    if (!file.IsOpen()) {
        qCDebug(lcFontFile) << "cannot open as a regular file:" << path;
        problem_ = FaceProblem::Unreadable;
        return;
    }
    if (formats == FontFormats::All && ReadWebFont(file))
        return;
    ReadSfnt(file, formats);
    if (formats == FontFormats::All && problem_ == FaceProblem::NotFont)
        ReadSuitcase(file);
}

void FontFileReader::AddNames(const std::optional<NamePair>& names, int faceIndex)
{
    if (!names || nameCharacters_ >= kMaxNameCharactersPerFile)
        return;
    nameCharacters_ += names->family.size() + names->face.size();
    familyNames_.append(names->family);
    faceNames_.append(names->face);
    faceIndices_.append(faceIndex);
}

void FontFileReader::ReadSfnt(const ByteSource& file, FontFormats formats)
{
    const CollectionHeader header = ReadCollectionHeader(file);
    // The offset tables of the second and later faces are taken to follow the
    // previous one immediately; the per-face offsets of the header after the
    // first are not read. The loop ends where the data ends, so a corrupted
    // font count does not run on past the end of the file, and once the names
    // read reach their bound: the faces before it keep their names. With the
    // wider formats every face is found at its offset in the header.
    const bool byHeader = formats == FontFormats::All && header.fontCount != 0;
    const quint32 faceCount = std::max<quint32>(FacesTheFileHolds(file, header.fontCount), 1);
    quint64 position = header.fontCount == 0 ? 0 : header.firstOffset;
    OffsetTable table;
    bool outlines = header.fontCount != 0; // a collection header, or a face with outlines read
    bool cff = false;
    for (quint32 k = 0; k < faceCount && nameCharacters_ < kMaxNameCharactersPerFile; ++k) {
        if (byHeader && k > 0)
            position = FaceOffset(file, k);
        if (!table.Read(file, position))
            break;
        int tableCount = 0;
        cff = cff || table.SfntVersion() == kCffSfntVersion;
        if (HasReadableOutlines(table.SfntVersion(), formats)) {
            outlines = true;
            tableCount = table.TableCount();
            const std::optional<TableRecord> name = table.Find("name");
            if (name && name->offset != 0)
                AddNames(ReadNamePair(file, name->offset, formats), int(k));
        }
        position += OffsetTable::kHeaderSize + OffsetTable::kRecordSize * quint64(tableCount);
    }
    if (faceNames_.isEmpty()) {
        problem_ = cff && formats == FontFormats::Designed ? FaceProblem::CffOutlines
            : outlines                                      ? FaceProblem::Damaged
                                                            : FaceProblem::NotFont;
    }
}

bool FontFileReader::ReadWebFont(const ByteSource& file)
{
    if (!IsWebFont(file))
        return false;
    const QByteArrayList names = WebFontNameTables(file).value_or(QByteArrayList());
    for (qsizetype k = 0; k < names.size(); ++k)
        AddNames(ReadNamePair(MemoryBytes(names[k]), 0, FontFormats::All), int(k));
    problem_ = faceNames_.isEmpty() ? FaceProblem::Damaged : FaceProblem::None;
    return true;
}

bool FontFileReader::ReadSuitcase(const RegularFile& file)
{
    const std::vector<ResourceSpan> fonts = SuitcaseFonts(file);
    for (std::size_t k = 0; k < fonts.size(); ++k) {
        const ByteWindow resource(file, fonts[k].position, fonts[k].length);
        OffsetTable table;
        if (!table.Read(resource, 0) || !HasReadableOutlines(table.SfntVersion(), FontFormats::All))
            continue;
        if (const std::optional<TableRecord> name = table.Find("name"); name && name->offset != 0)
            AddNames(ReadNamePair(resource, name->offset, FontFormats::All), int(k));
    }
    if (fonts.empty())
        return false;
    suitcase_ = !faceNames_.isEmpty();
    problem_ = suitcase_ ? FaceProblem::None : FaceProblem::Damaged;
    return true;
}

namespace {

    // Lengths beyond the range of the count stop at its maximum.
    qint32 SizeCount(qint64 size) { return qint32(std::clamp<qint64>(size, 0, std::numeric_limits<qint32>::max())); }

    // The names and the size of the open file.
    void TakeNames(const RegularFile& file, const QString& path, FontFormats formats, FontFileAnalysis& analysis)
    {
        FontFileReader reader;
        reader.Read(file, path, formats);
        analysis.Macintosh = reader.Suitcase();
        analysis.FamilyNames = reader.FamilyNames();
        analysis.FaceNames = reader.FaceNames();
        analysis.Size = SizeCount(file.Size());
        analysis.Problem = reader.Problem();
    }

} // namespace

qint32 FileSizeOf(const QString& path) { return SizeCount(RegularFile::SizeOf(path)); }

FontFileAnalysis AnalyseFontFile(const QString& path, const QString& workFolder, FontFormats formats)
{
    // The file is opened once: its type, its size and its bytes, also for the
    // Macintosh fallback, all come from the one open.
    FontFileAnalysis analysis;
    const RegularFile file(path, RegularFile::Mode::Read);
    if (!file.IsOpen()) {
        qCDebug(lcFontFile) << "cannot open as a regular file:" << path;
        analysis.Problem = FaceProblem::Unreadable;
        return analysis;
    }
    TakeNames(file, path, formats, analysis);
    if (!analysis.FamilyNames.isEmpty())
        return analysis;
    analysis.Size = 0;
    const QString extracted = workFolder + QStringLiteral("/typozind.mac.ttx");
    const RemovedOnSignal removal(extracted);
    if (!ExtractMacFont(file, extracted))
        return analysis;
    TakeNames(RegularFile(extracted, RegularFile::Mode::Read), extracted, formats, analysis);
    analysis.Macintosh = true;
    QFile::remove(extracted);
    return analysis;
}

} // namespace tz
