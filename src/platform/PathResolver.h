#pragma once
// Stored paths are upper-cased (list rows, archive members), while Linux file
// systems are case-sensitive. Every place that opens, tests or lists a stored
// path resolves it here first.
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

} // namespace tz
