#pragma once
// The folder search: a depth-first walk of a folder tree that adds every font
// file and, by setting, every archive and self-extracting archive it meets.
// Each folder is visited once (by device and inode), so links or bind mounts
// that lead back into the tree end the walk instead of running it forever;
// only regular files are analysed, so FIFOs and devices never block it.
#include "collect/AddOutcome.h"
#include "fontfile/FontFormats.h"

#include <QString>
#include <functional>
#include <set>
#include <utility>

namespace tz {

struct FolderSearchSettings {
    bool Archives = true;       // also .ZIP, .LZH, .CAB (and the wider set's archives)
    bool SelfExtracting = true; // also .EXE
    int FaceSelection = 0;
    FontFormats Formats = FontFormats::Designed; // which fonts and archives are taken
};

class FolderSearch {
public:
    static inline const QString kListingPhase = QStringLiteral("Search TrueType File...");
    static inline const QString kAnalysisPhase = QStringLiteral("Analyze TrueType File...");

    // Read once per folder level.
    std::function<FolderSearchSettings()> ReadSettings;
    // Shows the phase and the folder or file; lets pending events run.
    std::function<void(const QString& phase, const QString& path)> Progress;
    // Lets pending events run before each entry.
    std::function<void()> LetEventsRun;
    // Adds the rows of one file; Added, or why no row was added.
    std::function<AddOutcome(const QString& path, int faceSelection)> AddFile;

    // Stop: the walk unwinds after the file being analysed.
    void Stop() { stopped_ = true; }
    bool Stopped() const { return stopped_; }

    // Walks the tree below folder (the stop flag is cleared first).
    void Run(const QString& folder);

    // Analysed font files that added nothing, with the reason (archives and
    // self-extracting files that hold no font are not reported).
    NotAddedFiles Failed;

private:
    void SearchFolder(const QString& folder);
    // A file of a searched extension; folder ends with "/".
    void AnalyseEntry(
        const QString& folder, const QString& name, QStringView nameTail, const FolderSearchSettings& settings);

    bool stopped_ = false;
    std::set<std::pair<unsigned long, unsigned long>> visited_;
};

// Whether the folder search analyses a file of this name.
bool IsSearchedFile(const QString& name, const FolderSearchSettings& settings);

} // namespace tz
