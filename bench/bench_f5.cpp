// The program's print preview (F5) over a list file, run as the main window
// runs it: the progress window, the message loop, the page workers of the
// settings (else every core). Prints the rows, the time, the peak resident
// memory and the longest time the message loop went without handling events;
// with a second argument S, presses Stop S seconds in and prints how long the
// run took to end after that (its progress window gone, before the viewer
// shows the pages). TZ_F5_SHOT names a PNG file for a picture of
// the viewer as the run leaves it.
#include "app/Application.h"
#include "app/MainWindow.h"
#include "platform/FontSubstitutes.h"
#include "sample/GenerationWindow.h"
#include "viewer/SampleViewer.h"

#include <QAbstractButton>
#include <QAction>
#include <QDialog>
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>
#include <sys/resource.h>

using namespace tz;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_f5 LIST [STOP-SECONDS]\n");
        return 2;
    }
    RegisterFontSubstitutes();
    AppWindows windows;
    const std::unique_ptr<MainWindow> main = CreateWindows(windows, false);
    main->LoadList(QString::fromLocal8Bit(argv[1]), false);
    const int rows = main->List().Count();
    main->UpdateCommandStates();

    QElapsedTimer sinceTick;
    qint64 longestStall = 0;
    QTimer tick;
    tick.setInterval(5);
    QElapsedTimer sinceStop;
    qint64 stopMs = -1;
    QObject::connect(&tick, &QTimer::timeout, [&] { longestStall = std::max(longestStall, sinceTick.restart()); });
    QObject::connect(windows.Generation, &QDialog::finished, [&] {
        if (sinceStop.isValid())
            stopMs = sinceStop.elapsed();
    });

    if (argc > 2) {
        QTimer::singleShot(int(std::atof(argv[2]) * 1000), [&] {
            if (auto* stop = windows.Generation->findChild<QAbstractButton*>(QStringLiteral("btnCancel"))) {
                sinceStop.start();
                stop->click();
            }
        });
    }
    QElapsedTimer run;
    run.start();
    sinceTick.start();
    tick.start();
    main->Action(QStringLiteral("fmnPrintPreview"))->trigger();
    const qint64 runMs = run.elapsed();
    tick.stop();

    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("rows %d pages %d ms %lld peak-mb %.0f longest-stall-ms %lld", rows, windows.Viewer->PageCount(),
        static_cast<long long>(runMs), double(usage.ru_maxrss) / 1024, static_cast<long long>(longestStall));
    if (stopMs >= 0)
        std::printf(" stop-ms %lld", static_cast<long long>(stopMs));
    std::printf("\n");
    if (const QString shot = qEnvironmentVariable("TZ_F5_SHOT"); !shot.isEmpty())
        windows.Viewer->grab().save(shot);
    windows.Viewer->close();
    return 0;
}
