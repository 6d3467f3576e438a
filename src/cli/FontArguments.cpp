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

void SearchWithoutWindow(FolderSearch& search, FontAdder& adder, FontList& list, const FolderSearchSettings& settings)
{
    search.ReadSettings = [settings] { return settings; };
    search.Progress = [](const QString&, const QString&) {};
    search.LetEventsRun = [] {};
    search.AddFile = [&adder, &list](const QString& path, int selection) {
        const int before = list.Count();
        adder.AddPath(path, selection);
        return list.Count() != before;
    };
}

bool LoadFontArguments(FontList& list, const QStringList& arguments, const QString& workFolder)
{
    FontAdder adder(list, workFolder);
    FolderSearch search;
    SearchWithoutWindow(search, adder, list, FolderSearchSettings { true, true, kFirstFace });
    FontListUpdate update(list);
    for (const QString& given : arguments) {
        const int before = list.Count();
        const QString path = ResolveGivenPath(given);
        if (UpperExtension(path) == u".TZL") {
            ListReadOptions options;
            options.MeasureSize = MeasureWithWorkFolder(workFolder);
            ReadListFile(list, path, options);
        } else if (QFileInfo(path).isDir()) {
            search.Run(path);
        } else {
            adder.AddPath(path, kFirstFace);
        }
        if (list.Count() == before)
            adder.FailedNames << FileNamePart(path);
    }
    list.SelectAll();
    const QString summary = adder.Summary(kNotAddedFilesOrFolders);
    if (!summary.isEmpty())
        Err(DisplayText(summary) + u'\n');
    return summary.isEmpty();
}

} // namespace tz::cli
