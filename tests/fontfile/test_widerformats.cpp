// Naming and drawing the wider formats: OpenType CFF files and collections,
// Apple TrueType, WOFF, WOFF2 and data-fork suitcases, on fonts the test
// writes and on real fonts where their packages are installed; and hostile
// files in those formats, which give no face.
#include "FontfileTestFiles.h"
#include "SampleSupport.h"
#include "SfntWriter.h"
#include "WebFontWriter.h"
#include "fontfile/ByteOrder.h"
#include "fontfile/FontFileReader.h"
#include "fontfile/MacFont.h"
#include "fontfile/OwnFace.h"
#include "fontfile/RegularFile.h"
#include "fontfile/SfntTables.h"
#include "fontfile/WebFont.h"
#include "fontfile/Woff2Hmtx.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRawFont>
#include <QTest>

using namespace tz;
using namespace tz::test;

Q_DECLARE_METATYPE(tz::FaceProblem)

namespace {

constexpr quint16 kFamily = 1;
constexpr quint16 kFace = 4;
constexpr quint32 kOtto = 0x4F54544F;

const QString kDejaVuSans = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
const QString kUrwSerif = QStringLiteral("/usr/share/fonts/opentype/urw-base35/C059-Roman.otf");
const QString kUrwSans = QStringLiteral("/usr/share/fonts/opentype/urw-base35/NimbusSans-Regular.otf");
const QString kNotoCjk = QStringLiteral("/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc");

QByteArray Named(const QString& family, const QString& face, quint32 version = 0x00010000)
{
    return BuildFont({ WindowsName(kFamily, family), WindowsName(kFace, face) }, version);
}

struct Names {
    QStringList families;
    QStringList faces;
    FaceProblem problem = FaceProblem::None;
    bool suitcase = false;
};

Names Read(const QByteArray& bytes, FontFormats formats)
{
    QTemporaryDir dir;
    FontFileReader reader;
    reader.Read(WriteTestFile(dir, "input.font", bytes), formats);
    return { reader.FamilyNames(), reader.FaceNames(), reader.Problem(), reader.Suitcase() };
}

// The glyphs of the text, and the missing-glyph shape, as the face draws them.
QList<QImage> GlyphImages(const QByteArray& face, const QString& text)
{
    const QRawFont raw(face, 40);
    QList<QImage> images;
    if (!raw.isValid())
        return images;
    QList<quint32> glyphs = raw.glyphIndexesForString(text);
    glyphs.append(0);
    for (const quint32 glyph : glyphs)
        images.append(raw.alphaMapForGlyph(glyph));
    return images;
}

// Every table of a single-face sfnt by its tag.
QMap<quint32, QByteArray> TablesOf(const QByteArray& sfnt)
{
    QMap<quint32, QByteArray> tables;
    const MemoryBytes bytes(sfnt);
    for (const FaceTable& table : ReadFaceTables(bytes, 0).value_or(std::vector<FaceTable>()))
        tables.insert(table.tag, ReadFaceTable(bytes, table));
    return tables;
}

QByteArray FileBytes(const QString& path) { return ReadTestFile(path); }

// A WOFF2 file made by fontTools with the given tables transformed (glyf
// and loca by default, as fontTools stores them); empty where fontTools or
// its Brotli module is missing.
QByteArray TransformedWoff2(const QString& source, const QString& target, const QString& transformed = "glyf loca")
{
    const int code = QProcess::execute(QStringLiteral("/usr/bin/python3"),
        { QStringLiteral("-c"),
            QStringLiteral("import sys; from fontTools.ttLib import woff2; "
                           "woff2.compress(sys.argv[1], sys.argv[2], transform_tables=set(sys.argv[3].split()))"),
            source, target, transformed });
    return code == 0 ? ReadTestFile(target) : QByteArray();
}

QByteArray U16s(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (const int value : values)
        bytes.append(char(quint16(value) >> 8)).append(char(value));
    return bytes;
}

// Three glyphs: none, a point at (-5, 0), a point at (40, 10); two of them
// with metrics of their own, each left side bearing its glyph's xMin.
QList<SfntTable> HmtxFaceTables()
{
    const QByteArray point = U16s({ 1, 0, 0, 0, 0, 0, 0 }) + QByteArray(1, '\x01') + U16s({ 0, 0 }) + QByteArray(1, '\0');
    QByteArray first = point, second = point;
    first.replace(0, 10, U16s({ 1, -5, 0, -5, 0 }));
    first.replace(15, 4, U16s({ -5, 0 }));
    second.replace(0, 10, U16s({ 1, 40, 10, 40, 10 }));
    second.replace(15, 4, U16s({ 40, 10 }));
    QByteArray head(54, '\0');
    head.replace(12, 4, U16s({ 0x5F0F, 0x3CF5 })).replace(18, 2, U16s({ 1000 }));
    return { { "name", NameTable({ WindowsName(kFamily, "Metric"), WindowsName(kFace, "Metric Regular") }) },
        { "head", head }, { "hhea", QByteArray(34, '\0') + U16s({ 2 }) }, { "maxp", U16s({ 0, 0x5000, 3 }) },
        { "glyf", first + second }, { "loca", U16s({ 0, 0, 10, 20 }) }, { "hmtx", U16s({ 500, 0, 600, -5, 40 }) } };
}

QByteArray TableIn(const QList<SfntTable>& tables, const QByteArray& tag)
{
    for (const SfntTable& table : tables) {
        if (table.tag == tag)
            return table.data;
    }
    return {};
}

HmtxSources HmtxSourcesOf(const QList<SfntTable>& tables)
{
    return { TableIn(tables, "head"), TableIn(tables, "hhea"), TableIn(tables, "maxp"), TableIn(tables, "glyf"),
        TableIn(tables, "loca") };
}

} // namespace

class TestWiderFormats : public QObject {
    Q_OBJECT

private slots:
    void naming_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("faces");
        QTest::addColumn<FaceProblem>("designedProblem");
        QTest::addColumn<bool>("suitcase");

        const QByteArray trueType = Named("Gadget", "Gadget Bold");
        const QByteArray cff = Named("Gadget", "Gadget Bold", kOtto);
        const QByteArray cffItalic = Named("Gadget", "Gadget Italic", kOtto);
        const QStringList one { "Gadget Bold" };
        const QStringList two { "Gadget Bold", "Gadget Italic" };
        QTest::newRow("OpenType CFF") << cff << one << FaceProblem::CffOutlines << false;
        QTest::newRow("Apple TrueType") << Named("Gadget", "Gadget Bold", 0x74727565) << one << FaceProblem::NotFont
                                        << false;
        QTest::newRow("CFF collection") << CollectionOf({ cff, cffItalic }) << two << FaceProblem::CffOutlines
                                        << false;
        QTest::newRow("collection of a CFF and a TrueType face")
            << CollectionOf({ cff, Named("Gadget", "Gadget Italic") }) << two << FaceProblem::CffOutlines << false;
        QTest::newRow("WOFF") << WoffOf(trueType) << one << FaceProblem::NotFont << false;
        QTest::newRow("WOFF of CFF") << WoffOf(cff) << one << FaceProblem::NotFont << false;
        QTest::newRow("WOFF2") << Woff2Of(trueType) << one << FaceProblem::NotFont << false;
        QTest::newRow("WOFF2 with hmtx transformed") << Woff2Of(BuildFontWithTables(HmtxFaceTables()), Woff2Hmtx::Transformed)
                                                    << QStringList { "Metric Regular" } << FaceProblem::NotFont << false;
        QTest::newRow("WOFF2 collection") << Woff2Of(CollectionOf({ cff, cffItalic })) << two << FaceProblem::NotFont
                                          << false;
        QTest::newRow("suitcase with two faces") << SuitcaseOf({ trueType, cffItalic }) << two << FaceProblem::NotFont
                                                 << true;
        // Naming inflates a WOFF name table only as far as the family and face
        // strings reach, wherever they lie.
        const SfntName licence = WindowsName(13, QString(20000, u'L'));
        QTest::newRow("WOFF: names before a long licence")
            << WoffOf(BuildFont({ WindowsName(kFamily, "Gadget"), WindowsName(kFace, "Gadget Bold"), licence }))
            << one << FaceProblem::NotFont << false;
        QTest::newRow("WOFF: the face name after a long licence")
            << WoffOf(BuildFont({ WindowsName(kFamily, "Gadget"), licence, WindowsName(kFace, "Gadget Bold") }))
            << one << FaceProblem::NotFont << false;
        QTest::newRow("WOFF: a face name in another language after the licence is passed over")
            << WoffOf(BuildFont({ WindowsName(kFamily, "Gadget"), licence, WindowsName(kFace, "Gadget Bold"), licence,
                   WindowsName(kFace, "Gadget Gras", 0x040C) }))
            << one << FaceProblem::NotFont << false;
        // The records are chosen as for TrueType files.
        QTest::newRow("WOFF: the Japanese record after the English one wins")
            << WoffOf(BuildFont({ WindowsName(kFamily, "Mincho"), WindowsName(kFace, "Mincho W3"),
                   WindowsName(kFace, QStringLiteral("明朝 W3"), 0x0411) }))
            << QStringList { QStringLiteral("明朝 W3") } << FaceProblem::NotFont << false;
    }

    // With the wider formats every format is named like a TrueType file;
    // with the program's own formats only its TrueType faces are.
    void naming()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, faces);
        QFETCH(FaceProblem, designedProblem);
        QFETCH(bool, suitcase);
        const Names all = Read(bytes, FontFormats::All);
        QCOMPARE(all.faces, faces);
        QCOMPARE(all.families, QStringList(faces.size(), all.families.value(0)));
        QCOMPARE(all.problem, FaceProblem::None);
        QCOMPARE(all.suitcase, suitcase);
        const Names designed = Read(bytes, FontFormats::Designed);
        QCOMPARE(designed.problem, designedProblem);
        if (designedProblem != FaceProblem::None)
            QVERIFY(designed.faces.isEmpty());
    }

    void aSuitcaseIsAnalysedAsAMacintoshFile()
    {
        QTemporaryDir work, files;
        const QByteArray suitcase = SuitcaseOf({ Named("A", "A One"), Named("A", "A Two") });
        const QString path = WriteTestFile(files, "pair.dfont", suitcase);
        const FontFileAnalysis analysis = AnalyseFontFile(path, work.path(), FontFormats::All);
        QCOMPARE(analysis.FaceNames, QStringList({ "A One", "A Two" }));
        QVERIFY(analysis.Macintosh);
        QCOMPARE(analysis.Size, int(suitcase.size()));
        QVERIFY(AnalyseFontFile(path, work.path()).FaceNames.isEmpty());

        // Taken out of the suitcase, its faces make a collection of the same
        // faces; one face makes a plain sfnt file.
        const QString extracted = work.filePath("typozind.mac.ttf");
        QVERIFY(!ExtractMacFont(path, extracted));
        QVERIFY(ExtractMacFont(path, extracted, FontFormats::All));
        QCOMPARE(Read(ReadTestFile(extracted), FontFormats::Designed).faces, QStringList({ "A One", "A Two" }));
        QVERIFY(ReadTestFile(extracted).startsWith("ttcf"));
        const QString single = WriteTestFile(files, "one.dfont", SuitcaseOf({ Named("B", "B One") }));
        QVERIFY(ExtractMacFont(single, extracted, FontFormats::All));
        QCOMPARE(Read(ReadTestFile(extracted), FontFormats::Designed).faces, QStringList { "B One" });
    }

    void hostileFilesGiveNoFace_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray font = Named("Gadget", "Gadget Bold");
        const QByteArray woff = WoffOf(BuildFont({ WindowsName(kFamily, QString(300, u'x')), WindowsName(kFace, "F") }));
        const QByteArray woff2 = Woff2Of(font);
        QTest::newRow("WOFF cut short") << woff.left(woff.size() - 20);
        SfntWriter lying { woff };
        lying.PutU32(44 + 8, 0x7FFFFFF0); // compLength of the only table
        QTest::newRow("WOFF table past the end") << lying.bytes;
        SfntWriter overlapping { WoffOf(BuildFontWithTables({ { "name", NameTable({ WindowsName(kFamily, "F"),
                                                                           WindowsName(kFace, "F") }) },
            { "zzzz", QByteArray(64, 'z') } })) };
        overlapping.PutU32(44 + 20 + 4, 44 + 40 - 8); // the second table inside the directory
        QTest::newRow("WOFF table overlapping the directory") << overlapping.bytes;
        SfntWriter inflated { woff };
        inflated.PutBytes(qsizetype(BigEndianView(woff).U32(48)),
            QByteArray(8, '\xFF'));
        QTest::newRow("WOFF with damaged zlib data") << inflated.bytes;
        SfntWriter huge { woff };
        huge.PutU32(44 + 12, 0x7FFFFFFF); // origLength far beyond the bound
        QTest::newRow("WOFF declaring a huge table") << huge.bytes;
        SfntWriter broken { woff2 };
        for (qsizetype i = woff2.size() - 12; i < woff2.size(); ++i)
            broken.bytes[i] = char(~broken.bytes[i]);
        QTest::newRow("WOFF2 with a damaged Brotli stream") << broken.bytes;
        QTest::newRow("WOFF2 cut short") << woff2.left(woff2.size() - 4);
        SfntWriter bomb { woff2 };
        bomb.PutBytes(49, QByteArray("\x8F\xFF\xFF\xFF\x7F", 5)); // the first table's length: 4 GB
        QTest::newRow("WOFF2 declaring 4 GB of tables") << bomb.bytes;
        SfntWriter transformedName { woff2 };
        transformedName.bytes[48] = char(5 | 0x40); // name, with a transform
        QTest::newRow("WOFF2 with a transformed name table") << transformedName.bytes;
        SfntWriter manyTypes { SuitcaseOf({ font }) };
        manyTypes.PutU16(qsizetype(BigEndianView(manyTypes.bytes).U32(4)) + 28, 0xFFFE);
        QTest::newRow("suitcase declaring 65,535 types") << manyTypes.bytes;
        SfntWriter pastData { SuitcaseOf({ font }) };
        pastData.PutU32(8, 16); // a data area too short for the resources
        QTest::newRow("suitcase resource past its data area") << pastData.bytes;
        SfntWriter badOffsets { CollectionOf({ Named("A", "A", kOtto), Named("B", "B", kOtto) }) };
        badOffsets.PutU32(12, 0x7FFFFFF0);
        QTest::newRow("CFF collection pointing past its end") << badOffsets.bytes;
    }

    void hostileFilesGiveNoFace()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = WriteTestFile(dir, "input.font", bytes);
        QElapsedTimer timer;
        timer.start();
        const Names names = Read(bytes, FontFormats::All);
        QVERIFY(names.faces.isEmpty());
        QVERIFY(names.problem != FaceProblem::None);
        QVERIFY(!QRawFont(LoadOwnFace(path, "Gadget Bold", "Gadget", FontFormats::All), 12).isValid());
        QVERIFY(timer.elapsed() < 5000);
    }

    void webFontsDecodeToTheirSfnt()
    {
        // Every table comes back byte for byte, so a decoded face equals its
        // twin in all but the order of tables in the file.
        const QByteArray font = BuildFontWithTables({ { "name", NameTable({ WindowsName(kFamily, "F") }) },
            { "head", QByteArray(54, 'h') }, { "glyf", QByteArray(1000, '\0') }, { "loca", QByteArray(8, 'l') } });
        QCOMPARE(TablesOf(DecodeWebFace(MemoryBytes(WoffOf(font)), 0)), TablesOf(font));
        QCOMPARE(TablesOf(DecodeWebFace(MemoryBytes(Woff2Of(font)), 0)), TablesOf(font));
        QVERIFY(DecodeWebFace(MemoryBytes(Woff2Of(font)), 1).isEmpty());
        QVERIFY(DecodeWebFace(MemoryBytes(font), 0).isEmpty());
        // Asked for some tables, a face holds those alone, each whole.
        QMap<quint32, QByteArray> some = TablesOf(font);
        some.remove(TableTag("glyf"));
        some.remove(TableTag("loca"));
        const quint32 tags[] = { TableTag("name"), TableTag("head") };
        QCOMPARE(TablesOf(DecodeWebFace(MemoryBytes(WoffOf(font)), 0, tags)), some);
        QCOMPARE(TablesOf(DecodeWebFace(MemoryBytes(Woff2Of(font)), 0, tags)), some);
        // The left side bearings an hmtx transform leaves out come back from
        // the glyphs' boxes, 0 for a glyph without outline.
        const QByteArray metric = BuildFontWithTables(HmtxFaceTables());
        QCOMPARE(TablesOf(DecodeWebFace(MemoryBytes(Woff2Of(metric, Woff2Hmtx::Transformed)), 0)), TablesOf(metric));
        QCOMPARE(TablesOf(DecodeWebFace(MemoryBytes(Woff2Of(metric, Woff2Hmtx::Transformed)), 0, tags)).keys(),
            QList<quint32>({ TableTag("head"), TableTag("name") }));
    }

    void transformedHmtx_data()
    {
        QTest::addColumn<QByteArray>("transformed");
        QTest::addColumn<QByteArray>("hhea");
        QTest::addColumn<QByteArray>("hmtx"); // empty: no table
        const QByteArray hhea = U16s({ 2 }).prepend(QByteArray(34, '\0'));
        const QByteArray advances = U16s({ 500, 600 });
        QTest::newRow("every bearing left out") << QByteArray("\x03") + advances << hhea << U16s({ 500, 0, 600, -5, 40 });
        QTest::newRow("the proportional ones left out") << QByteArray("\x01") + advances + U16s({ 7 }) << hhea
                                                        << U16s({ 500, 0, 600, -5, 7 });
        QTest::newRow("the monospaced ones left out") << QByteArray("\x02") + advances + U16s({ 1, 2 }) << hhea
                                                      << U16s({ 500, 1, 600, 2, 40 });
        QTest::newRow("no bearing left out") << QByteArray(1, '\0') + advances + U16s({ 1, 2, 3 }) << hhea << QByteArray();
        QTest::newRow("a reserved flag") << QByteArray("\x07") + advances << hhea << QByteArray();
        QTest::newRow("advance widths cut short") << QByteArray("\x03") + advances.left(3) << hhea << QByteArray();
        QTest::newRow("more metrics than glyphs") << QByteArray("\x03") + advances + advances
                                                  << U16s({ 4 }).prepend(QByteArray(34, '\0')) << QByteArray();
        QTest::newRow("no metrics") << QByteArray("\x03") << U16s({ 0 }).prepend(QByteArray(34, '\0')) << QByteArray();
        QTest::newRow("no hhea") << QByteArray("\x03") + advances << QByteArray() << QByteArray();
    }

    // Bearings left out are the glyphs' xMin; a transform the format does
    // not allow, or data that does not fit the face, gives no table.
    void transformedHmtx()
    {
        QFETCH(QByteArray, transformed);
        QFETCH(QByteArray, hhea);
        QFETCH(QByteArray, hmtx);
        HmtxSources face = HmtxSourcesOf(HmtxFaceTables());
        face.hhea = hhea;
        const std::optional<QByteArray> rebuilt = ReconstructHmtx(transformed, face, 10);
        QCOMPARE(rebuilt.value_or(QByteArray()), hmtx);
        // A glyph whose box lies beyond glyf, or a CFF face without glyf.
        HmtxSources cut = HmtxSourcesOf(HmtxFaceTables());
        cut.glyf.chop(11);
        QVERIFY(!ReconstructHmtx(QByteArray("\x03") + U16s({ 500, 600 }), cut, 10));
        cut.glyf.clear();
        cut.loca.clear();
        QVERIFY(!ReconstructHmtx(QByteArray("\x03") + U16s({ 500, 600 }), cut, 10));
    }

    void freeTypeLoadsTheWrittenWebFonts_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("format");
        for (const QString& source : { kDejaVuSans, kUrwSerif }) {
            for (const char* format : { "woff", "woff2", "woff2 collection" })
                QTest::newRow(qPrintable(QFileInfo(source).fileName() + " " + format)) << source << format;
        }
    }

    // The test's own WOFF and WOFF2 files (a WOFF2 collection too) are read
    // by the font engine, and the engine and the program take the same
    // tables out of them: those of the original (head apart from its
    // whole-file checksum, which the engine computes anew).
    void freeTypeLoadsTheWrittenWebFonts()
    {
        QFETCH(QString, source);
        QFETCH(QString, format);
        if (!QFileInfo::exists(source))
            QSKIP("the font is not installed (fonts-dejavu-core, fonts-urw-base35)");
        const QByteArray sfnt = FileBytes(source);
        const QByteArray bytes = format == "woff" ? WoffOf(sfnt)
            : format == "woff2"                  ? Woff2Of(sfnt)
                                                 : Woff2Of(CollectionOf({ sfnt, sfnt }));
        QCOMPARE(bytes.size() % 4, 0);
        const QRawFont engine(bytes, 12);
        QVERIFY(engine.isValid());
        const QMap<quint32, QByteArray> original = TablesOf(sfnt);
        QCOMPARE(TablesOf(DecodeWebFace(MemoryBytes(bytes), 0)), original);
        if (format == "woff2 collection")
            QCOMPARE(TablesOf(DecodeWebFace(MemoryBytes(bytes), 1)), original);
        for (auto table = original.cbegin(); table != original.cend(); ++table) {
            const QByteArray tag = U16s({ int(table.key() >> 16), int(table.key() & 0xFFFF) });
            QByteArray read = engine.fontTable(tag.constData());
            QByteArray expected = table.value();
            if (tag == "head") {
                read.replace(8, 4, QByteArray(4, '\0'));
                expected.replace(8, 4, QByteArray(4, '\0'));
            }
            QCOMPARE(read, expected);
        }
    }

    void transformedWebFontsKeepTheirMetrics_data()
    {
        QTest::addColumn<QString>("transformed");
        QTest::newRow("glyf, loca and hmtx") << "glyf loca hmtx";
        QTest::newRow("hmtx alone") << "hmtx";
    }

    // A real font stored by fontTools with the hmtx transform decodes to its
    // own hmtx and metrics (glyf, rebuilt, is compared by its pixels below;
    // head carries the transform's flag).
    void transformedWebFontsKeepTheirMetrics()
    {
        QFETCH(QString, transformed);
        if (!QFileInfo::exists(kDejaVuSans))
            QSKIP("fonts-dejavu-core is not installed");
        QTemporaryDir dir;
        const QByteArray bytes = TransformedWoff2(kDejaVuSans, dir.filePath("font.woff2"), transformed);
        if (bytes.isEmpty())
            QSKIP("python3-fonttools with python3-brotli is needed to make a transformed WOFF2");
        QMap<quint32, QByteArray> decoded = TablesOf(DecodeWebFace(MemoryBytes(bytes), 0));
        QMap<quint32, QByteArray> original = TablesOf(FileBytes(kDejaVuSans));
        QVERIFY(decoded.contains(TableTag("hmtx")));
        for (const quint32 tag : { TableTag("glyf"), TableTag("loca"), TableTag("head") }) {
            QVERIFY(decoded.remove(tag));
            original.remove(tag);
        }
        QCOMPARE(decoded, original);
        QCOMPARE(Read(bytes, FontFormats::All).faces, QStringList { "DejaVu Sans" });
    }

    void facesDrawAsTheirSfntTwins_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("format");
        for (const QString& source : { kDejaVuSans, kUrwSerif }) {
            for (const char* format : { "woff", "woff2", "dfont", "collection" })
                QTest::newRow(qPrintable(QFileInfo(source).fileName() + " " + format)) << source << format;
        }
        QTest::newRow("DejaVuSans woff2 with glyf transform") << kDejaVuSans << "woff2 transformed";
        QTest::newRow("DejaVuSans woff2 with glyf and hmtx transform") << kDejaVuSans << "woff2 hmtx";
    }

    // The row's face drawn from the wider format gives the pixels of the
    // sfnt it came from, the missing-glyph shape included.
    void facesDrawAsTheirSfntTwins()
    {
        QFETCH(QString, source);
        QFETCH(QString, format);
        if (!QFileInfo::exists(source))
            QSKIP("the font is not installed (fonts-dejavu-core, fonts-urw-base35)");
        const QByteArray sfnt = FileBytes(source);
        const QRawFont twin(sfnt, 12);
        QTemporaryDir dir;
        QByteArray bytes;
        if (format == "woff")
            bytes = WoffOf(sfnt);
        else if (format == "woff2")
            bytes = Woff2Of(sfnt);
        else if (format == "dfont")
            bytes = SuitcaseOf({ FileBytes(kUrwSans), sfnt });
        else if (format == "collection")
            bytes = CollectionOf({ FileBytes(kUrwSans), sfnt });
        else if (format == "woff2 hmtx")
            bytes = TransformedWoff2(source, dir.filePath("font.woff2"), "glyf loca hmtx");
        else
            bytes = TransformedWoff2(source, dir.filePath("font.woff2"));
        if (bytes.isEmpty())
            QSKIP("python3-fonttools with python3-brotli is needed to make a transformed WOFF2");
        const QString path = WriteTestFile(dir, "font." + format, bytes);
        // The twin is the file's last face.
        const Names names = Read(bytes, FontFormats::All);
        QVERIFY(!names.faces.isEmpty());
        const QByteArray face = LoadOwnFace(path, names.faces.last(), names.families.last(), FontFormats::All);
        const QString text = QStringLiteral("Ag&é");
        QCOMPARE(QRawFont(face, 12).familyName(), twin.familyName());
        const QList<QImage> drawn = GlyphImages(face, text);
        QCOMPARE(drawn.size(), text.size() + 1);
        QCOMPARE(drawn, GlyphImages(sfnt, text));
    }

    // A generation run over rows of the wider formats draws each in its own
    // face, a suitcase row (kind 2) taken out like a Macintosh file.
    void aSampleRunDrawsTheWiderFormats()
    {
        if (!QFileInfo::exists(kDejaVuSans))
            QSKIP("fonts-dejavu-core is not installed");
        QTemporaryDir files, work;
        const QByteArray sfnt = RenamedFont(kDejaVuSans, "Zindel Wide", "Zindel Wide");
        const QString woff2 = WriteTestFile(files, "wide.woff2",
            TransformedWoff2(WriteTestFile(files, "wide.ttf", sfnt), files.filePath("wide.woff2")));
        if (ReadTestFile(woff2).isEmpty())
            QSKIP("python3-fonttools with python3-brotli is needed to make a WOFF2");
        const QString suitcase = WriteTestFile(files, "wide.dfont", SuitcaseOf({ sfnt }));
        SampleInput input = PreviewInput({ RowFor(woff2, "Zindel Wide", "Zindel Wide"),
                                             RowFor(suitcase, "Zindel Wide", "Zindel Wide", 2) },
            work.path());
        input.environment.allFormats = true;
        const RunOutcome run = RunSample(input);
        QCOMPARE(run.log.join('|'), QString());
        QCOMPARE(run.index.Count(), 2);
        QVERIFY(!InkBounds(ReadPage(work.path(), 1)).isEmpty());
    }

    void realCffCollection()
    {
        if (!QFileInfo::exists(kNotoCjk))
            QSKIP("fonts-noto-cjk is not installed");
        const Names names = Read(FileBytes(kNotoCjk), FontFormats::All);
        // JP, KR, SC, TC and HK, each proportional and mono; the TC faces keep
        // both their names at string offset 0, which count as names here.
        QCOMPARE(names.faces.size(), 10);
        QVERIFY(names.families.contains("Noto Sans CJK TC"));
        QVERIFY(names.families.contains("Noto Sans CJK JP"));
        QVERIFY(Read(FileBytes(kNotoCjk), FontFormats::Designed).faces.isEmpty());
        // Each face draws as itself.
        for (const int k : { 0, 7, 9 }) {
            const QRawFont face(LoadOwnFace(kNotoCjk, names.faces[k], names.families[k], FontFormats::All), 12);
            QCOMPARE(face.familyName(), names.families[k]);
        }
    }
};

QTEST_MAIN(TestWiderFormats)
#include "test_widerformats.moc"
