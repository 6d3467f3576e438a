#pragma once
// The font list as a document: the list file it belongs to (or its untitled
// name), whether it has changes that file lacks, and the recent-item lists
// (list files and search folders, four each, newest first). Headless: the
// main window shows the state through its caption, actions and menus and
// follows it through the signals.
#include <QObject>
#include <QString>
#include <QStringList>

namespace tz {

class SettingsStore;

class ListDocument : public QObject {
    Q_OBJECT
public:
    explicit ListDocument(QObject* parent = nullptr);

    static QString UntitledName(int number);

    // The list file, or the untitled name.
    const QString& Path() const { return path_; }
    void SetPath(const QString& path);
    // Number of the current untitled name.
    int UntitledNumber() const { return untitledNumber_; }
    // Names the list with the next untitled name.
    void StartUntitled();

    // The list has changes its file lacks.
    bool Modified() const { return modified_; }
    void SetModified(bool modified);

    // Always four entries; an empty entry is a hidden menu item.
    const QStringList& RecentLists() const { return recentLists_; }
    const QStringList& RecentFolders() const { return recentFolders_; }
    // Takes the first four paths (missing ones empty).
    void SetRecentLists(const QStringList& paths);
    void SetRecentFolders(const QStringList& paths);
    // Puts path in front (see PushRecent); an empty path changes nothing.
    void PushRecentList(const QString& path);
    void PushRecentFolder(const QString& path);

    // Reads List1-4 and Folder1-4 of Zindel\Lists when the key exists (it
    // is never created by reading).
    void LoadRecentItems(SettingsStore& store);
    void SaveRecentItems(SettingsStore& store) const;

signals:
    void PathChanged(const QString& path);
    void ModifiedChanged(bool modified);
    void RecentListsChanged(const QStringList& paths);
    void RecentFoldersChanged(const QStringList& paths);

private:
    QString path_;
    int untitledNumber_ = 1;
    bool modified_ = false;
    QStringList recentLists_;
    QStringList recentFolders_;
};

} // namespace tz
