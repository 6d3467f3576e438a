#include "cli/FontArguments.h"

#include "cli/Commands.h"
#include "collect/AddPaths.h"
#include "collect/Shortcut.h"
#include "fontlist/FontList.h"
#include "fontlist/ListFile.h"
#include "fontlist/PreviousFormatSizes.h"
#include "fontlist/RowFaceScan.h"
#include "platform/Text.h"
#include "widgets/MessageText.h"

#include <cstdio>

namespace tz::cli {

namespace {

    // Why a list file added no row.
    AddOutcome ListOutcome(const ListReadResult& read)
    {
        if (read.Status == ListReadStatus::CannotOpen)
            return AddOutcome::Unreadable;
        if (read.Status == ListReadStatus::Read && read.Format == ListFormat::None)
            return AddOutcome::NotFont;
        return AddOutcome::NoFonts;
    }

} // namespace

bool LoadFontArguments(FontList& list, const QStringList& arguments, const QString& workFolder, FontFormats formats)
{
    FontAdder adder(list, workFolder, formats);
    const FolderSearchSettings settings { true, true, kFirstFace, formats };
    const FolderWalk walk = HeadlessFolderWalk(settings);
    FontListUpdate update(list);
    for (const QString& given : arguments) {
        if (UpperExtension(given) != u".TZL") {
            AddGivenPaths(adder, { given }, { settings.FaceSelection }, walk);
            continue;
        }
        const int before = list.Count();
        ListReadOptions options;
        options.MeasureSize = MeasureWithWorkFolder(workFolder, formats);
        options.ConfirmConversion = [] { return true; };
        const ListReadResult read = ReadListFile(list, ResolveGivenPath(given), options);
        if (list.Count() == before)
            adder.NoteFailure(given, ListOutcome(read));
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
