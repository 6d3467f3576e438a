// The character map of a face: formats 4, 12 and 14, the choice among
// subtables, tables that lie, and the characters a search text asks for.
#include "SfntWriter.h"
#include "fontfile/CharacterMap.h"

#include <QElapsedTimer>
#include <QtTest>

using namespace tz;
using namespace tz::test;

namespace {

const CmapRange kLatin { U'A', U'Z', 10 };
const CmapRange kKana { U'あ', U'ん', 100 };

QByteArray Windows(const QByteArray& format4) { return CmapTable({ { 3, 1, format4 } }); }

// A cmap whose only subtable's bytes are patched at the given offset (from
// the subtable's start).
QByteArray Patched(QByteArray subtable, qsizetype at, const QByteArray& bytes, quint16 platform = 3, quint16 encoding = 1)
{
    subtable.replace(at, bytes.size(), bytes);
    return CmapTable({ { platform, encoding, subtable } });
}

QByteArray U16(quint16 v)
{
    const char bytes[2] = { char(v >> 8), char(v) };
    return QByteArray(bytes, 2);
}
QByteArray U32(quint32 v) { return U16(quint16(v >> 16)) + U16(quint16(v)); }

} // namespace

class CharacterMapTest : public QObject {
    Q_OBJECT
private slots:
    void lookups_data()
    {
        QTest::addColumn<QByteArray>("cmap");
        QTest::addColumn<QString>("present");
        QTest::addColumn<QString>("absent");
        QTest::newRow("format 4 by delta") << Windows(CmapFormat4({ kLatin, kKana })) << "AZあん" << "az@ア";
        QTest::newRow("format 4 by glyph array") << Windows(CmapFormat4({ kLatin }, true)) << "AMZ" << "a";
        // A glyph array entry of 0 is the missing glyph.
        QTest::newRow("format 4 glyph 0") << Windows(CmapFormat4({ { U'A', U'B', 0 } }, true)) << "B" << "A";
        QTest::newRow("format 12 beyond the BMP")
            << CmapTable({ { 3, 10, CmapFormat12({ kLatin, { U'𠮟', U'𠮟', 7 } }) } }) << "Q𠮟" << "𠀋";
        QTest::newRow("unicode platform format 4") << CmapTable({ { 0, 3, CmapFormat4({ kKana }) } }) << "か" << "A";
        // Format 12 wins over format 4, whatever their order.
        QTest::newRow("format 12 preferred")
            << CmapTable({ { 3, 1, CmapFormat4({ kLatin }) }, { 3, 10, CmapFormat12({ kKana }) } }) << "あ" << "A";
        // A symbol font maps its own code points, no others.
        QTest::newRow("symbol")
            << CmapTable({ { 3, 0, CmapFormat4({ { 0xF041, 0xF05A, 3 } }) } }) << QString(QChar(0xF041)) << "A";
        // Records past the end are not read; the ones inside still count.
        QTest::newRow("record count past the table")
            << Windows(CmapFormat4({ kLatin })).replace(2, 2, U16(0xFFFF)) << "AB" << "a";
        // A glyph number past 16 bits is none.
        QTest::newRow("format 12 glyph overflow")
            << CmapTable({ { 3, 10, CmapFormat12({ { U'A', U'C', 0xFFFE } }) } }) << "AB" << "C";
    }
    void lookups()
    {
        QFETCH(QByteArray, cmap);
        QFETCH(QString, present);
        QFETCH(QString, absent);
        const CharacterMap map(cmap);
        QVERIFY(map.Usable());
        for (uint c : present.toUcs4())
            QVERIFY2(map.HasGlyph(c), qPrintable(QString::number(c, 16)));
        for (uint c : absent.toUcs4())
            QVERIFY2(!map.HasGlyph(c), qPrintable(QString::number(c, 16)));
    }

    void variationSequences_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("covered");
        QTest::newRow("non-default") << QStringLiteral("葛\U000E0100") << true;
        QTest::newRow("default with base glyph") << QStringLiteral("辻\U000E0101") << true;
        // Listed as default, but the base character has no glyph.
        QTest::newRow("default without base glyph") << QStringLiteral("邉\U000E0101") << false;
        QTest::newRow("sequence not listed") << QStringLiteral("辻\U000E0100") << false;
        QTest::newRow("selector not listed") << QStringLiteral("葛\U000E0102") << false;
        QTest::newRow("base alone") << QStringLiteral("葛辻") << true;
    }
    void variationSequences()
    {
        QFETCH(QString, text);
        QFETCH(bool, covered);
        const QByteArray cmap = CmapTable({ { 3, 1, CmapFormat4({ { U'葛', U'葛', 5 }, { U'辻', U'辻', 6 } }) },
            { 0, 5,
                CmapFormat14({ { 0xE0100, {}, { { U'葛', 40 } } },
                    { 0xE0101, { { U'辻', U'辻' }, { U'邉', U'邉' } }, {} } }) } });
        QCOMPARE(CharacterMap(cmap).CoversAll(CharactersOf(text)), covered);
    }

    // Tables that lie are bounded by their own bytes: the map is unusable (or
    // the lookup fails), nothing crashes, and reading costs no more than the
    // table's size.
    void lyingTables_data()
    {
        QTest::addColumn<QByteArray>("cmap");
        const QByteArray format12 = CmapFormat12({ { U'A', U'M', 1 }, { U'N', U'Z', 20 } });
        QTest::newRow("overlapping groups") << Patched(format12, 28, U32(U'K'), 3, 10); // second group starts at K
        QTest::newRow("group running backwards") << Patched(format12, 16, U32(U'Z'), 3, 10);
        QTest::newRow("group count past the table") << Patched(format12, 12, U32(0x10000000), 3, 10);
        QTest::newRow("group count one too many") << Patched(format12, 12, U32(3), 3, 10);
        const QByteArray format4 = CmapFormat4({ { U'A', U'M', 1 }, { U'N', U'Z', 20 } });
        QTest::newRow("huge segment count") << Patched(format4, 6, U16(0xFFFE));
        QTest::newRow("odd segment count") << Patched(format4, 6, U16(5));
        QTest::newRow("overlapping segments") << Patched(format4, 14 + 6 + 2 + 2, U16(U'K')); // second start K
        QTest::newRow("subtable past the table") << CmapTable({ { 3, 1, format4.left(20) } });
        QByteArray offsetPast = Windows(format4);
        offsetPast.replace(8, 4, U32(0xFFFFFFF0));
        QTest::newRow("offset past the table") << offsetPast;
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("no Unicode subtable") << CmapTable({ { 1, 0, format4 } });
    }
    void lyingTables()
    {
        QFETCH(QByteArray, cmap);
        const CharacterMap map(cmap);
        QVERIFY(!map.HasGlyph(U'B'));
        QVERIFY(!map.CoversAll(CharactersOf(QStringLiteral("BX"))));
    }

    void lyingVariationTables()
    {
        const QByteArray main = CmapFormat4({ { U'辻', U'辻', 6 } });
        QByteArray sequences = CmapFormat14({ { 0xE0100, { { U'辻', U'辻' } }, {} }, { 0xE0101, {}, { { U'辻', 9 } } } });
        // Records out of order: the subtable is not used.
        QByteArray unsorted = sequences;
        unsorted.replace(10, 3, QByteArray("\x0e\x01\x05", 3));
        QVERIFY(!CharacterMap(CmapTable({ { 3, 1, main }, { 0, 5, unsorted } })).HasSequence(U'辻', 0xE0101));
        // Entry counts and offsets past the table.
        QByteArray counts = sequences;
        counts.replace(10 + 11 + 11, 4, U32(0x7FFFFFFF)); // the default list's count
        QByteArray offsets = sequences;
        offsets.replace(10 + 11 + 7, 4, U32(0xFFFFFF00)); // the second record's mappings
        const CharacterMap countsMap(CmapTable({ { 3, 1, main }, { 0, 5, counts } }));
        const CharacterMap offsetsMap(CmapTable({ { 3, 1, main }, { 0, 5, offsets } }));
        QVERIFY(!countsMap.HasSequence(U'辻', 0xE0100));
        QVERIFY(!offsetsMap.HasSequence(U'辻', 0xE0101));
        QVERIFY(countsMap.HasGlyph(U'辻'));
    }

    // A table of the largest size a face can declare is read in bounded time.
    void hugeTablesInBoundedTime()
    {
        QList<CmapRange> groups;
        for (char32_t c = 0; c < 0x10FFFF - 4; c += 4)
            groups.append({ c, c + 1, 1 });
        const QByteArray cmap = CmapTable({ { 3, 10, CmapFormat12(groups) } });
        QElapsedTimer timer;
        timer.start();
        const CharacterMap map(cmap);
        QVERIFY(map.HasGlyph(0x10000) && !map.HasGlyph(0x10002));
        QVERIFY(timer.elapsed() < 2000);
    }

    void charactersOfText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<uint>>("expected"); // base, selector pairs
        QTest::newRow("spaces and line breaks") << QStringLiteral(" A\tB\r\nA\u3000") << QList<uint> { 'A', 0, 'B', 0 };
        QTest::newRow("surrogates") << QStringLiteral("𠮟る") << QList<uint> { 0x20B9F, 0, U'る', 0 };
        QTest::newRow("sequence") << QStringLiteral("葛\U000E0100葛") << QList<uint> { U'葛', 0xE0100, U'葛', 0 };
        QTest::newRow("lone selector") << QStringLiteral("\uFE0F") << QList<uint> { 0xFE0F, 0 };
        QTest::newRow("empty") << QStringLiteral(" \n") << QList<uint> {};
    }
    void charactersOfText()
    {
        QFETCH(QString, text);
        QFETCH(QList<uint>, expected);
        QList<uint> got;
        for (const CharacterNeed& need : CharactersOf(text))
            got << need.base << need.selector;
        QCOMPARE(got, expected);
    }
};

QTEST_GUILESS_MAIN(CharacterMapTest)
#include "test_charactermap.moc"
