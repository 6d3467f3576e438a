#include "platform/ShownPaths.h"

#include "platform/PathResolver.h"
#include "platform/Text.h"

#include <QFile>
#include <dirent.h>
#include <sys/stat.h>

namespace tz {

const ShownPaths::Folder& ShownPaths::FolderOf(const QByteArray& stored) const
{
    const auto found = folders_.constFind(stored);
    if (found != folders_.cend())
        return *found;
    Folder folder;
    const QByteArray onDisk = QFile::encodeName(ResolvePath(QFile::decodeName(stored)));
    struct stat st;
    if (stat(onDisk.constData(), &st) == 0 && S_ISDIR(st.st_mode)) {
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
    const qsizetype slash = encoded.lastIndexOf('/');
    if (slash < 0 || slash == encoded.size() - 1)
        return ResolvePath(stored);
    const Folder& folder = FolderOf(slash == 0 ? QByteArray("/") : encoded.left(slash));
    const auto name = folder.names.constFind(UpperAscii(encoded.mid(slash + 1)));
    if (name == folder.names.cend())
        return stored;
    return QFile::decodeName(folder.onDisk == "/" ? '/' + *name : folder.onDisk + '/' + *name);
}

} // namespace tz
