// Viewer figures: changing the page of a 96-dpi A4 run (decompress, load,
// show), a jump from a face list of 20,000 faces, and opening that list.
// Medians of several runs, in milliseconds, each including the repaint.
#include "sample/PageStore.h"
#include "viewer/SampleViewer.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QPainter>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>

using namespace tz;

namespace {

constexpr int kPages = 40;
constexpr int kFaces = 20000;
constexpr int kRuns = 21;

// A 96-dpi A4 page with a few lines of text on it, stored as the run stores it.
void StorePages(const QString& folder)
{
    QImage page(794, 1123, QImage::Format_Mono);
    page.setColorTable({ qRgb(255, 255, 255), qRgb(0, 0, 0) });
    for (int n = 1; n <= kPages; ++n) {
        page.fill(0);
        QPainter painter(&page);
        for (int y = 60; y < 1080; y += 40)
            painter.drawText(60, y, QStringLiteral("Sample page %1 ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghij").arg(n));
        painter.end();
        const QString bitmap = PageBitmapPath(folder, n);
        page.save(bitmap, "BMP");
        CompressFile(bitmap, PageFilePath(folder, n));
        QFile::remove(bitmap);
    }
}

double Milliseconds(const std::function<void()>& run)
{
    QElapsedTimer clock;
    clock.start();
    run();
    QCoreApplication::processEvents();
    return double(clock.nsecsElapsed()) / 1e6;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTemporaryDir work;
    StorePages(work.path());
    SampleViewer viewer;
    SampleInput input;
    input.workFolder = work.path();
    viewer.Sheets().Reset(std::move(input));
    for (int i = 0; i < kFaces; ++i) {
        viewer.Sheets().Index().Append(
            PageIndex::PageKey(1 + i % kPages, (i * 37) % 1000), QStringLiteral("Face %1").arg(i), 0);
    }
    SampleResult result;
    result.pageCount = kPages;
    viewer.Sheets().Adopt(result);
    viewer.ShowRun();
    QCoreApplication::processEvents();

    std::vector<double> changes;
    for (int i = 0; i < kRuns; ++i)
        changes.push_back(Milliseconds([&] { viewer.ShowPage(1 + (i + 1) % kPages, 0); }));
    auto* combo = viewer.findChild<QComboBox*>(QStringLiteral("cmbFontNames"));
    std::vector<double> jumps;
    for (int i = 0; i < kRuns; ++i) {
        const int item = (i * 7919 + 5) % kFaces;
        jumps.push_back(Milliseconds([&] {
            combo->setCurrentIndex(item);
            emit combo->activated(item);
        }));
    }
    std::vector<double> opens;
    for (int i = 0; i < 5; ++i) {
        opens.push_back(Milliseconds([&] { combo->showPopup(); }));
        combo->hidePopup();
        QCoreApplication::processEvents();
    }
    std::printf("page change (96 dpi A4), median ms: %.2f\n", Median(changes));
    std::printf("face list jump (%d faces), median ms: %.2f\n", kFaces, Median(jumps));
    std::printf("face list open (%d faces), median ms: %.2f\n", kFaces, Median(opens));
    return 0;
}
