#pragma once
// Installing the fonts behind the selected rows for the user: copied into the
// user's font folder (or a folder of the user's choice), or linked where they
// lie into the user's font folder. Archive members and Macintosh fonts are
// extracted first (and can't be linked). Each file is installed once however
// many rows share it; an existing file is never replaced: one with the same
// content counts as installed. At the end fontconfig's cache of the folder is
// refreshed.
#include "fileops/FontFileCopy.h"

#include <QStringList>
#include <functional>

namespace tz {

class FontList;

enum class InstallMethod {
    Standard, // copy into the user's font folder
    CopyToFolder, // copy into Folder
    LinkInPlace, // link the files where they lie into the user's font folder
};

struct InstallResult {
    QStringList Log; // one line per file, then the closing lines
    QStringList Problems; // the lines of files not installed
    int Installed = 0; // written or linked
    int AlreadyInstalled = 0;
    bool Stopped = false;
};

class FontInstaller {
public:
    FontInstaller(const FontList& list, QString workFolder);

    InstallMethod Method = InstallMethod::Standard;
    QString Folder; // the copy folder of CopyToFolder
    bool AddExtension = true; // installing appends the TrueType extension
    FontFormats Formats = FontFormats::Designed; // which archives and font files are read
    // Before each file: its share of the run in percent and its name.
    std::function<void(int percent, const QString& name)> Progress;
    std::function<void()> LetEventsRun;
    FreeSpaceQuery FreeBytes = FreeBytesOf;
    // Runs "fc-cache" on the folder; its exit status.
    std::function<int(const QString& folder)> RefreshFontCache = RunFcCache;

    // The folder fonts go to.
    QString TargetFolder() const;
    // Ends the run after the file being installed.
    void Abort() { aborted_ = true; }

    InstallResult Run();

    static int RunFcCache(const QString& folder);

private:
    enum class Step { Next, End };
    Step InstallRow(const FontEntry& entry, const QString& folder, InstallResult& result);
    Step Place(const FontSource& font, const QString& target, InstallResult& result);

    const FontList& list_;
    QString workFolder_;
    bool aborted_ = false;
};

} // namespace tz
