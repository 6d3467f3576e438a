#include "platform/ShownPaths.h"

#include "platform/PathResolver.h"
#include "platform/Text.h"

#include <QFile>
#include <dirent.h>
#include <sys/stat.h>

namespace tz {

namespace {

    // A path whose last component is a name: the root, a trailing "/" and a
    // bare relative name are left to ResolvePath.
    bool HasFolderAndName(const QByteArray& path)
    {
        const qsizetype slash = path.lastIndexOf('/');
        return slash >= 0 && slash < path.size() - 1;
    }

} // namespace

QByteArray ShownPaths::EntryOnDisk(const QByteArray& stored) const
{
    const qsizetype slash = stored.lastIndexOf('/');
    const Folder& folder = FolderOf(slash == 0 ? QByteArray("/") : stored.left(slash));
    const auto name = folder.names.constFind(UpperAscii(stored.mid(slash + 1)));
    if (name == folder.names.cend())
        return {};
    return folder.onDisk == "/" ? '/' + *name : folder.onDisk + '/' + *name;
}

const ShownPaths::Folder& ShownPaths::FolderOf(const QByteArray& stored) const
{
    const auto found = folders_.constFind(stored);
    if (found != folders_.cend())
        return *found;
    // Through the parent's listing, so the folders above are listed once for
    // all the folders below them.
    const QByteArray onDisk = HasFolderAndName(stored) ? EntryOnDisk(stored)
                                                       : QFile::encodeName(ResolvePath(QFile::decodeName(stored)));
    Folder folder;
    struct stat st;
    if (!onDisk.isEmpty() && stat(onDisk.constData(), &st) == 0 && S_ISDIR(st.st_mode)) {
        folder.onDisk = onDisk;
        if (DIR* dir = opendir(onDisk.constData())) {
            while (const dirent* entry = readdir(dir)) {
                const QByteArray name(entry->d_name);
                QByteArray& best = folder.names[UpperAscii(name)];
                if (best.isEmpty() || name < best)
                    best = name;
            }
            closedir(dir);
        }
    }
    return *folders_.insert(stored, std::move(folder));
}

QString ShownPaths::Shown(const QString& stored) const
{
    const QByteArray encoded = QFile::encodeName(stored);
    if (!HasFolderAndName(encoded))
        return ResolvePath(stored);
    const QByteArray onDisk = EntryOnDisk(encoded);
    return onDisk.isEmpty() ? stored : QFile::decodeName(onDisk);
}

} // namespace tz
