#pragma once
// The per-run scratch folder: extracted fonts and page files live here under
// fixed names while they are needed. Made at start-up under the temporary
// folder ("tzQ" followed by six letters or digits, mode 0700), locked (flock)
// while the process lives and marked as the program's own by the file
// "typozind.owner". At start-up, folders of this user that carry the mark,
// whose lock went with a killed owner and that did not change in the last
// minute are removed; nothing else in the temporary folder is touched and no
// link is followed. When no folder can be made there, the executable's folder
// serves instead and is never emptied.
#include <QString>

namespace tz {

class WorkFolder {
public:
    // Creates a fresh folder under the system's temporary folder.
    WorkFolder();
    // Empties and removes the folder (not the fallback).
    ~WorkFolder();
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    const QString& Path() const { return path_; }
    bool IsFallback() const { return fallback_; }
    // Path of a file inside the folder.
    QString File(const QString& name) const;
    // Deletes the entries directly inside the folder (not sub-folders) and the
    // folder itself. Does nothing for the fallback.
    void Remove();

    // The fixed names of the fonts the program extracts into a work folder.
    static bool IsExtractedFontName(const QString& name);

private:
    QString path_;
    int lockFd_ = -1;
    bool fallback_ = false;
};

} // namespace tz
