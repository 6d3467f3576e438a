#pragma once
// Stored paths are upper-cased (list rows, archive members), while Linux file
// systems are case-sensitive. Every place that opens, tests or lists a stored
// path resolves it here first.
#include <QByteArray>
#include <QHash>
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

// ResolvePath for many paths: each folder is resolved and listed at most
// once, so resolving the thousands of rows of one folder lists it once
// instead of once per row. The answers are ResolvePath's as long as the
// folders do not change meanwhile.
class PathResolverCache {
public:
    QString Resolve(const QString& path);

private:
    // The folder or file on disk, empty when some component matches nothing.
    QByteArray ResolveEncoded(const QByteArray& path);
    // The name folder holds for component ignoring ASCII case (its first
    // case-variant in byte order); empty when none.
    QByteArray CaseVariant(const QByteArray& folder, const QByteArray& component);

    QHash<QByteArray, QByteArray> folders_; // folder as given -> on disk
    QHash<QByteArray, QHash<QByteArray, QByteArray>> listings_; // folder on disk -> upper-cased name -> name
};

} // namespace tz
