// Names every file of a list with AnalyseFontFile and prints the elapsed
// milliseconds and the number of faces found.
#include "fontfile/FontFileReader.h"
#include "platform/WorkFolder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStringList>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_names LIST\n");
        return 2;
    }
    QFile list(QFile::decodeName(argv[1]));
    if (!list.open(QIODevice::ReadOnly))
        return 1;
    QStringList paths;
    while (!list.atEnd())
        paths.append(QFile::decodeName(list.readLine().chopped(1)));

    const tz::WorkFolder workFolder;
    QElapsedTimer timer;
    timer.start();
    qsizetype faces = 0;
    for (const QString& path : paths)
        faces += tz::AnalyseFontFile(path, workFolder.Path()).FaceNames.size();
    std::printf("%.1f %lld\n", double(timer.nsecsElapsed()) / 1e6, static_cast<long long>(faces));
    return 0;
}
