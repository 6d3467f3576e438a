#pragma once
// The per-run scratch folder: extracted fonts and page files live here under
// fixed names while they are needed. Made at start-up under the temporary
// folder ("tzQ" followed by a unique part) and locked (flock) while the
// process lives; folders whose lock went with a killed owner are removed when
// the next one is made. When that fails, the executable's folder serves
// instead and is never emptied.
#include "platform/RemovedOnSignal.h"

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
    // Deletes the files directly inside the folder (not sub-folders) and the
    // folder itself. Does nothing for the fallback.
    void Remove();

private:
    QString path_;
    int lockFd_ = -1;
    bool fallback_ = false;
    RemovedOnSignal removal_; // the folder, once the files in it are gone
};

} // namespace tz
