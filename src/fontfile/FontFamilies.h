#pragma once
// The installed font families offered for the custom heading font, and a
// watcher that tells when the set of installed fonts may have changed.
#include <QObject>
#include <QStringList>
#include <QTimer>

class QFileSystemWatcher;

namespace tz {

// Families of the installed TrueType and OpenType (sfnt) fonts, without the
// vertical-writing variants whose names begin with "@", duplicate-free and
// sorted ignoring case. Fresh asks fontconfig afresh, so fonts added since
// the last call are seen; Current uses the configuration the process already
// loaded (cheap, for start-up).
enum class FontConfigView { Fresh, Current };
QStringList InstalledTrueTypeFamilies(FontConfigView view = FontConfigView::Fresh);

// Watches fontconfig's font folders and configuration files and emits
// FontsChanged once a burst of changes has settled. A configured font folder
// that does not exist yet (the user's font folder before the first install)
// is watched through its nearest existing parent.
class FontFolderWatcher : public QObject {
    Q_OBJECT
public:
    explicit FontFolderWatcher(QObject* parent = nullptr);

    QStringList WatchedPaths() const;

signals:
    void FontsChanged();

private:
    // The process-wide configuration is enough at the start; after a change
    // a fresh one sees the new folders.
    void Rewatch(bool freshConfig);
    void Settled();

    QFileSystemWatcher* watcher_;
    QTimer settle_;
};

} // namespace tz
