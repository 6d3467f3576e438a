// The page geometry: printer figures, the preview derived by scaling, the
// margin sets of odd and even pages and the text area.
#include "TestSupport.h"
#include "page/PageGeometry.h"
#include "viewer/QtPrinters.h"

#include <QPrinterInfo>
#include <QtTest>

using namespace tz;

namespace {

// The fallback sheet for the orientation with a preview frame at the screen resolution.
PageGeometry FallbackGeometry(int orientation, int screenDpi = 96)
{
    PageGeometry g;
    ReadPrinterMetrics(g, std::nullopt, orientation);
    DerivePreviewMetrics(g, screenDpi, screenDpi);
    return g;
}

struct Figures {
    int paperWidth, paperHeight, printableWidth, printableHeight, leftOffset, topOffset, rightEdge, bottomEdge;
};

Figures FiguresOf(const DeviceFrame& f)
{
    return { f.paperWidth, f.paperHeight, f.textWidth, f.textHeight, f.leftOffset, f.topOffset, f.rightEdge,
        f.bottomEdge };
}

void CompareFigures(const Figures& actual, const Figures& expected)
{
    QCOMPARE(actual.paperWidth, expected.paperWidth);
    QCOMPARE(actual.paperHeight, expected.paperHeight);
    QCOMPARE(actual.printableWidth, expected.printableWidth);
    QCOMPARE(actual.printableHeight, expected.printableHeight);
    QCOMPARE(actual.leftOffset, expected.leftOffset);
    QCOMPARE(actual.topOffset, expected.topOffset);
    QCOMPARE(actual.rightEdge, expected.rightEdge);
    QCOMPARE(actual.bottomEdge, expected.bottomEdge);
}

} // namespace

Q_DECLARE_METATYPE(Figures)
Q_DECLARE_METATYPE(MarginSet)

class PageGeometryTest : public QObject {
    Q_OBJECT
private slots:
    void fallbackFrames_data()
    {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<Figures>("printer");
        QTest::addColumn<Figures>("preview");
        QTest::newRow("portrait") << kPortrait << Figures { 2481, 3507, 2338, 3372, 78, 75, 65, 60 }
                                  << Figures { 793, 1122, 748, 1079, 24, 24, 21, 19 };
        QTest::newRow("landscape") << kLandscape << Figures { 3507, 2481, 3372, 2338, 75, 65, 60, 78 }
                                   << Figures { 1122, 793, 1079, 748, 24, 20, 19, 25 };
    }
    void fallbackFrames()
    {
        QFETCH(int, orientation);
        QFETCH(Figures, printer);
        QFETCH(Figures, preview);
        const PageGeometry g = FallbackGeometry(orientation);
        QCOMPARE(g.P.resolutionX, 300);
        QCOMPARE(g.P.resolutionY, 300);
        QCOMPARE(g.V.resolutionX, 96);
        CompareFigures(FiguresOf(g.P), printer);
        CompareFigures(FiguresOf(g.V), preview);
    }

    void printerWithoutUsableFiguresFallsBack()
    {
        PageGeometry g;
        ReadPrinterMetrics(g, PrinterMetrics { 0, 0, 0, 0, 0, 0, 0, 0 }, kLandscape);
        QCOMPARE(g.P.paperWidth, 3507);
        DerivePreviewMetrics(g, 0, 0); // no resolution: the preview stays empty
        QCOMPARE(g.V.paperWidth, 0);
    }

    void printerFiguresAndEdges()
    {
        PageGeometry g;
        ReadPrinterMetrics(g, PrinterMetrics { 600, 1200, 4960, 14030, 4800, 13800, 100, 130 }, kLandscape);
        QCOMPARE(g.P.resolutionX, 600);
        QCOMPARE(g.P.resolutionY, 1200);
        QCOMPARE(g.P.rightEdge, 4960 - 100 - 4800);
        QCOMPARE(g.P.bottomEdge, 14030 - 130 - 13800);
        DerivePreviewMetrics(g, 96, 96);
        QCOMPARE(g.V.paperWidth, 793); // 4960 × 96 ÷ 600 = 793.6
        QCOMPARE(g.V.paperHeight, 1122); // 14030 × 96 ÷ 1200 = 1122.4
        QCOMPARE(g.V.topOffset, 10); // 130 × 96 ÷ 1200 = 10.4
    }

    // Portrait fallback, left 3.5, top 2.5, right 1.3, bottom 3.5 cm.
    void marginSets_data()
    {
        QTest::addColumn<int>("binding");
        QTest::addColumn<QList<int>>("margins");
        QTest::addColumn<MarginSet>("odd");
        QTest::addColumn<MarginSet>("even");
        QTest::addColumn<MarginSet>("previewOdd");
        const MarginSet odd { 335, 220, 88, 353 };
        const MarginSet previewOdd { 108, 70, 28, 113 };
        const QList<int> usual { 350, 250, 130, 350 };
        QTest::newRow("none: both sets equal") << kBindNone << usual << odd << odd << previewOdd;
        QTest::newRow("top: gutter moves to the bottom of even pages")
            << kBindTop << usual << odd << MarginSet { 335, 338, 88, 235 } << previewOdd;
        QTest::newRow("left: gutter moves to the right of even pages")
            << kBindLeft << usual << odd << MarginSet { 75, 220, 348, 353 } << previewOdd;
        QTest::newRow("0 cm is clamped to the printable edge")
            << kBindLeft << QList<int> { 0, 0, 0, 0 } << MarginSet {} << MarginSet {} << MarginSet {};
        QTest::newRow("margins below the border are clamped, the rest kept")
            << kBindNone << QList<int> { 50, 500, 0, 1000 } << MarginSet { 0, 515, 0, 1121 } << MarginSet { 0, 515, 0, 1121 }
            << MarginSet { 0, 164, 0, 358 };
    }
    void marginSets()
    {
        QFETCH(int, binding);
        QFETCH(QList<int>, margins);
        QFETCH(MarginSet, odd);
        QFETCH(MarginSet, even);
        QFETCH(MarginSet, previewOdd);
        PageGeometry g = FallbackGeometry(kPortrait);
        ApplyMargins(g, binding, margins[0], margins[1], margins[2], margins[3]);
        QCOMPARE(g.P.margins[0], odd);
        QCOMPARE(g.P.margins[1], even);
        QCOMPARE(g.V.margins[0], previewOdd);
    }

    void topBindingPutsTheLargerSpaceOppositeOnEvenPages()
    {
        PageGeometry g = FallbackGeometry(kPortrait);
        ApplyMargins(g, kBindTop, 350, 250, 130, 350);
        QVERIFY(g.P.margins[0].bottom > g.P.margins[0].top);
        QVERIFY(g.P.margins[1].top > g.P.margins[1].bottom);
        QVERIFY(g.V.margins[1].top > g.V.margins[1].bottom);
    }

    void textArea()
    {
        PageGeometry g = FallbackGeometry(kPortrait);
        ApplyMargins(g, kBindLeft, 350, 250, 130, 350);
        ShrinkToTextArea(g);
        QCOMPARE(g.P.textWidth, 2338 - (335 + 88));
        QCOMPARE(g.P.textHeight, 3372 - (220 + 353));
        QCOMPARE(g.V.textWidth, 748 - (108 + 28));
        QCOMPARE(g.V.textHeight, 1079 - (70 + 113));
    }

    void marginsWiderThanThePageGiveANegativeTextArea()
    {
        PageGeometry g = FallbackGeometry(kPortrait);
        ApplyMargins(g, kBindNone, 9990, 250, 9990, 350);
        ShrinkToTextArea(g);
        QVERIFY(g.P.textWidth < 0);
    }

    // A PDF printer is a real QPrinter with a known sheet. Qt keeps PDF pages in
    // whole points: A4 is 595 × 842 pt, a 10 mm margin 28 pt, at 300 dpi 117 px.
    void pdfPrinterMetrics_data()
    {
        QTest::addColumn<int>("orientation");
        QTest::addColumn<Figures>("expected");
        QTest::newRow("portrait") << kPortrait << Figures { 2479, 3508, 2245, 3274, 117, 117, 117, 117 };
        QTest::newRow("landscape") << kLandscape << Figures { 3508, 2479, 3274, 2245, 117, 117, 117, 117 };
    }
    void pdfPrinterMetrics()
    {
        QFETCH(int, orientation);
        QFETCH(Figures, expected);
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("page.pdf")));
        printer.setResolution(300);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(orientation == kLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        printer.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        PageGeometry g;
        ReadPrinterMetrics(g, MetricsOf(printer), kPortrait);
        QCOMPARE(g.P.resolutionX, 300);
        CompareFigures(FiguresOf(g.P), expected);
    }

    // Reads a real print queue's capabilities when the print system has one; never prints.
    void cupsQueueMetrics()
    {
        const test::ProcessResult lpstat = test::RunProcess(QStringLiteral("lpstat"), { QStringLiteral("-p") });
        if (lpstat.exitCode != 0 || !lpstat.out.contains("printer"))
            QSKIP("no print queue");
        QtPrinters printers;
        QVERIFY(printers.Installed());
        const auto metrics = printers.CurrentMetrics();
        QVERIFY(metrics);
        QVERIFY(metrics->resolutionX > 0);
        QVERIFY(metrics->paperWidth >= metrics->printableWidth + metrics->leftOffset);
        QVERIFY(!printers.Papers().isEmpty());
    }
};

QTEST_MAIN(PageGeometryTest)
#include "test_page_geometry.moc"
