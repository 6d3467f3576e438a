#pragma once
// Stored paths are upper-cased, which on Linux names files that do not exist.
// Wherever a stored path is shown (list view, tool tips, headings, log lines,
// messages), it is shown as the file system has it: resolved as ResolvePath
// resolves it, or as stored when the file is gone.
#include <QByteArray>
#include <QHash>
#include <QString>

namespace tz {

// The shown form of a path, for lists of paths: each folder is resolved (through
// its parent's listing) and listed once, so showing many files of one folder
// costs one hash lookup each instead of a walk of the path. The answers are those ResolvePath
// gives at the time the folder was first asked about; Forget makes the next
// question look again.
class ShownPaths {
public:
    QString Shown(const QString& stored) const;
    void Forget() { folders_.clear(); }

private:
    struct Folder {
        QByteArray onDisk; // the folder as it exists; empty when it does not
        // Upper-cased entry name -> the entry's name, the first case-variant
        // in byte order (an exact upper-case match is always that first one).
        QHash<QByteArray, QByteArray> names;
    };
    const Folder& FolderOf(const QByteArray& stored) const;
    // The stored path's last component in its folder's listing, joined to the
    // folder on disk; empty when either does not exist.
    QByteArray EntryOnDisk(const QByteArray& stored) const;

    mutable QHash<QByteArray, Folder> folders_;
};

} // namespace tz
