#include "SampleSupport.h"

#include "SfntWriter.h"
#include "ListFileSupport.h"
#include "fontfile/OwnFace.h"
#include "platform/Text.h"
#include "sample/PageStore.h"

#include <QFile>

namespace tz::test {

QByteArray RenamedFont(const QString& fontFile, const QString& family, const QString& fullName)
{
    QFile file(fontFile);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray names = NameTable({ WindowsName(1, family), WindowsName(2, QStringLiteral("Regular")),
        WindowsName(4, fullName), WindowsName(6, QString(fullName).remove(u' ')) });
    return WithNameTable(file.readAll(), names);
}

QByteArray CollectionOf(const QList<QByteArray>& faces)
{
    // As real collections are laid out: the header, every face's offset
    // table back to back, then the faces' data, each table offset moved to
    // where that face's bytes now lie.
    auto u16 = [](const QByteArray& b, int at) { return (quint8(b[at]) << 8) | quint8(b[at + 1]); };
    auto u32 = [&](const QByteArray& b, int at) { return (quint32(u16(b, at)) << 16) | quint32(u16(b, at + 2)); };
    SfntWriter out;
    qsizetype tablesEnd = 12 + 4 * faces.size();
    QList<quint32> offsets;
    for (const QByteArray& face : faces) {
        offsets << quint32(tablesEnd);
        tablesEnd += 12 + 16 * u16(face, 4);
    }
    out.CollectionHeader(quint32(faces.size()), offsets);
    out.PutBytes(tablesEnd, QByteArray((4 - tablesEnd % 4) % 4, '\0'));
    for (qsizetype i = 0; i < faces.size(); ++i) {
        const QByteArray& face = faces[i];
        const int count = u16(face, 4);
        const quint32 base = out.Append(face);
        out.PutBytes(offsets[i], face.left(12 + 16 * count));
        for (int t = 0; t < count; ++t) {
            const int record = 12 + 16 * t + 8;
            out.PutU32(offsets[i] + record, u32(face, record) + base);
        }
    }
    return out.bytes;
}

QByteArray WithTableFirst(const QByteArray& face, const QByteArray& tag, const QByteArray& data)
{
    auto u16 = [](const QByteArray& b, qsizetype at) { return (quint8(b[at]) << 8) | quint8(b[at + 1]); };
    auto u32 = [&](const QByteArray& b, qsizetype at) { return (quint32(u16(b, at)) << 16) | quint32(u16(b, at + 2)); };
    const int count = u16(face, 4);
    SfntWriter out;
    out.bytes = face.left(12 + 16 * count);
    const auto place = [&](qsizetype record, const QByteArray& bytes) {
        out.PutU32(record + 8, out.Append(bytes));
        out.PutU32(record + 12, quint32(bytes.size()));
    };
    for (int t = 0; t < count; ++t) {
        if (face.mid(12 + 16 * t, 4) == tag)
            place(12 + 16 * t, data);
    }
    for (int t = 0; t < count; ++t) {
        const qsizetype record = 12 + 16 * t;
        if (face.mid(record, 4) != tag)
            place(record, face.mid(u32(face, record + 8), u32(face, record + 12)));
    }
    return out.bytes;
}

FontEntry RowFor(const QString& path, const QString& face, const QString& family, int kind, const QString& member)
{
    FontEntry entry;
    entry.FaceName = face;
    entry.FamilyName = family;
    entry.FilePath = UpperAscii(path);
    entry.MemberName = UpperAscii(member);
    entry.Size = QString::number(QFile(path).size());
    entry.Kind = kind;
    return entry;
}

SampleInput PreviewInput(const QList<FontEntry>& rows, const QString& workFolder)
{
    SampleInput input;
    input.rows = rows;
    input.margins = { 350, 250, 130, 350 };
    input.workFolder = workFolder;
    return input;
}

namespace {

    class StoppingObserver final : public RunObserver {
    public:
        explicit StoppingObserver(int stopAfterRow) : stopAfterRow_(stopAfterRow) { }
        bool GoOn() override { return stopAfterRow_ == 0 || ++rows_ < stopAfterRow_; }

    private:
        int stopAfterRow_;
        int rows_ = 0;
    };

} // namespace

RunOutcome RunSample(const SampleInput& input, int stopAfterRow)
{
    SampleSheets sheets(input);
    StoppingObserver observer(stopAfterRow);
    RunOutcome outcome;
    outcome.result = sheets.Generate(observer);
    outcome.log = sheets.Log().Lines();
    outcome.index = sheets.Index();
    return outcome;
}

QImage ReadPage(const QString& workFolder, int pageNumber)
{
    const QString bitmap = workFolder + QStringLiteral("/read-back.bmp");
    if (!DecompressFile(PageFilePath(workFolder, pageNumber), bitmap))
        return {};
    QImage image(bitmap, "BMP");
    QFile::remove(bitmap);
    return image;
}

QRect InkBounds(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    QRect bounds;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            if ((line[x] & 0xFFFFFF) != 0xFFFFFF)
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

} // namespace tz::test
