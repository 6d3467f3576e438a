#include "fontlist/RowFaceScan.h"

#include "archive/Archivettf.h"
#include "fontfile/FontFileReader.h"
#include "fontfile/MacFont.h"
#include "fontfile/OwnFace.h"
#include "fontlist/FontList.h"

#include <QFile>
#include <QHash>
#include <map>

namespace tz {

namespace {

    // The file behind a file key, ready to be read; copies made in the work
    // folder are deleted with it.
    class RowFontFile {
    public:
        RowFontFile(const FontEntry& entry, const QString& workFolder, PathResolverCache& paths, FontFormats formats)
        {
            if (!entry.MemberName.isEmpty()) {
                archived_ = workFolder + QStringLiteral("/typozind.arc.ttf");
                if (!ExtractMember(entry.FilePath, ArchiveMember { entry.MemberName, {} }, archived_, formats))
                    return;
                path_ = archived_;
            } else {
                path_ = paths.Resolve(entry.FilePath);
            }
            if (entry.Kind > kKindCollection) {
                const QString macintosh = workFolder + QStringLiteral("/typozind.mac.ttf");
                if (ExtractMacFont(path_, macintosh)) {
                    macintosh_ = path_ = macintosh;
                } else {
                    QFile::remove(macintosh);
                }
            }
        }
        ~RowFontFile()
        {
            if (!macintosh_.isEmpty())
                QFile::remove(macintosh_);
            if (!archived_.isEmpty())
                QFile::remove(archived_);
        }
        RowFontFile(const RowFontFile&) = delete;
        RowFontFile& operator=(const RowFontFile&) = delete;

        // Empty when an archive member could not be extracted.
        const QString& Path() const { return path_; }
        bool OnDisk() const { return archived_.isEmpty() && macintosh_.isEmpty(); }

    private:
        QString path_;
        QString archived_;
        QString macintosh_;
    };

    bool IsCollection(const RegularFile& file)
    {
        char tag[4] = {};
        return file.ReadAt(0, tag, sizeof tag) == sizeof tag && QByteArrayView(tag, 4) == "ttcf";
    }

} // namespace

RowFaceScan::RowFaceScan(const FontList& list, QString workFolder, FontFormats formats)
    : list_(list)
    , workFolder_(std::move(workFolder))
    , formats_(formats)
{
}

void RowFaceScan::Run(const std::function<void(const RowFace&)>& visit)
{
    QHash<QString, std::size_t> fileOf;
    std::vector<std::vector<int>> files;
    for (int row = 0; row < list_.Count(); ++row) {
        const QString key = FileKey(list_.Entry(row));
        auto known = fileOf.constFind(key);
        if (known == fileOf.cend()) {
            known = fileOf.insert(key, files.size());
            files.emplace_back();
        }
        files[*known].push_back(row);
    }
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (GoOn && !GoOn(int(i), int(files.size()), FileKey(list_.Entry(files[i].front())))) {
            stopped_ = true;
            return;
        }
        ScanFile(files[i], visit);
    }
}

void RowFaceScan::ScanFile(const std::vector<int>& rows, const std::function<void(const RowFace&)>& visit)
{
    const FontEntry& first = list_.Entry(rows.front());
    const RowFontFile source(first, workFolder_, paths_, formats_);
    const RegularFile file(source.Path(), RegularFile::Mode::Read);
    if (source.Path().isEmpty() || !file.IsOpen()) {
        skippedRows_ += int(rows.size());
        return;
    }
    // A WOFF, WOFF2 or suitcase file: its faces are decoded to be read.
    const bool decoded = formats_ == FontFormats::All && !StartsAsSfnt(file);
    std::map<int, std::vector<int>> rowsOfFace;
    if (IsCollection(file) || decoded) {
        FontFileReader names;
        names.Read(file, source.Path(), formats_);
        for (int row : rows)
            rowsOfFace[FaceIndexOf(names, list_.Entry(row).FaceName, list_.Entry(row).FamilyName)].push_back(row);
    } else {
        rowsOfFace[0] = rows;
    }
    for (auto& [index, faceRows] : rowsOfFace) {
        const std::optional<QByteArray> face = decoded ? WiderFormatFace(file, index) : std::nullopt;
        const QByteArray faceBytes = face.value_or(QByteArray());
        const MemoryBytes memory(faceBytes);
        const ByteSource& bytes = face ? static_cast<const ByteSource&>(memory) : file;
        auto tables = ReadFaceTables(bytes, face ? 0 : index);
        if (tables) {
            visit(RowFace { bytes, source.OnDisk() && !face, file.Identity(), source.Path(), index, std::move(*tables),
                std::move(faceRows) });
        }
    }
}

} // namespace tz
