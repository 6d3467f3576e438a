#include "collect/AddPaths.h"

#include "collect/Shortcut.h"
#include "fontfile/FontExtensions.h"
#include "fontfile/InstalledFontFiles.h"

#include <QFileInfo>
#include <memory>

namespace tz {

namespace {

    // Collects what one call added from the adder's running totals.
    class Tally {
    public:
        explicit Tally(const FontAdder& adder)
            : adder_(adder)
            , rows_(adder.RowsAdded())
            , failures_(adder.Failed.size())
        {
        }
        AddedPaths Result(bool allAdded) const
        {
            return { adder_.RowsAdded() - rows_, adder_.Failed.mid(failures_), allAdded };
        }

    private:
        const FontAdder& adder_;
        int rows_;
        qsizetype failures_;
    };

} // namespace

QString SearchStart(QString folder)
{
    if (folder.size() > 1 && folder.endsWith(u'/'))
        folder.chop(1);
    return folder;
}

AddedPaths AddGivenPaths(
    FontAdder& adder, const QStringList& paths, const AddOptions& options, const FolderWalk& walkFolder)
{
    const Tally tally(adder);
    bool allAdded = true;
    for (const QString& given : paths) {
        const QString path = options.ChosenFiles ? given : ResolveGivenPath(given);
        AddOutcome outcome = AddOutcome::Added;
        if (!options.ChosenFiles && QFileInfo(path).isDir()) {
            const int before = adder.RowsAdded();
            walkFolder(path, adder);
            if (adder.RowsAdded() == before)
                outcome = AddOutcome::NoFonts;
        } else {
            outcome = adder.AddPath(path, options.FaceSelection);
        }
        if (outcome != AddOutcome::Added) {
            adder.NoteFailure(SearchStart(path), outcome);
            allAdded = false;
        }
    }
    return tally.Result(allAdded);
}

AddedPaths AddInstalledFonts(FontAdder& adder, const AddOptions& options)
{
    const Tally tally(adder);
    InstalledFontFiles installed;
    installed.Refresh();
    bool allAdded = true;
    for (const QString& path : installed.Paths()) {
        if (IsFontName(path, adder.Formats()) && !adder.AddPathNoting(path, options.FaceSelection))
            allAdded = false;
    }
    return tally.Result(allAdded);
}

FolderWalk HeadlessFolderWalk(const FolderSearchSettings& settings)
{
    auto search = std::make_shared<FolderSearch>();
    search->ReadSettings = [settings] { return settings; };
    search->Progress = [](const QString&, const QString&) {};
    search->LetEventsRun = [] {};
    return [search](const QString& folder, FontAdder& adder) {
        search->AddFile = [&adder](const QString& path, int selection) { return adder.AddPathOnDisk(path, selection); };
        search->Run(folder);
        adder.Failed << search->Failed;
        search->Failed.clear();
    };
}

} // namespace tz
