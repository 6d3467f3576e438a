#pragma once
// The drive part of a path, for reading a list whose fonts moved to another
// medium together with the list file. Windows-form paths (lists written on
// Windows) have a drive letter ("E:") or a network share ("\\server\share");
// POSIX paths have the mount point of a removable medium.
#include <QString>
#include <QStringList>

namespace tz {

// The mount points of the mounted file systems.
QStringList MountPoints();

// The drive part of path:
// - "X:" for a path that starts with a letter and a colon;
// - the two separators, server and share for a network path ("\\srv\fonts",
//   either separator);
// - for an absolute POSIX path, the longer of the longest of mountPoints
//   (other than "/") that contains it and its medium folder below the usual
//   mount roots ("/media/USER/LABEL", "/run/media/USER/LABEL", "/mnt/NAME");
// - empty otherwise.
// Components are compared ignoring ASCII case, since stored paths are
// upper-cased.
QString DrivePart(const QString& path, const QStringList& mountPoints);

// Replaces the drive part of rowPath by the drive part of listPath; the
// result uses "/" as its separator.
QString RebaseOnListDrive(const QString& rowPath, const QString& listPath, const QStringList& mountPoints);

} // namespace tz
