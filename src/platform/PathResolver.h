#pragma once
// Stored paths are upper-cased (list rows, archive members), while Linux file
// systems are case-sensitive. Every place that opens, tests or lists a stored
// path resolves it here first.
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

namespace tz {

// Finds the file or folder on disk whose components match the path's
// components without regard to ASCII case. An exact match of a component wins;
// among several case-variants the first in byte order. Returns the path as it
// exists on disk, or the path unchanged when some component matches nothing.
QString ResolvePath(const QString& path);

// The path with its last component replaced by the name the folder holds for
// it (an exact match first, else the first case-variant in byte order); the
// folder part stays as given. Unchanged when nothing matches.
QString ResolveLastComponent(const QString& path);

// ResolvePath for many paths, for showing the rows of a list and for opening
// them: each folder is resolved (through its parent's listing) and listed
// once, so a path costs a hash lookup or two instead of a walk of the path.
// The answers are those ResolvePath gives at the time the folder was first
// asked about; Forget makes the next question look again.
class PathResolverCache {
public:
    QString Resolve(const QString& path) const;
    void Forget() { folders_.clear(); }

private:
    struct Folder {
        QByteArray onDisk; // the folder as it exists; empty when it does not
        // Upper-cased entry name -> the entry names of that form, in byte order.
        QHash<QByteArray, QList<QByteArray>> names;
    };
    const Folder& FolderOf(const QByteArray& path) const;
    // The path's last component as its folder's listing has it (the name
    // itself when it is there, else its first case-variant), joined to the
    // folder on disk; empty when either does not exist.
    QByteArray EntryOnDisk(const QByteArray& path) const;

    mutable QHash<QByteArray, Folder> folders_; // folder as asked -> on disk
};

} // namespace tz
