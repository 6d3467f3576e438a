#include "fontlist/ListDocument.h"

#include "fontlist/RecentItems.h"
#include "settings/SettingsStore.h"

namespace tz {

namespace {

    const QString kListsKey = QStringLiteral("Zindel\\Lists");

    QStringList FourPaths(const QStringList& paths)
    {
        QStringList four;
        for (int i = 0; i < kRecentItemCount; ++i)
            four << paths.value(i);
        return four;
    }

} // namespace

ListDocument::ListDocument(QObject* parent)
    : QObject(parent)
    , path_(UntitledName(1))
    , recentLists_(FourPaths({}))
    , recentFolders_(FourPaths({}))
{
}

QString ListDocument::UntitledName(int number) { return QStringLiteral("名称未設定%1").arg(number); }

void ListDocument::SetPath(const QString& path)
{
    if (path_ == path)
        return;
    path_ = path;
    emit PathChanged(path_);
}

void ListDocument::StartUntitled() { SetPath(UntitledName(++untitledNumber_)); }

void ListDocument::SetModified(bool modified)
{
    if (modified_ == modified)
        return;
    modified_ = modified;
    emit ModifiedChanged(modified_);
}

void ListDocument::SetRecentLists(const QStringList& paths)
{
    recentLists_ = FourPaths(paths);
    emit RecentListsChanged(recentLists_);
}

void ListDocument::SetRecentFolders(const QStringList& paths)
{
    recentFolders_ = FourPaths(paths);
    emit RecentFoldersChanged(recentFolders_);
}

void ListDocument::PushRecentList(const QString& path) { SetRecentLists(PushRecent(recentLists_, path)); }

void ListDocument::PushRecentFolder(const QString& path) { SetRecentFolders(PushRecent(recentFolders_, path)); }

void ListDocument::LoadRecentItems(SettingsStore& store)
{
    const auto key = store.KeyExists(kListsKey) ? store.OpenKey(kListsKey, false) : std::nullopt;
    if (!key)
        return;
    QStringList lists, folders;
    for (int i = 1; i <= kRecentItemCount; ++i) {
        lists << key->ReadString(QStringLiteral("List%1").arg(i));
        folders << key->ReadString(QStringLiteral("Folder%1").arg(i));
    }
    SetRecentLists(lists);
    SetRecentFolders(folders);
}

void ListDocument::SaveRecentItems(SettingsStore& store) const
{
    SettingsGroup lists(store, kListsKey);
    for (int i = 0; i < kRecentItemCount; ++i)
        lists.Write(QStringLiteral("List%1").arg(i + 1), recentLists_.value(i));
    for (int i = 0; i < kRecentItemCount; ++i)
        lists.Write(QStringLiteral("Folder%1").arg(i + 1), recentFolders_.value(i));
}

} // namespace tz
