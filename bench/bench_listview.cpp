// List view figures with 100,000 rows: sorting by face name, path and size,
// finding the last row from the top, deleting 50,000 selected rows, showing
// the paths of rows stored upper-cased as the disk has them. Each
// figure is the median of several runs, in seconds, including the view's
// update after the change.
#include "fontlist/FindDialog.h"
#include "fontlist/FontList.h"
#include "fontlist/FontListView.h"
#include "fontlist/FontSort.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRandomGenerator>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <numeric>

using namespace tz;

namespace {

constexpr int kRows = 100000;
constexpr int kRuns = 5;

void FillList(FontList& list, QRandomGenerator& random)
{
    FontListUpdate update(list);
    for (int i = 0; i < kRows; ++i) {
        const bool japanese = i % 4 == 0;
        const QString face = japanese ? QStringLiteral("ゴシック体 %1 標準").arg(random.bounded(kRows))
                                      : QStringLiteral("Font Family %1 Regular").arg(random.bounded(kRows));
        const QString family = face.section(u' ', 0, 1);
        const QString path = QStringLiteral("/usr/share/fonts/truetype/dir%1/font%2.ttf")
                                 .arg(random.bounded(300))
                                 .arg(random.bounded(kRows));
        const QString member = i % 3 == 0 ? QStringLiteral("member%1.ttf").arg(i) : QString();
        list.AddEntry(face, family, path, member, QString::number(random.bounded(20000000)), 0);
    }
    list.DeselectAll();
}

void Shuffle(FontList& list, QRandomGenerator& random)
{
    std::vector<int> order(size_t(list.Count()));
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), random);
    list.Reorder(order);
    QCoreApplication::processEvents();
}

double Seconds(const std::function<void()>& run)
{
    QElapsedTimer clock;
    clock.start();
    run();
    QCoreApplication::processEvents();
    return double(clock.nsecsElapsed()) / 1e9;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Report(const char* what, const std::vector<double>& runs, double target)
{
    const double median = Median(runs);
    std::printf("%-34s median %.3f s  (target %.1f s, %.2f of target)%s\n", what, median, target, median / target,
        median <= target ? "" : "  OVER TARGET");
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QRandomGenerator random(20240607);
    FontList list;
    FontListView view(list);
    view.resize(640, 480);
    view.show();
    FillList(list, random);
    QCoreApplication::processEvents();
    std::printf("%d rows, %d runs each, collation of locale %s\n", list.Count(), kRuns, qPrintable(QLocale().name()));

    const struct {
        const char* what;
        int column;
    } sorts[] = { { "sort by face name", 1 }, { "sort by path", 3 }, { "sort by size", 5 } };
    for (const auto& sort : sorts) {
        std::vector<double> runs;
        for (int run = 0; run < kRuns; ++run) {
            Shuffle(list, random);
            list.SetSelected(random.bounded(kRows), true);
            list.SortKey = -1;
            runs.push_back(Seconds([&] {
                SortFontList(list, sort.column);
                view.MakeVisible(list.FirstSelected());
            }));
            list.DeselectAll();
        }
        Report(sort.what, runs, 0.5);
    }

    {
        // Only the last row carries the text searched for.
        list.AddEntry(QStringLiteral("The Needle Face"), {}, QStringLiteral("/n.ttf"), {}, QStringLiteral("1"), 0);
        const int last = list.Count() - 1;
        FindDialog dialog(view);
        QLineEdit* edit = dialog.findChild<QLineEdit*>(QStringLiteral("Edit1"));
        std::vector<double> runs;
        for (int run = 0; run < kRuns; ++run) {
            list.DeselectAll();
            edit->clear();
            edit->setText(QStringLiteral("needle")); // a new text starts at the top
            runs.push_back(Seconds([&] { dialog.Button1Click(); }));
            if (list.FirstSelected() != last)
                std::printf("find did not reach the last row\n");
        }
        list.DeleteSelected();
        Report("find from the top to the last row", runs, 0.1);
    }

    {
        std::vector<double> runs;
        for (int run = 0; run < kRuns; ++run) {
            while (list.Count() < kRows) {
                FontListUpdate update(list);
                for (int i = list.Count(); i < kRows; ++i)
                    list.InsertCopy(FontList::kNone, i % list.Count());
            }
            {
                FontListUpdate update(list);
                for (int row = 0; row < list.Count(); row += 2)
                    list.SetSelected(row, true);
            }
            QCoreApplication::processEvents();
            runs.push_back(Seconds([&] { list.DeleteSelected(); }));
            if (list.Count() != kRows / 2)
                std::printf("delete left %d rows\n", list.Count());
        }
        Report("delete 50,000 selected rows", runs, 0.5);
    }

    {
        // Rows of real files in 300 folders, stored upper-cased: every path
        // shown is looked up on disk, each folder once.
        QTemporaryDir tree;
        list.Clear();
        {
            FontListUpdate update(list);
            for (int i = 0; i < kRows; ++i) {
                const QString folder = tree.filePath(QStringLiteral("Vendor%1").arg(i % 300));
                if (i < 300)
                    QDir().mkpath(folder);
                const QString path = folder + QStringLiteral("/Face-%1.ttf").arg(i);
                QFile(path).open(QIODevice::WriteOnly);
                list.AddEntry(QStringLiteral("Face %1").arg(i), QStringLiteral("Family"), path, {}, QStringLiteral("1"), 0);
            }
        }
        QCoreApplication::processEvents();
        std::vector<double> all, page;
        for (int run = 0; run < kRuns; ++run) {
            list.ForgetShownPaths();
            all.push_back(Seconds([&] {
                for (int row = 0; row < list.Count(); ++row)
                    list.data(list.index(row, FontList::kColPath), Qt::DisplayRole);
            }));
            list.ForgetShownPaths();
            page.push_back(Seconds([&] { view.viewport()->repaint(); }));
        }
        Report("show every path of 100,000 rows", all, 1.0);
        Report("paint a page after looking again", page, 0.1);
    }
    return 0;
}
