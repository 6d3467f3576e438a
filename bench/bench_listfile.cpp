// List file timings at 100,000 rows: writing and reading through the list file
// code, and through the main window's commands (offscreen), where opening
// includes showing the rows. Writes the list it timed to the path given as
// argument 1, for the tzind timing of listfile.sh. Prints medians of runs.
#include "app/MainWindow.h"
#include "fontlist/FontList.h"
#include "fontlist/FontListView.h"
#include "fontlist/ListFile.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace tz;

namespace {

constexpr int kRows = 100000;
constexpr int kRuns = 5;

void Fill(FontList& list)
{
    FontListUpdate update(list);
    for (int i = 0; i < kRows; ++i) {
        const bool archived = i % 3 == 0;
        list.AddEntry(QStringLiteral("Face Name Number %1 Bold Italic").arg(i), QStringLiteral("Family %1").arg(i / 4),
            QStringLiteral("/home/user/fonts/collection/vendor/family%1/%2")
                .arg(i / 4)
                .arg(archived ? "fonts.zip" : "face.ttf"),
            archived ? QStringLiteral("sub/face%1.ttf").arg(i) : QString(), QString::number(100000 + i), i % 4);
    }
}

double MedianMs(
    const std::function<void()>& work, const std::function<void()>& prepare = [] {})
{
    std::vector<double> times;
    for (int run = 0; run < kRuns; ++run) {
        prepare();
        QElapsedTimer clock;
        clock.start();
        work();
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = argc > 1 ? QString::fromLocal8Bit(argv[1]) : dir.filePath(QStringLiteral("bench.tzl"));

    FontList source;
    Fill(source);
    const double write = MedianMs([&] { WriteListFile(source, path); });
    const double size = double(QFileInfo(path).size()) / 1e6;
    const double read = MedianMs([&] {
        FontList list;
        ReadListFile(list, path, {});
    });

    MainWindow window(false);
    window.show();
    QCoreApplication::processEvents();
    const double open = MedianMs(
        [&] {
            window.OpenListFile(path);
            QCoreApplication::processEvents(); // lay out and paint the rows
            window.View().viewport()->repaint();
        },
        [&] { window.Document().SetModified(false); });
    const double save = MedianMs([&] { window.fmnSaveClick(); }, [&] { window.Document().SetModified(true); });
    window.Document().SetModified(false);

    std::printf("rows %d, file %.1f MB, median of %d runs\n", window.List().Count(), size, kRuns);
    std::printf("  write (WriteListFile)          %8.1f ms  (limit 500 ms, %.2fx of it)\n", write, write / 500);
    std::printf("  read (ReadListFile)            %8.1f ms\n", read);
    std::printf("  open and show (OpenListFile)   %8.1f ms  (limit 1000 ms, %.2fx of it)\n", open, open / 1000);
    std::printf("  save (fmnSaveClick)            %8.1f ms  (limit 500 ms, %.2fx of it)\n", save, save / 500);
    return 0;
}
