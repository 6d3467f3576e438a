#pragma once
// Shortcuts: Windows shell-link files (.LNK) read from their binary layout, and
// the normalisation of a path's last component to its name on disk.
#include <QByteArray>
#include <QString>
#include <optional>

namespace tz {

// The target a shell link names, as found in its bytes: the LinkInfo local base
// path (with the common path suffix) and the relative path string. Paths keep
// their Windows separators; empty when absent.
struct ShellLinkTarget {
    QString LocalBasePath;
    QString RelativePath;
};
std::optional<ShellLinkTarget> ParseShellLink(const QByteArray& bytes);

// The existing file a .LNK file points at; the local base path first, then the
// relative path taken from the link's folder. Fails when the file is not a
// shell link or its target does not exist here.
std::optional<QString> ResolveShortcut(const QString& linkPath);

// The path with its last component as the file system stores it.
QString NormalizeLongName(const QString& path);

// A path given by the user (command line, drop): normalised, a .LNK shortcut
// followed (left as it was when it can't be resolved), normalised again.
QString ResolveGivenPath(const QString& given);

} // namespace tz
