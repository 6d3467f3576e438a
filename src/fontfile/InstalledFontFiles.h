#pragma once
// The font files installed on the system: every file of fontconfig's system
// font set (the set this process draws from without adding anything), of any
// kind; callers filter by extension themselves. Fonts made available to this
// process alone are not installed.
#include <QString>
#include <QStringList>

namespace tz {

class InstalledFontFiles {
public:
    // Rebuilds Paths; true when at least one installed font file was found.
    bool Refresh();
    // Full paths, upper-cased (ASCII letters only), no duplicates, sorted
    // ignoring case.
    const QStringList& Paths() const { return paths_; }
    // Index of the path in Paths compared without regard to ASCII case, -1
    // when absent.
    qsizetype IndexOf(const QString& path) const;
    // The user's own fonts folder, $XDG_DATA_HOME/fonts.
    static QString FontsFolder();

private:
    QStringList paths_;
};

} // namespace tz
