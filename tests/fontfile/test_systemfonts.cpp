// The system font layer over the installed Debian fonts, and a font made
// available from a folder fontconfig does not know.
#include "FontfileTestFiles.h"
#include "SfntWriter.h"
#include "WebFontWriter.h"
#include "fontfile/ByteOrder.h"
#include "fontfile/RegularFile.h"
#include "fontfile/SfntTables.h"
#include "fontfile/SystemFonts.h"
#include "fontfile/WebFont.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QTest>

Q_DECLARE_METATYPE(tz::CharsetEvidence)

using namespace tz;
using namespace tz::test;

namespace {

const QString kDejaVuSans = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");

// DejaVu Sans renamed to "Zindel Sans" in every name record, a family no
// installed font has.
QByteArray RenamedDejaVu()
{
    QByteArray bytes = ReadTestFile(kDejaVuSans);
    bytes.replace("DejaVu", "Zindel");
    bytes.replace(Utf16BE("DejaVu"), Utf16BE("Zindel"));
    return bytes;
}

// The font with the OS/2 table's code page bits set to range.
QByteArray WithCodePages(QByteArray font, quint32 range)
{
    for (const FaceTable& table : ReadFaceTables(MemoryBytes(font), 0).value_or(std::vector<FaceTable>())) {
        if (table.tag == TableTag("OS/2")) {
            for (int i = 0; i < 4; ++i)
                font[qsizetype(table.offset) + 78 + i] = char(range >> (24 - 8 * i));
        }
    }
    return font;
}

const FontStyle* FindStyle(const QList<FontStyle>& styles, const QString& fullName)
{
    for (const FontStyle& style : styles) {
        if (style.FullName == fullName)
            return &style;
    }
    return nullptr;
}

} // namespace

class TestSystemFonts : public QObject {
    Q_OBJECT

private slots:
    void installedFamilies_data()
    {
        QTest::addColumn<QString>("family");
        QTest::addColumn<QString>("fullName");
        QTest::addColumn<int>("charset");
        QTest::addColumn<quint32>("flags");

        QTest::newRow("latin") << "DejaVu Sans" << "DejaVu Sans" << 0 << 0u;
        QTest::newRow("latin bold") << "DejaVu Sans" << "DejaVu Sans Bold" << 0 << kBoldStyleFlag;
        QTest::newRow("latin italic") << "DejaVu Sans" << "DejaVu Sans Oblique" << 0 << kItalicStyleFlag;
        QTest::newRow("latin bold italic")
            << "DejaVu Sans" << "DejaVu Sans Bold Oblique" << 0 << (kBoldStyleFlag | kItalicStyleFlag);
        QTest::newRow("family names ignore case") << "dejavu sans" << "DejaVu Sans" << 0 << 0u;
        // The full name is chosen as the reader chooses the face name: the
        // Japanese record wins over the English one.
        QTest::newRow("japanese") << "IPAGothic" << QStringLiteral("IPAゴシック") << 128 << 0u;
        QTest::newRow("japanese by its japanese family name")
            << QStringLiteral("IPAゴシック") << QStringLiteral("IPAゴシック") << 128 << 0u;
        QTest::newRow("symbol") << "OpenSymbol" << "OpenSymbol" << 2 << 0u;
    }

    void installedFamilies()
    {
        QFETCH(QString, family);
        QFETCH(QString, fullName);
        QFETCH(int, charset);
        QFETCH(quint32, flags);
        const QList<FontStyle> styles = EnumerateFontStyles(family);
        const FontStyle* style = FindStyle(styles, fullName);
        QVERIFY2(style, qPrintable(fullName));
        QVERIFY(style->TrueType);
        QCOMPARE(int(style->Charset), charset);
        QCOMPARE(style->StyleFlags, flags);
    }

    void type1FacesAreNotTrueType()
    {
        // Nimbus Sans comes as OpenType (CFF, an sfnt) and as Type 1 files.
        const QList<FontStyle> styles = EnumerateFontStyles(QStringLiteral("Nimbus Sans"));
        QVERIFY(std::any_of(styles.begin(), styles.end(), [](const FontStyle& s) { return s.TrueType; }));
        QVERIFY(std::any_of(styles.begin(), styles.end(), [](const FontStyle& s) { return !s.TrueType; }));
    }

    void unknownFamilyHasNoStyle() { QVERIFY(EnumerateFontStyles(QStringLiteral("No Such Family")).isEmpty()); }

    void fontIsVisibleExactlyWhileAvailable()
    {
        QTemporaryDir dir;
        const QString path = WriteTestFile(dir, "ZindelSans.ttf", RenamedDejaVu());
        const QString family = QStringLiteral("Zindel Sans");
        QVERIFY(EnumerateFontStyles(family).isEmpty());

        const int handle = AddFontResource(path);
        QVERIFY(handle >= 0);
        const QList<FontStyle> styles = EnumerateFontStyles(family);
        QCOMPARE(styles.size(), 1);
        QCOMPARE(styles[0].FullName, family);
        QVERIFY(styles[0].TrueType);
        QCOMPARE(int(styles[0].Charset), 0);
        QVERIFY(QFontDatabase::families().contains(family));

        QVERIFY(RemoveFontResource(handle));
        QVERIFY(EnumerateFontStyles(family).isEmpty());
        QVERIFY(!QFontDatabase::families().contains(family));
        QVERIFY(!RemoveFontResource(handle));
    }

    // With the wider formats a web font's face is described from its decoded
    // tables, and described again only once its file changed.
    void webFontStylesFollowTheirFile()
    {
        QTemporaryDir dir;
        const QString family = QStringLiteral("Zindel Sans");
        const QString path = dir.filePath("ZindelSans.woff");
        QList<quint8> charsets;
        for (const quint32 range : { quint32(1) << 0, quint32(1) << 17, quint32(1) << 17, quint32(1) << 0 }) {
            QVERIFY(WriteTestFile(dir, "ZindelSans.woff", WoffOf(WithCodePages(RenamedDejaVu(), range))) == path);
            const int handle = AddFontResource(path);
            QVERIFY(handle >= 0);
            QVERIFY(AddedFontData(handle).isEmpty()); // the font engine reads the file
            const QList<FontStyle> styles = EnumerateFontStyles(family, FontFormats::All);
            QCOMPARE(styles.size(), 1);
            QCOMPARE(styles[0].FullName, family);
            QVERIFY(styles[0].TrueType);
            charsets.append(styles[0].Charset);
            QVERIFY(RemoveFontResource(handle));
        }
        QCOMPARE(charsets, QList<quint8>({ 0, 128, 128, 0 }));
    }

    // Made available with the wider formats, a web font is decoded once: the
    // font database and the enumeration see the decoded face.
    void webFontsAreMadeAvailableDecoded()
    {
        QTemporaryDir dir;
        const QString family = QStringLiteral("Zindel Sans");
        const QString path = WriteTestFile(dir, "ZindelSans.woff", WoffOf(WithCodePages(RenamedDejaVu(), 1u << 17)));
        const int handle = AddFontResource(path, FontFormats::All);
        QVERIFY(handle >= 0);
        QCOMPARE(AddedFontData(handle), DecodeWebFace(RegularFile(path, RegularFile::Mode::Read), 0));
        QVERIFY(QFontDatabase::families().contains(family));
        const QList<FontStyle> styles = EnumerateFontStyles(family, FontFormats::All);
        QCOMPARE(styles.size(), 1);
        QCOMPARE(styles[0].FullName, family);
        QCOMPARE(int(styles[0].Charset), 128);
        QVERIFY(RemoveFontResource(handle));
        QVERIFY(!QFontDatabase::families().contains(family));
        QVERIFY(EnumerateFontStyles(family, FontFormats::All).isEmpty());
    }

    void addedCopyOfAnInstalledFontJoinsItsFamily()
    {
        QTemporaryDir dir;
        const QString family = QStringLiteral("DejaVu Sans");
        const qsizetype installed = EnumerateFontStyles(family).size();
        const int handle = AddFontResource(WriteTestFile(dir, "copy.ttf", ReadTestFile(kDejaVuSans)));
        QVERIFY(handle >= 0);
        const QList<FontStyle> styles = EnumerateFontStyles(family);
        QCOMPARE(styles.size(), installed + 1);
        QCOMPARE(styles.last().FullName, family);
        QVERIFY(RemoveFontResource(handle));
        QCOMPARE(EnumerateFontStyles(family).size(), installed);
    }

    void unusableFilesAreNotAdded_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("text") << QByteArray("not a font at all");
        QTest::newRow("name table only") << BuildFont({ WindowsName(1, "Bare"), WindowsName(4, "Bare") });
    }

    void unusableFilesAreNotAdded()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        QCOMPARE(AddFontResource(WriteTestFile(dir, "bad.ttf", bytes)), -1);
        QCOMPARE(AddFontResource(dir.filePath("missing.ttf")), -1);
        QVERIFY(EnumerateFontStyles(QStringLiteral("Bare")).isEmpty());
    }

    void deriveCharset_data()
    {
        QTest::addColumn<CharsetEvidence>("evidence");
        QTest::addColumn<int>("charset");
        const auto pages = [](std::initializer_list<int> bits) {
            quint32 range = 0;
            for (int bit : bits)
                range |= quint32(1) << bit;
            return CharsetEvidence { range };
        };
        QTest::newRow("symbol over latin") << pages({ 0, 31 }) << 2;
        QTest::newRow("JIS over latin") << pages({ 0, 17 }) << 128;
        QTest::newRow("latin over central european") << pages({ 1, 0 }) << 0;
        QTest::newRow("cyrillic") << pages({ 2 }) << 204;
        QTest::newRow("simplified chinese") << pages({ 18 }) << 134;
        QTest::newRow("johab is the last") << pages({ 21 }) << 130;
        CharsetEvidence unlisted = pages({ 29 });
        unlisted.hasLatinA = true;
        QTest::newRow("unlisted code page falls back to the cmap") << unlisted << 0;
        QTest::newRow("symbol cmap") << CharsetEvidence { std::nullopt, true, false, true } << 2;
        QTest::newRow("hiragana") << CharsetEvidence { std::nullopt, false, true, true } << 128;
        QTest::newRow("latin letters") << CharsetEvidence { std::nullopt, false, false, true } << 0;
        QTest::newRow("nothing known") << CharsetEvidence {} << 1;
    }

    void deriveCharset()
    {
        QFETCH(CharsetEvidence, evidence);
        QFETCH(int, charset);
        QCOMPARE(int(DeriveCharset(evidence)), charset);
    }
};


int main(int argc, char** argv)
{
    UsePrivateFontCache();
    QGuiApplication app(argc, argv);
    TestSystemFonts test;
    return QTest::qExec(&test, argc, argv);
}
#include "test_systemfonts.moc"
