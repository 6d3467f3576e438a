// Names every file of a list with AnalyseFontFile and prints the elapsed
// milliseconds and the number of faces found.
#include "fontfile/FontFileReader.h"
#include "platform/WorkFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include "PathList.h"

#include <QStringList>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_names LIST\n");
        return 2;
    }
    const std::optional<QStringList> read = ReadPathList(argv[1]);
    if (!read)
        return 1;
    const QStringList& paths = *read;

    const tz::WorkFolder workFolder;
    QElapsedTimer timer;
    timer.start();
    qsizetype faces = 0;
    for (const QString& path : paths)
        faces += tz::AnalyseFontFile(path, workFolder.Path()).FaceNames.size();
    std::printf("%.1f %lld\n", double(timer.nsecsElapsed()) / 1e6, static_cast<long long>(faces));
    return 0;
}
