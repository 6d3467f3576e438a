#include "cli/PathAdding.h"

#include "collect/Shortcut.h"
#include "fontlist/FontList.h"
#include "platform/Text.h"

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
        adder.AddPath(path, selection);
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

} // namespace tz::cli
