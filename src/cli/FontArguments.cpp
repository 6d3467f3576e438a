#include "cli/FontArguments.h"

#include "cli/Commands.h"
#include "collect/FontAdder.h"
#include "collect/Shortcut.h"
#include "fontlist/FontList.h"
#include "fontlist/ListFile.h"
#include "fontlist/PreviousFormatSizes.h"
#include "fontlist/RowFaceScan.h"
#include "platform/Text.h"
#include "widgets/MessageText.h"

#include <QFileInfo>
#include <cstdio>

namespace tz::cli {

bool AddPaths(FontList& list, FontAdder& adder, const QStringList& paths, const FolderSearchSettings& settings)
{
    FolderSearch search;
    search.ReadSettings = [&] { return settings; };
    search.Progress = [](const QString&, const QString&) {};
    search.LetEventsRun = [] {};
    search.AddFile = [&](const QString& path, int selection) {
        const int before = list.Count();
        adder.AddPathOnDisk(path, selection);
        return list.Count() != before;
    };
    FontListUpdate update(list);
    bool allAdded = true;
    for (const QString& given : paths) {
        const int before = list.Count();
        const QString path = ResolveGivenPath(given);
        if (QFileInfo(path).isDir()) {
            search.Run(path);
            adder.FailedNames << search.FailedNames;
            search.FailedNames.clear();
        } else {
            adder.AddPath(path, settings.FaceSelection);
        }
        if (list.Count() == before) {
            adder.FailedNames << FileNamePart(path);
            allAdded = false;
        }
    }
    return allAdded;
}

bool LoadFontArguments(FontList& list, const QStringList& arguments, const QString& workFolder)
{
    FontAdder adder(list, workFolder);
    const FolderSearchSettings settings { true, true, kFirstFace };
    FontListUpdate update(list);
    for (const QString& given : arguments) {
        if (UpperExtension(given) != u".TZL") {
            AddPaths(list, adder, { given }, settings);
            continue;
        }
        const int before = list.Count();
        ListReadOptions options;
        options.MeasureSize = MeasureWithWorkFolder(workFolder);
        options.ConfirmConversion = [] { return true; };
        ReadListFile(list, ResolveGivenPath(given), options);
        if (list.Count() == before)
            adder.FailedNames << FileNamePart(given);
    }
    list.SelectAll();
    const QString summary = adder.Summary(kNotAddedFilesOrFolders);
    if (!summary.isEmpty())
        Err(DisplayText(summary) + u'\n');
    return summary.isEmpty();
}

bool WriteListOutput(const QString& command, const FontList& list, const QString& output)
{
    const QByteArray content = FormatListFile(list);
    const bool toStandardOutput = output.isEmpty() || output == u"-";
    const bool written = toStandardOutput
        ? std::fwrite(content.constData(), 1, size_t(content.size()), stdout) == size_t(content.size())
            && std::fflush(stdout) == 0
        : WriteListFile(list, output);
    if (!written)
        Err(QStringLiteral("tzind %1: cannot write %2\n")
                .arg(command, toStandardOutput ? QStringLiteral("standard output") : output));
    return written;
}

void ReportSkippedRows(const QString& command, const RowFaceScan& scan)
{
    if (scan.SkippedRows() > 0)
        Err(QStringLiteral("tzind %1: %2 rows skipped: their files were not found\n").arg(command).arg(scan.SkippedRows()));
}

} // namespace tz::cli
