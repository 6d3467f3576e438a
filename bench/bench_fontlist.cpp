// Font list timings with the list view attached: 100,000 AddEntry calls in one
// batch, deleting 50,000 scattered selected rows, moving 10,000 selected rows,
// and the memory the rows take. Prints the median of several runs.
#include "fontlist/FontList.h"
#include "fontlist/FontListView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

using namespace tz;

namespace {

constexpr int kRows = 100000;

long ResidentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    }
    return 0;
}

void Fill(FontList& list)
{
    FontListUpdate update(list);
    for (int i = 0; i < kRows; ++i) {
        list.AddEntry(QStringLiteral("Face Name Number %1 Bold Italic").arg(i), QStringLiteral("Family %1").arg(i / 4),
            QStringLiteral("/home/user/fonts/collection/vendor/family%1/face%2.ttf").arg(i / 4).arg(i), QString(),
            QString::number(100000 + i), 0);
    }
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const int runs = 5;
    std::vector<double> add, del, move;
    long memory = 0;
    for (int run = 0; run < runs; ++run) {
        FontList list;
        FontListView view(list);
        view.resize(600, 400);
        view.show();
        QCoreApplication::processEvents();
        const long before = ResidentKiB();
        QElapsedTimer timer;
        timer.start();
        Fill(list);
        QCoreApplication::processEvents();
        add.push_back(timer.nsecsElapsed() / 1e9);
        memory = std::max(memory, ResidentKiB() - before);

        {
            FontListUpdate update(list);
            list.DeselectAll();
            for (int i = 0; i < kRows; i += 10)
                list.SetSelected(i, true);
        }
        QCoreApplication::processEvents();
        timer.restart();
        list.MoveSelectedBefore(kRows / 2);
        QCoreApplication::processEvents();
        move.push_back(timer.nsecsElapsed() / 1e9);

        {
            FontListUpdate update(list);
            list.DeselectAll();
            for (int i = 0; i < kRows; i += 2)
                list.SetSelected(i, true);
        }
        QCoreApplication::processEvents();
        timer.restart();
        list.DeleteSelected();
        QCoreApplication::processEvents();
        del.push_back(timer.nsecsElapsed() / 1e9);
    }
    std::printf("fontlist: median of %d runs, 100,000 rows, view attached\n", runs);
    std::printf("  AddEntry x100000 in one batch  %.3f s  (target < 0.5 s)\n", Median(add));
    std::printf("  delete 50000 scattered rows    %.3f s  (target < 0.5 s)\n", Median(del));
    std::printf("  move 10000 selected rows       %.3f s  (target < 0.5 s)\n", Median(move));
    std::printf("  memory for 100000 rows         %.1f MB (target < 100 MB)\n", memory / 1024.0);
    return 0;
}
