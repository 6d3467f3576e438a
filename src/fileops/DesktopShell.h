#pragma once
// The desktop's handling of files: opening a file or folder with its default
// application, and the file manager's properties of a file. Tests put a
// double in its place, so no test starts a real application.
#include <QString>

namespace tz {

class DesktopShell {
public:
    virtual ~DesktopShell() = default;
    // Opens a file or folder with the desktop's default application.
    virtual bool Open(const QString& path);
    // Asks the file manager to show the file's properties (D-Bus
    // org.freedesktop.FileManager1.ShowItemProperties); false when no file
    // manager answers.
    virtual bool ShowProperties(const QString& path);

    // The shell in use: the desktop's own unless a double was set.
    static DesktopShell& Current();
    // Puts shell in use (not owned); nullptr restores the desktop's own.
    static void Use(DesktopShell* shell);
};

} // namespace tz
