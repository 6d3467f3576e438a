// Names every file of a list with AnalyseFontFile in the wider formats,
// REPEAT times over, and prints the milliseconds per file and the faces
// found in one pass.
#include "fontfile/FontFileReader.h"
#include "platform/WorkFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include "PathList.h"

#include <QStringList>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_formats LIST REPEAT\n");
        return 2;
    }
    const std::optional<QStringList> read = ReadPathList(argv[1]);
    if (!read)
        return 1;
    const QStringList& paths = *read;
    const int repeat = std::max(1, std::atoi(argv[2]));

    const tz::WorkFolder workFolder;
    QElapsedTimer timer;
    timer.start();
    qsizetype faces = 0;
    for (int r = 0; r < repeat; ++r) {
        for (const QString& path : paths)
            faces += tz::AnalyseFontFile(path, workFolder.Path(), tz::FontFormats::All).FaceNames.size();
    }
    std::printf("%.4f %lld\n", double(timer.nsecsElapsed()) / 1e6 / double(repeat * paths.size()),
        static_cast<long long>(faces / repeat));
    return 0;
}
