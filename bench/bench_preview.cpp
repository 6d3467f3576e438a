// The add dialog's font preview, offscreen: opens a non-native file dialog
// with the preview panel on a folder, checks "プレビュー(&P)" and moves
// through the folder with the Down key. Prints the median milliseconds of a
// key press (the dialog's own work, UpdatePreview and the repaint) for the
// files whose names hold "latin" and for those whose names hold "japanese":
//   bench_preview DIR   "<latin ms> <japanese ms> <files>"
#include "collect/FontPreviewPanel.h"
#include "settings/SampleTextSet.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace tz;

namespace {

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[(values.size() - 1) / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_preview DIR\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const int files = int(QDir(folder).entryList(QDir::Files).size());
    QFileDialog dialog(nullptr, QString(), folder);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    const SampleTextSet texts;
    auto* panel = new FontPreviewPanel(dialog, texts);
    dialog.show();
    auto* list = dialog.findChild<QAbstractItemView*>(
        dialog.viewMode() == QFileDialog::Detail ? QStringLiteral("treeView") : QStringLiteral("listView"));
    QElapsedTimer loading;
    loading.start();
    while (list->model()->rowCount(list->rootIndex()) < files && loading.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    // The model sorts the rows it has read a moment later.
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 500)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    const auto* label = panel->findChild<QLabel*>(QStringLiteral("lblFaceName"));
    panel->findChild<QCheckBox*>(QStringLiteral("chkEnablePreview"))->click();
    list->setFocus();
    list->setCurrentIndex(list->model()->index(0, 0, list->rootIndex()));
    QCoreApplication::processEvents();

    std::vector<double> latin, japanese;
    int named = 0;
    for (int row = 1; row < files; ++row) {
        QElapsedTimer timer;
        timer.start();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier);
        QCoreApplication::sendEvent(list, &press);
        QCoreApplication::sendEvent(list, &release);
        QCoreApplication::processEvents();
        const double ms = timer.nsecsElapsed() / 1e6;
        named += label->text().isEmpty() ? 0 : 1;
        const QString name = list->currentIndex().data().toString();
        if (name.contains(u"latin"))
            latin.push_back(ms);
        else if (name.contains(u"japanese"))
            japanese.push_back(ms);
    }
    std::printf("%.2f %.2f %d\n", Median(latin), Median(japanese), named);
    return 0;
}
