// The folder search from the main window, offscreen:
//   bench_collect walk DIR   seconds for the whole walk, and the rows added
//   bench_collect stop DIR   milliseconds from a Stop press to the end of the walk
//   bench_collect addentry   milliseconds per 10,000 AddEntry calls, up to 100,000
#include "app/Application.h"
#include "app/MainWindow.h"
#include "collect/FolderSearchWindow.h"
#include "fontlist/FontList.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

using namespace tz;

namespace {

// Closes the summary message box that ends a search.
void CloseMessageBoxes()
{
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->done(QMessageBox::Ok);
    });
    timer->start(5);
}

int Walk(const QString& folder)
{
    AppWindows windows;
    auto main = CreateWindows(windows, false);
    main->show();
    CloseMessageBoxes();
    main->SearchFolder = folder;
    QElapsedTimer timer;
    timer.start();
    main->StartFolderSearch();
    std::printf("%.3f %d\n", timer.nsecsElapsed() / 1e9, main->List().Count());
    return 0;
}

int Stop(const QString& folder)
{
    AppWindows windows;
    auto main = CreateWindows(windows, false);
    main->show();
    CloseMessageBoxes();
    QElapsedTimer sincePress;
    QTimer::singleShot(30, [&] {
        sincePress.start();
        windows.FolderSearch->findChild<QPushButton*>(QStringLiteral("btnCancel"))->click();
    });
    qint64 latency = -1;
    QObject::connect(windows.FolderSearch, &QDialog::finished, [&] {
        if (sincePress.isValid())
            latency = sincePress.elapsed();
    });
    main->SearchFolder = folder;
    main->StartFolderSearch();
    std::printf("%lld\n", static_cast<long long>(latency));
    return 0;
}

int AddEntries()
{
    FontList list;
    QElapsedTimer timer;
    for (int chunk = 0; chunk < 10; ++chunk) {
        timer.restart();
        for (int i = 0; i < 10000; ++i)
            list.AddEntry(QStringLiteral("Face"), QStringLiteral("Family"), QStringLiteral("/fonts/face.ttf"), QString(),
                QStringLiteral("12345"), 0);
        std::printf("%.2f ", timer.nsecsElapsed() / 1e6);
    }
    std::printf("\n");
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.value(1) == u"walk")
        return Walk(args.value(2));
    if (args.value(1) == u"stop")
        return Stop(args.value(2));
    if (args.value(1) == u"addentry")
        return AddEntries();
    return 2;
}
