#include "cli/FontArguments.h"

#include "cli/Commands.h"
#include "collect/FontAdder.h"
#include "collect/Shortcut.h"
#include "fontlist/FontList.h"
#include "fontlist/ListFile.h"
#include "fontlist/PreviousFormatSizes.h"
#include "platform/Text.h"
#include "widgets/MessageText.h"

#include <QFileInfo>

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

} // namespace tz::cli
