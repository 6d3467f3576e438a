// tzind dups: the duplicate search of the program over the rows of list files
// and paths; prints each group of rows naming the same face.
#include "cli/Commands.h"
#include "cli/FontArguments.h"
#include "cli/FormatsOption.h"
#include "fontlist/DuplicateFaces.h"
#include "fontlist/FontList.h"
#include "fontlist/ListFile.h"
#include "fontlist/RowFaceScan.h"
#include "platform/WorkFolder.h"

#include <cstdio>

namespace tz::cli {

namespace {

    const QString kUsage = QStringLiteral(
        "dups [--all-formats|--designed-formats] LIST|PATH...\n"
        "      print the rows of list files, fonts, archives and folders that hold the same face\n"
        "      data, one group of rows after another with an empty line between groups; exit status\n"
        "      3 when there is none");

    int Dups(QStringList args)
    {
        const FontFormats formats = TakeFormatsOption(args);
        if (args.isEmpty() || std::any_of(args.begin(), args.end(), [](const QString& a) { return a.startsWith(u"--"); })) {
            Err(QStringLiteral("usage: tzind ") + kUsage + u'\n');
            return kExitUsage;
        }
        const WorkFolder work;
        FontList list;
        LoadFontArguments(list, args, work.Path(), formats);
        RowFaceScan scan(list, work.Path(), formats);
        const std::vector<std::vector<int>> groups = DuplicateGroups(scan);
        QByteArray out;
        for (const std::vector<int>& group : groups) {
            if (!out.isEmpty())
                out += '\n';
            for (int row : group)
                out += FormatListRow(list.Entry(row)) + '\n';
        }
        std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
        ReportSkippedRows(QStringLiteral("dups"), scan);
        return groups.empty() ? kExitPartial : kExitOk;
    }

    const CommandRegistration registration({ QStringLiteral("dups"), kUsage, Dups, true });

} // namespace

} // namespace tz::cli
