#pragma once
// The desktop's side of font list files, the freedesktop.org way: the MIME type
// application/x-typoscan-zindel-list (glob *.tzl) as a shared-mime-info
// package, its document icon, and a desktop entry whose open command passes the
// file as the first argument, all under $XDG_DATA_HOME, for a program that the
// system's data folders do not know yet. Also the launch of the sibling
// program.
#include <QImage>
#include <QString>

namespace tz {

inline const QString kListMimeType = QStringLiteral("application/x-typoscan-zindel-list");

// Where the registration's files lie below $XDG_DATA_HOME.
QString ListMimePackagePath();
QString ListDesktopEntryPath();
QString ListIconPath();

// The desktop entry's Exec value that opens a file with executable.
QString DesktopExecLine(const QString& executable);

// The application id: the name of the installed desktop entry (with
// ".desktop"), of the metainfo and of the application icon.
QString DesktopAppId();

// The data folder installed together with executable (<prefix>/share for
// <prefix>/bin/typoscan-zindel).
QString InstalledDataFolder(const QString& executable);

// Whether executable is an installed program whose data folder is one of the
// system's ($XDG_DATA_DIRS) and holds the MIME package and the desktop entry:
// then the desktop knows the file type without per-user files.
bool SystemProvidesListFileType(const QString& executable);

// Writes the MIME package, the icon (when not null) and the desktop entry, in
// this order, then refreshes the desktop's MIME and desktop-entry caches where
// their tools are installed. Stops at the first file that can't be written;
// files written before stay. False on failure. Writes nothing (and succeeds)
// when the system provides the file type for executable.
bool RegisterListFileType(const QString& executable, const QImage& icon);

// Removes the desktop entry, the icon and the MIME package, then refreshes the
// caches. Files that are not there are no error. False when one could not be
// removed.
bool UnregisterListFileType();

// Starts the sibling program at path (an executable file is run, anything
// else opened by the desktop). False when that failed.
bool LaunchSibling(const QString& path);

} // namespace tz
