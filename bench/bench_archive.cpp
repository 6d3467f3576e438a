// Times archive listing and extraction through whichever reader the
// environment selects (TYPOSCAN_ARCHIVER_LIBRARY naming a missing library
// leaves ZIP to the built-in reader). Prints the median of the runs in ms.
//   bench_archive list ARCHIVE RUNS
//   bench_archive extract ARCHIVE MEMBER DESTINATION RUNS
#include "archive/Archivettf.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

double MedianMs(int runs, const std::function<bool()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        if (!work()) {
            std::fprintf(stderr, "bench_archive: the operation failed\n");
            std::exit(1);
        }
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4) {
        std::fprintf(stderr, "usage: bench_archive list ARCHIVE RUNS | extract ARCHIVE MEMBER DESTINATION RUNS\n");
        return 2;
    }
    tz::LoadArchiverLibraries();
    const QString archive = args[2];
    double ms = 0;
    if (args[1] == "list") {
        int members = 0;
        ms = MedianMs(args[3].toInt(), [&] {
            const tz::MemberListing listing = tz::ListFontMembers(archive);
            members = int(listing.Members.size());
            return !listing.Failed();
        });
        std::printf("%.1f ms (%d members)\n", ms, members);
    } else if (args[1] == "extract" && args.size() == 6) {
        const tz::ArchiveMember member { args[3], {} };
        ms = MedianMs(args[5].toInt(), [&] { return bool(tz::ExtractMember(archive, member, args[4])); });
        std::printf("%.1f ms\n", ms);
    } else {
        return 2;
    }
    return 0;
}
