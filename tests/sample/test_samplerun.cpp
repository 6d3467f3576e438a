// The generation run and its renderer on real fonts: each block in the row's
// own face, the layout rules, page breaks, the log, Stop and the lock.
#include "SampleSupport.h"
#include "ArchiveZipWriter.h"
#include "SettingsPrivateFonts.h"
#include "SfntWriter.h"
#include "fontfile/OwnFace.h"
#include "sample/PageDrawing.h"
#include "sample/PageFont.h"
#include "sample/PageStore.h"
#include "sample/RunLock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QRegularExpression>
#include <QRawFont>
#include <QTemporaryDir>
#include <QTest>

using namespace tz;
using namespace tz::test;

namespace {

const QString kTwin = QStringLiteral("Tz Twin");

int InkCount(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    int count = 0;
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x)
            count += (line[x] & 0xFFFFFF) != 0xFFFFFF;
    }
    return count;
}

} // namespace

class TestSampleRun : public QObject {
    Q_OBJECT
public:
    // installedFolder: the font folder of the private font configuration.
    explicit TestSampleRun(QString installedFolder) : installedFolder_(std::move(installedFolder)) { }

private:
    QString installedFolder_;
    QTemporaryDir files_;
    QTemporaryDir work_;

    QString File(const QString& name) const { return files_.filePath(name); }

    // A font file that is not installed, under the names given.
    QString NotInstalled(const QString& name, const QString& source, const QString& family)
    {
        const QString path = File(name);
        if (!QFile::exists(path))
            WriteBytes(path, RenamedFont(source, family, family));
        return path;
    }

    RunOutcome Run(SampleInput input, int stopAfterRow = 0)
    {
        EmptyWorkFolder(work_.path());
        input.workFolder = work_.path();
        return RunSample(input, stopAfterRow);
    }

    SampleInput Input(const QList<FontEntry>& rows) const { return PreviewInput(rows, work_.path()); }

    static SampleInput WithoutHeadings(SampleInput input)
    {
        input.environment.heading.showFace = false;
        input.environment.heading.showFamily = false;
        input.environment.heading.showFile = false;
        return input;
    }

private slots:
    // The block shows the file's own glyphs, also when an installed font
    // carries every one of its names.
    void eachBlockIsDrawnInTheRowsOwnFace()
    {
        const QString serifTwin = NotInstalled("serif-twin.ttf", kDejaVuSerif, kTwin);
        const QString serifOther = NotInstalled("serif-other.ttf", kDejaVuSerif, QStringLiteral("Tz Other"));
        const QString installedTwin = installedFolder_ + QStringLiteral("/sans-twin.ttf");

        auto page = [&](const QString& path, const QString& name) {
            const RunOutcome run = Run(WithoutHeadings(Input({ RowFor(path, name, name) })));
            [&] { QCOMPARE(run.index.Count(), 1); }();
            return ReadPage(work_.path(), 1);
        };
        const QImage notInstalled = page(serifTwin, kTwin);
        const QImage sameGlyphsOtherNames = page(serifOther, QStringLiteral("Tz Other"));
        const QImage installed = page(installedTwin, kTwin);
        QVERIFY(!notInstalled.isNull());
        QVERIFY(!InkBounds(notInstalled).isEmpty());
        QCOMPARE(notInstalled, sameGlyphsOtherNames);
        QVERIFY(notInstalled != installed);
    }

    // Characters the face lacks show its own missing-glyph shape, never
    // another font's glyph: the Japanese text in a Latin face draws as
    // notdef boxes, all alike.
    void missingGlyphsAreTheFacesOwn()
    {
        const QString path = NotInstalled("serif-other.ttf", kDejaVuSerif, QStringLiteral("Tz Other"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QRawFont raw(file.readAll(), 40);
        const PageFont font = PageFont::Own(raw, 40);
        QImage a(400, 80, QImage::Format_RGB32), b(400, 80, QImage::Format_RGB32);
        a.fill(Qt::white);
        b.fill(Qt::white);
        {
            QPainter pa(&a), pb(&b);
            font.Draw(pa, 0, 0, QStringLiteral("美しい"));
            font.Draw(pb, 0, 0, QStringLiteral("漢字が"));
        }
        QVERIFY(!InkBounds(a).isEmpty());
        QCOMPARE(a, b);
    }

    // A heading family's chain: the family's own font first, then a font for
    // the characters it lacks. Drawn from the chain, each character shows in
    // the first font that has it, on the family's baseline; a character no
    // font has is the family's own missing glyph.
    void headingsFallBackThroughTheChain()
    {
        const std::shared_ptr<const FontChain> chain = FontChain::Of(QStringLiteral("DejaVu Sans"));
        QVERIFY(chain->Count() >= 2);
        QCOMPARE(QFileInfo(chain->PathOf(0)).fileName(), QFileInfo(kDejaVuSans).fileName());
        QCOMPARE(chain->LinkFor(U'A'), 0);
        const int kana = chain->LinkFor(U'\u3042');
        QVERIFY(kana > 0);
        QCOMPARE(QFileInfo(chain->PathOf(kana)).fileName(), QFileInfo(kIpaPGothic).fileName());
        QCOMPARE(chain->LinkFor(U'\U0010FFFD'), 0);

        constexpr int kPixels = 40;
        const PageFont heading = PageFont::Chained(chain, kPixels);
        const PageFont latin = PageFont::Own(RawFontOf(chain->Data(0)), kPixels);
        const PageFont japanese = PageFont::Own(RawFontOf(chain->Data(kana)), kPixels);
        QCOMPARE(heading.Height(), latin.Height());
        const QString kanaText = QStringLiteral("\u3042");
        QCOMPARE(heading.Width(kanaText), japanese.Width(kanaText));
        auto drawn = [](const PageFont& font, int y, const QString& text) {
            QImage image(200, 80, QImage::Format_RGB32);
            image.fill(Qt::white);
            QPainter painter(&image);
            SetUpPainter(painter, false);
            font.Draw(painter, 0, y, text);
            return image;
        };
        QVERIFY(!InkBounds(drawn(heading, 0, kanaText)).isEmpty());
        QCOMPARE(drawn(heading, 0, kanaText), drawn(japanese, latin.Ascent() - japanese.Ascent(), kanaText));
        QCOMPARE(drawn(heading, 0, QStringLiteral("A")), drawn(latin, 0, QStringLiteral("A")));
        QCOMPARE(drawn(heading, 0, QStringLiteral("\U0010FFFD")), drawn(latin, 0, QStringLiteral("\U0010FFFD")));
    }

    void aCollectionRowGetsItsOwnFace()
    {
        QFile sans(kDejaVuSans), serif(kDejaVuSerif);
        QVERIFY(sans.open(QIODevice::ReadOnly) && serif.open(QIODevice::ReadOnly));
        const QString path = File("pair.ttc");
        QVERIFY(WriteBytes(path, CollectionOf({ sans.readAll(), serif.readAll() })));
        const QRawFont second(LoadOwnFace(path, QStringLiteral("DejaVu Serif"), QStringLiteral("DejaVu Serif")), 12);
        QCOMPARE(second.familyName(), QStringLiteral("DejaVu Serif"));
        const QRawFont first(LoadOwnFace(path, QStringLiteral("DejaVu Sans"), QStringLiteral("DejaVu Sans")), 12);
        QCOMPARE(first.familyName(), QStringLiteral("DejaVu Sans"));
        QVERIFY(StandaloneFace(QByteArray("ttcf\0\1\0\0\0\0\0\x09", 12), 0).isEmpty());
    }

    void anEmptyListGivesOneBlankPage()
    {
        const RunOutcome run = Run(Input({}));
        QCOMPARE(run.result.pageCount, 1);
        QCOMPARE(run.index.Count(), 0);
        QVERIFY(run.log.isEmpty());
        const QImage page = ReadPage(work_.path(), 1);
        QCOMPARE(page.size(), QSize(793, 1122)); // the portrait fallback sheet at 96 dpi
        QCOMPARE(page.depth(), 1);
        QVERIFY(InkBounds(page).isEmpty());
        QCOMPARE(QDir(work_.path()).entryList(QDir::Files), QStringList { "0001.tzg" });
    }

    void withEveryLineOffAFaceIsNotSampled()
    {
        SampleInput input = Input({ RowFor(kDejaVuSans, "DejaVu Sans", "DejaVu Sans") });
        input.environment.lineShown = { false, false, false, false };
        const RunOutcome run = Run(input);
        QCOMPARE(run.index.Count(), 0);
        QCOMPARE(run.log.size(), 1);
        QCOMPARE(run.log[0],
            QStringLiteral("[警告] DejaVu Sans(DejaVuSans.ttf)が用紙サイズ内に収まりませんでした．この書体は見本出力しません．"));
    }

    // A Shift-JIS face is drawn with the Ascii text and the Japanese text per
    // size when the setting asks for it.
    void twoLineMode()
    {
        const FontEntry gothic = RowFor(kIpaPGothic, "IPA Pゴシック", "IPAPGothic");
        auto blockHeight = [&](bool alsoAscii) {
            SampleInput input = Input({ gothic, gothic });
            input.environment.sjisAlsoAscii = alsoAscii;
            const RunOutcome run = Run(input);
            [&] { QCOMPARE(run.index.Count(), 2); }();
            return run.index.PageKeys[1].mid(4).toInt() - run.index.PageKeys[0].mid(4).toInt();
        };
        const int one = blockHeight(false);
        const int two = blockHeight(true);
        QVERIFY(one > 0);
        // Lines 2 and 3 (12 and 30 pt) each gain a line of their own height.
        QVERIFY2(two > one + 40 && two < 2 * one, qPrintable(QStringLiteral("%1 %2").arg(one).arg(two)));
    }

    void charsetClassification_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("charset");
        QTest::addColumn<int>("sampleClass");
        // The previous values are 1 (default) and class 0 unless a rule applies.
        QTest::newRow("ANSI") << 0 << 0 << 1;
        QTest::newRow("default") << 1 << 1 << 0;
        QTest::newRow("symbol") << 2 << 2 << 0;
        QTest::newRow("Turkish has bit 1: symbol") << 162 << 2 << 0;
        QTest::newRow("Greek has bit 7: Shift-JIS") << 161 << 128 << 2;
        QTest::newRow("Mac keeps the previous") << 77 << 1 << 0;
        QTest::newRow("Shift-JIS") << 128 << 128 << 2;
        QTest::newRow("GB2312 has bit 1: symbol") << 134 << 2 << 0;
    }
    void charsetClassification()
    {
        QFETCH(int, code);
        const quint8 charset = ClassifyCharset(quint8(code), kDefaultCharset);
        QTEST(int(charset), "charset");
        QTEST(SampleClassOf(charset), "sampleClass");
    }

    void aFamilyWithoutTrueTypeStylesGetsTheSymbolText()
    {
        // A family nobody has: no style, so charset 1 and the SYMBOL text.
        const QString path = NotInstalled("nostyle.ttf", kDejaVuSans, QStringLiteral("Tz Lonely"));
        auto ink = [&](const QString& family) {
            FontEntry row = RowFor(path, "Tz Lonely", family);
            SampleInput input = WithoutHeadings(Input({ row }));
            input.texts.Entry(kSymbolClass).useStandard = false;
            input.texts.Entry(kSymbolClass).customText = QStringLiteral("I");
            input.texts.Entry(kAsciiClass).useStandard = false;
            input.texts.Entry(kAsciiClass).customText = QStringLiteral("WWWWWWWWWWWWWWWW");
            const RunOutcome run = Run(input);
            [&] { QCOMPARE(run.index.Count(), 1); }();
            return InkCount(ReadPage(work_.path(), 1));
        };
        QVERIFY(ink(QStringLiteral("Tz Nobody")) * 3 < ink(QStringLiteral("Tz Lonely")));
    }

    void canvasPoints()
    {
        QCOMPARE(CanvasPoints(9, 600, 96), 56);
        QCOMPARE(CanvasPoints(12, 300, 96), 37);
        QCOMPARE(CanvasPoints(9, 96, 96), 9);
        QCOMPARE(PixelSizeOfPoints(37, 96), 49);
        QCOMPARE(PixelSizeOfPoints(9, 96), 12);
    }

    void headingTexts()
    {
        HeadingLayout defaults;
        FontEntry row = RowFor("/fonts/Face.zip", "Face", "Family", 0, "Inner/Font.ttf");
        HeadingTexts texts = SampleRun::HeadingOf(row, row.FilePath, defaults);
        QCOMPARE(texts.left, QStringLiteral("Face / Family"));
        QCOMPARE(texts.right, QStringLiteral("FACE.ZIP[inner/font.ttf]"));
        HeadingLayout allLeft;
        allLeft.fileLeft = true;
        allLeft.showFamily = false;
        texts = SampleRun::HeadingOf(RowFor("/f/a.ttf", "Face", "Family"), "/f/a.ttf", allLeft);
        QCOMPARE(texts.left, QStringLiteral("Face / a.ttf"));
        QCOMPARE(texts.right, QString());
    }

    // A left heading text that would reach the right-aligned file name is cut
    // short of it: blank columns part the two, and the file name, the sample
    // lines and the page keys are as they are without the left text.
    void longHeadingStopsShortOfTheFileName()
    {
        const FontEntry wide = RowFor(kDejaVuSans, QString(60, u'W'), QString(60, u'M'));
        SampleInput input = Input({ wide, wide });
        const RunOutcome cut = Run(input);
        const QImage withLeft = ReadPage(work_.path(), 1).convertToFormat(QImage::Format_RGB32);
        input.environment.heading.showFace = false;
        input.environment.heading.showFamily = false;
        const RunOutcome fileOnly = Run(input);
        const QImage rightOnly = ReadPage(work_.path(), 1).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(cut.index.PageKeys, fileOnly.index.PageKeys);

        const PageGeometry geometry = GeometryOf(input);
        const DeviceFrame& V = geometry.V;
        const int top = V.margins[0].top + V.topOffset;
        const int left = V.margins[0].left + V.leftOffset;
        const int height
            = PageFont::System(input.environment.HeadingFace(), PixelSizeOfPoints(input.environment.HeadingSize(), 96))
                  .Height();
        const QRect band(left, top, V.textWidth, height);
        const QRect fileName = InkBounds(rightOnly.copy(band)).translated(band.topLeft());
        QVERIFY(fileName.left() > left + V.textWidth / 2);
        // Everything from the file name rightwards is untouched.
        const QRect rightPart(fileName.left(), 0, withLeft.width() - fileName.left(), withLeft.height());
        QVERIFY(withLeft.copy(rightPart) == rightOnly.copy(rightPart));
        const QRect leftInk = InkBounds(withLeft.copy(QRect(left, top, fileName.left() - left, height)));
        QVERIFY(!leftInk.isEmpty());
        const int gap = fileName.left() - (left + leftInk.right() + 1);
        QVERIFY2(gap >= 3 && gap <= 8, qPrintable(QString::number(gap)));
    }

    // Page 2 takes margin set 1: with left binding its text area moves.
    void pageBreakAndTheNextPagesKey()
    {
        const FontEntry sans = RowFor(kDejaVuSans, "DejaVu Sans", "DejaVu Sans");
        SampleInput input = Input(QList<FontEntry>(12, sans));
        input.binding = kBindLeft;
        input.margins = { 350, 250, 130, 350 };
        const RunOutcome run = Run(input);
        QVERIFY(run.result.pageCount >= 2);
        const PageGeometry geometry = GeometryOf(input);
        const DeviceFrame& V = geometry.V;
        const int firstOfPage2 = int(run.index.PageKeys.indexOf(QRegularExpression("^0002.*")));
        QVERIFY(firstOfPage2 > 0);
        QCOMPARE(run.index.PageKeys[firstOfPage2], PageIndex::PageKey(2, V.margins[1].top + V.topOffset));
        QCOMPARE(run.index.PageKeys[0], PageIndex::PageKey(1, V.margins[0].top + V.topOffset));
        QVERIFY(V.margins[0].left != V.margins[1].left);
        const QRect ink1 = InkBounds(ReadPage(work_.path(), 1));
        const QRect ink2 = InkBounds(ReadPage(work_.path(), 2));
        QCOMPARE(ink1.left(), V.margins[0].left + V.leftOffset);
        QCOMPARE(ink2.left(), V.margins[1].left + V.leftOffset);
        QCOMPARE(ink1.top(), ink2.top());
        QCOMPARE(run.result.initialScrollX, std::min(V.margins[0].left, V.margins[1].left));
    }

    // A block whose sample lines fit the text area but that, with its
    // heading, can never fit an empty page is skipped once, not retried.
    void aBlockThatNeverFitsAnEmptyPageIsSkipped()
    {
        const FontEntry sans = RowFor(kDejaVuSans, "DejaVu Sans", "DejaVu Sans");
        SampleInput input = Input({ sans, sans });
        input.environment.lineShown = { false, false, true, false };
        QFile file(kDejaVuSans);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QRawFont raw(file.readAll(), 12);
        const int lines = PageFont::Own(raw, PixelSizeOfPoints(CanvasPoints(30, 300, 96), 96)).Height();
        bool found = false;
        for (int bottom = 0; bottom < 3000 && !found; ++bottom) {
            input.margins = { 350, 250, 130, bottom };
            const int height = GeometryOf(input).P.textHeight;
            found = height >= lines && height < lines + 20;
        }
        QVERIFY(found);
        const RunOutcome run = Run(input);
        QCOMPARE(run.index.Count(), 0);
        QCOMPARE(run.result.pageCount, 1);
        QCOMPARE(run.log.count(u"[警告] DejaVu Sans(DejaVuSans.ttf)が用紙サイズ内に収まりませんでした．この書体は見本出力しません．"), 2);
    }

    void stopInTheFirstRow()
    {
        const FontEntry sans = RowFor(kDejaVuSans, "DejaVu Sans", "DejaVu Sans");
        const RunOutcome run = Run(Input({ sans, sans, sans }), 1);
        QVERIFY(run.result.stopped);
        QCOMPARE(run.index.Count(), 1);
        QCOMPARE(run.result.pageCount, 1);
        QCOMPARE(run.log.last(), QStringLiteral("[中断] 書体見本の作成が中止されました．"));
        QVERIFY(!InkBounds(ReadPage(work_.path(), 1)).isEmpty());
    }

    void anotherRunHoldsTheLock()
    {
        RunLock other;
        QVERIFY(other.TryAcquire());
        const RunOutcome run = Run(Input({ RowFor(kDejaVuSans, "DejaVu Sans", "DejaVu Sans") }));
        QVERIFY(run.result.busy);
        QCOMPARE(run.log, QStringList { QStringLiteral("[中断] 他のTyposcanが実行中です．本Typoscanの実行を中止しました．") });
        QCOMPARE(run.result.pageCount, 0);
        QVERIFY(QDir(work_.path()).entryList(QDir::Files).isEmpty());
        other.Release();
        QVERIFY(!Run(Input({})).result.busy);
    }

    // Extracted from the archive, then from the Macintosh file; both
    // temporary files are gone afterwards.
    void aMacintoshFontInsideAnArchive()
    {
        MacBinarySpec mac;
        mac.font = RenamedFont(kDejaVuSerif, QStringLiteral("Tz Mac"), QStringLiteral("Tz Mac"));
        const QString zip = GeneratedZip(files_.path(), "mac.zip", { { "MACFONT.TTF", BuildMacBinary(mac) } });
        const FontEntry row = RowFor(zip, "Tz Mac", "Tz Mac", kKindMac, "MACFONT.TTF");
        const RunOutcome run = Run(Input({ row }));
        QCOMPARE(run.index.Count(), 1);
        QCOMPARE(run.index.BlockKinds, QStringList { "2" });
        QVERIFY(run.log.isEmpty());
        QCOMPARE(QDir(work_.path()).entryList(QDir::Files), QStringList { "0001.tzg" });
    }

    void unusableRowsAreLoggedAndSkipped()
    {
        const QString broken = File("broken.ttf");
        QVERIFY(WriteBytes(broken, "not a font at all"));
        const QString zip = GeneratedZip(files_.path(), "fonts.zip", { { "OTHER.TTF", "x" } });
        const FontEntry sans = RowFor(kDejaVuSans, "DejaVu Sans", "DejaVu Sans");
        const RunOutcome run = Run(Input({ RowFor(broken, "Broken", "Broken"), RowFor(zip, "Gone", "Gone", 0, "GONE.TTF"),
            RowFor(File("missing.ttf"), "Missing", "Missing"), sans }));
        QCOMPARE(run.index.BlockFaces, QStringList { "DejaVu Sans" });
        QVERIFY(run.log.contains(QStringLiteral("[ｴﾗｰ] Broken(broken.ttf)が利用できませんでした．")));
        QVERIFY(run.log.contains(QStringLiteral("[ｴﾗｰ] Gone(fonts.zip)が利用できませんでした．")));
        // A file that is gone shows as stored.
        QVERIFY(run.log.contains(QStringLiteral("[ｴﾗｰ] Missing(MISSING.TTF)が利用できませんでした．")));
    }

    // The pages, the index and the log are the same whether one thread or
    // several draw and store the pages: Latin, Japanese and symbol faces,
    // installed or not, from an archive and from Macintosh files, an
    // unusable row, with smoothing on and off, over several pages.
    void theWorkersChangeNothing()
    {
        MacBinarySpec mac;
        mac.font = RenamedFont(kDejaVuSerif, QStringLiteral("Tz Mac"), QStringLiteral("Tz Mac"));
        const QString macFile = File("mac.bin");
        QVERIFY(WriteBytes(macFile, BuildMacBinary(mac)));
        const QString zip = GeneratedZip(files_.path(), "mixed.zip",
            { { "ZIPPED.TTF", RenamedFont(kDejaVuSans, QStringLiteral("Tz Zipped"), QStringLiteral("Tz Zipped")) },
                { "MACFONT.TTF", BuildMacBinary(mac) } });
        const QList<FontEntry> rows {
            RowFor(kDejaVuSans, "DejaVu Sans", "DejaVu Sans"),
            RowFor(kIpaPGothic, "IPA Pゴシック", "IPAPGothic"),
            RowFor(NotInstalled("serif-twin.ttf", kDejaVuSerif, kTwin), kTwin, kTwin),
            RowFor(NotInstalled("nostyle.ttf", kDejaVuSans, QStringLiteral("Tz Lonely")), "Tz Lonely", "Tz Nobody"),
            RowFor(zip, "Tz Zipped", "Tz Zipped", 0, "ZIPPED.TTF"),
            RowFor(zip, "Tz Mac", "Tz Mac", kKindMac, "MACFONT.TTF"),
            RowFor(macFile, "Tz Mac", "Tz Mac", kKindMac),
            RowFor(File("missing.ttf"), "Missing", "Missing"),
        };
        SampleInput input = Input(rows + rows + rows);
        input.environment.sjisAlsoAscii = true;
        struct Sheets {
            RunOutcome run;
            QList<QByteArray> pages;
        };
        auto sheets = [&](int workers, bool smooth) {
            input.workers = workers;
            input.environment.smoothPreview = smooth;
            Sheets made { Run(input), {} };
            for (int n = 1; n <= made.run.result.pageCount; ++n) {
                QFile page(PageFilePath(work_.path(), n));
                made.pages.append(page.open(QIODevice::ReadOnly) ? page.readAll() : QByteArray());
            }
            return made;
        };
        for (const bool smooth : { false, true }) {
            const Sheets one = sheets(1, smooth);
            const Sheets three = sheets(3, smooth);
            QVERIFY(one.run.result.pageCount >= 2);
            QCOMPARE(one.run.index.Count(), 3 * 7);
            QVERIFY(!one.pages.contains(QByteArray()));
            QCOMPARE(three.pages, one.pages);
            QCOMPARE(three.run.index.PageKeys, one.run.index.PageKeys);
            QCOMPARE(three.run.index.BlockFaces, one.run.index.BlockFaces);
            QCOMPARE(three.run.index.BlockKinds, one.run.index.BlockKinds);
            QCOMPARE(three.run.log, one.run.log);
            QCOMPARE(three.run.result.pageCount, one.run.result.pageCount);
        }
    }

    void smoothPagesAreStoredGrey()
    {
        SampleInput input = Input({ RowFor(kDejaVuSans, "DejaVu Sans", "DejaVu Sans") });
        input.environment.smoothPreview = true;
        const RunOutcome run = Run(input);
        QVERIFY(run.result.smooth);
        const QImage page = ReadPage(work_.path(), 1);
        QCOMPARE(page.format(), QImage::Format_Indexed8);
        QCOMPARE(page.colorCount(), 256);
        QCOMPARE(page.color(200), qRgb(200, 200, 200));
        // Antialiased edges give shades between black and white.
        QSet<int> shades;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                shades.insert(page.pixelIndex(x, y));
        QVERIFY(shades.size() > 10);
        QImage rgb(1, 1, QImage::Format_RGB888);
        rgb.setPixel(0, 0, qRgb(255, 255, 255));
        QCOMPARE(GreyConvert(rgb).pixelIndex(0, 0), 255);
        rgb.setPixel(0, 0, qRgb(0, 0, 255));
        QCOMPARE(GreyConvert(rgb).pixelIndex(0, 0), (255 * 118) >> 10);
    }
};

int main(int argc, char** argv)
{
    // The installed fonts are those of a folder of the test's own, one of
    // them carrying the names of a font the rows use from elsewhere.
    QTemporaryDir root;
    const QString twin = root.filePath(QStringLiteral("sans-twin.ttf"));
    WriteBytes(twin, RenamedFont(kDejaVuSans, kTwin, kTwin));
    const PrivateFonts fonts = UsePrivateFonts(root.filePath(QStringLiteral("fc")), { kDejaVuSans, kIpaPGothic, twin });
    QGuiApplication app(argc, argv);
    TestSampleRun test(fonts.fontFolder);
    return QTest::qExec(&test, argc, argv);
}

#include "test_samplerun.moc"
