// Vector catalogs: a run over real installed fonts written as PDF, read back
// with poppler's tools: page count and sheet size against the preview run of
// the same list, embedded fonts, the face names as extractable text, and a
// single page on its own.
#include "TestSupport.h"
#include "sample/SampleSheets.h"
#include "viewer/PdfCatalog.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace tz;
using namespace tz::test;

namespace {

const QString kDejaVu = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
const QString kDejaVuSerif = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf");

FontEntry Row(const QString& face, const QString& family, const QString& path)
{
    FontEntry entry;
    entry.FaceName = face;
    entry.FamilyName = family;
    entry.FilePath = path;
    entry.Size = QString::number(QFileInfo(path).size());
    return entry;
}

SampleInput Input(int rowCount)
{
    SampleInput input;
    input.margins = { 200, 200, 200, 200 };
    for (int i = 0; i < rowCount; ++i)
        input.rows.append(
            i % 2 ? Row("DejaVu Serif", "DejaVu Serif", kDejaVuSerif) : Row("DejaVu Sans", "DejaVu Sans", kDejaVu));
    return input;
}

QString Poppler(const QString& tool, const QStringList& arguments)
{
    const ProcessResult result = RunProcess(tool, arguments);
    return QString::fromUtf8(result.out);
}

int PageCountOf(const QString& pdf)
{
    const QRegularExpressionMatch match
        = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(Poppler("pdfinfo", { pdf }));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

} // namespace

class TestPdfCatalog : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void catalogFollowsPreview();
    void onePage();
    void unwritableFolder();
    void sampleCommand();
    void restrictedFaceLogged();
};

void TestPdfCatalog::initTestCase()
{
    if (!QFileInfo::exists(kDejaVu) || !QFileInfo::exists(kDejaVuSerif))
        QSKIP("the DejaVu fonts are not installed");
    if (RunProcess("pdfinfo", { "-v" }).exitCode < 0)
        QSKIP("poppler-utils are not installed");
}

void TestPdfCatalog::catalogFollowsPreview()
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("catalog.pdf");
    SampleSheets catalog(Input(14));
    RunObserver observer;
    QString error;
    QVERIFY2(WritePdfCatalog(catalog, pdf, 0, observer, &error), qPrintable(error));
    QVERIFY(!catalog.Log().Contains(LogEvent::NotEmbedded));
    QVERIFY(catalog.Input().vectorPages == nullptr);

    // The preview run of the same list.
    SampleSheets preview(Input(14));
    QTemporaryDir work;
    preview.Input().workFolder = work.path();
    const SampleResult result = preview.Generate(observer);
    QCOMPARE(catalog.Index().PageKeys, preview.Index().PageKeys);
    QVERIFY(result.pageCount >= 2);
    QCOMPARE(PageCountOf(pdf), result.pageCount);

    const QString info = Poppler("pdfinfo", { pdf });
    QVERIFY2(info.contains(QRegularExpression("Page size:\\s+595(\\.\\d+)? x 84[12](\\.\\d+)? pts")), qPrintable(info));
    QVERIFY(info.contains(QRegularExpression("Title:\\s+Typoscan Zindel")));
    QVERIFY(info.contains(QRegularExpression("Creator:\\s+Typoscan Zindel")));

    const QString fonts = Poppler("pdffonts", { pdf });
    QVERIFY2(fonts.contains("DejaVuSans") && fonts.contains("DejaVuSerif"), qPrintable(fonts));
    for (const QString& line : fonts.split('\n').mid(2)) {
        if (!line.trimmed().isEmpty())
            QVERIFY2(line.contains(QRegularExpression("\\s+yes\\s+(yes|no)\\s+yes\\s+")),
                qPrintable(line)); // embedded, with a Unicode map
    }
    const QString text = Poppler("pdftotext", { pdf, "-" });
    QVERIFY(text.contains("DejaVu Sans"));
    QVERIFY(text.contains("DejaVu Serif"));
    QCOMPARE(text.count("DejaVu Serif / DejaVu Serif"), 7);
    // The sample lines are text in their own faces too.
    QVERIFY(text.count("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789") >= 14);
}

void TestPdfCatalog::onePage()
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("page.pdf");
    SampleSheets sheets(Input(14));
    RunObserver observer;
    QVERIFY(WritePdfCatalog(sheets, pdf, 2, observer, nullptr));
    QCOMPARE(PageCountOf(pdf), 1);
    QVERIFY(Poppler("pdftotext", { pdf, "-" }).contains("DejaVu"));
}

void TestPdfCatalog::unwritableFolder()
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("missing/catalog.pdf");
    SampleSheets sheets(Input(1));
    RunObserver observer;
    QString error;
    QVERIFY(!WritePdfCatalog(sheets, pdf, 0, observer, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(!QFileInfo::exists(pdf));
}

void TestPdfCatalog::sampleCommand()
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("catalog.pdf");
    ProcessResult result = RunProcess(BinPath("tzind"), { "sample", "--no-printer", "-o", pdf, kDejaVu, kDejaVuSerif });
    QCOMPARE(result.exitCode, 0);
    // Faces the font database opened leave no file for the run to open.
    QVERIFY2(!result.err.contains("QFSFileEngine"), result.err.constData());
    QCOMPARE(PageCountOf(pdf), 1);
    QVERIFY(Poppler("pdftotext", { pdf, "-" }).contains("DejaVu Serif"));
    QVERIFY(!QFileInfo::exists(dir.filePath("catalog.pdf/log.txt")));

    // The PNG pages come from the PNG writer: 1-bit grey.
    result = RunProcess(BinPath("tzind"), { "sample", "--no-printer", "-o", dir.filePath("pages"), kDejaVu });
    QCOMPARE(result.exitCode, 0);
    QFile png(dir.filePath("pages/tzsm0001.png"));
    QVERIFY(png.open(QIODevice::ReadOnly));
    const QByteArray header = png.read(26);
    QCOMPARE(int(header.at(24)), 1); // bit depth
    QCOMPARE(int(header.at(25)), 0); // grey
}

void TestPdfCatalog::restrictedFaceLogged()
{
    // A copy of DejaVu Sans whose licence bits forbid embedding (fsType 2).
    QTemporaryDir dir;
    QFile source(kDejaVu);
    QVERIFY(source.open(QIODevice::ReadOnly));
    QByteArray font = source.readAll();
    auto u16 = [&font](int at) { return (quint8(font[at]) << 8) | quint8(font[at + 1]); };
    auto u32 = [&](int at) { return (u16(at) << 16) | u16(at + 2); };
    int os2 = -1;
    for (int i = 0; i < u16(4); ++i) {
        if (font.mid(12 + 16 * i, 4) == "OS/2")
            os2 = u32(12 + 16 * i + 8);
    }
    QVERIFY(os2 > 0);
    font[os2 + 8] = 0;
    font[os2 + 9] = 2;
    const QString restricted = dir.filePath("restricted.ttf");
    QFile out(restricted);
    QVERIFY(out.open(QIODevice::WriteOnly) && out.write(font) == font.size());
    out.close();

    SampleInput input = Input(1);
    input.rows.append(Row("DejaVu Sans", "DejaVu Sans", restricted));
    SampleSheets sheets(input);
    RunObserver observer;
    QVERIFY(WritePdfCatalog(sheets, dir.filePath("catalog.pdf"), 0, observer, nullptr));
    const GenerationLog& log = sheets.Log();
    QCOMPARE(log.Lines().filter("restricted.ttf", Qt::CaseInsensitive).size(), 1);
    QVERIFY(log.Contains(LogEvent::NotEmbedded));
    QCOMPARE(log.Lines().filter("DejaVuSans.ttf", Qt::CaseInsensitive).filter("PDF").size(), 0);
}

QTEST_MAIN(TestPdfCatalog)
#include "test_pdf_catalog.moc"
