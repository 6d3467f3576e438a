#include "platform/PathResolver.h"

#include "platform/Text.h"

#include <QByteArray>
#include <QFile>
#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

namespace tz {

namespace {

    bool Exists(const QByteArray& path)
    {
        struct stat st;
        return lstat(path.constData(), &st) == 0;
    }

    // The entry of folder whose name equals component ignoring ASCII case; the
    // smallest such name in byte order. Empty when none matches.
    QByteArray FindCaseVariant(const QByteArray& folder, const QByteArray& component)
    {
        DIR* dir = opendir(folder.isEmpty() ? "/" : folder.constData());
        if (!dir)
            return {};
        const QByteArray wanted = UpperAscii(component);
        QByteArray best;
        while (dirent* entry = readdir(dir)) {
            const QByteArray name(entry->d_name);
            if (UpperAscii(name) == wanted && (best.isEmpty() || name < best))
                best = name;
        }
        closedir(dir);
        return best;
    }

    // A path whose last component is a name: the root, a trailing "/" and a
    // bare relative name are left to ResolvePath.
    bool HasFolderAndName(const QByteArray& path)
    {
        const qsizetype slash = path.lastIndexOf('/');
        return slash >= 0 && slash < path.size() - 1;
    }

} // namespace

QString ResolvePath(const QString& path)
{
    const QByteArray encoded = QFile::encodeName(path);
    if (encoded.isEmpty() || Exists(encoded))
        return path;
    const QList<QByteArray> parts = encoded.split('/');
    QByteArray resolved;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QByteArray& part = parts[i];
        if (i == 0 && part.isEmpty())
            continue; // the root of an absolute path
        const QByteArray prefix = (i == 0) ? QByteArray() : resolved + '/';
        if (part.isEmpty() || part == "." || part == ".." || Exists(prefix + part)) {
            resolved = prefix + part;
            continue;
        }
        const QByteArray variant = FindCaseVariant(i == 0 ? QByteArray(".") : resolved, part);
        if (variant.isEmpty())
            return path;
        resolved = prefix + variant;
    }
    return QFile::decodeName(resolved);
}

QString PathResolverCache::Resolve(const QString& path) const
{
    const QByteArray encoded = QFile::encodeName(path);
    if (!HasFolderAndName(encoded))
        return ResolvePath(path);
    const QByteArray onDisk = EntryOnDisk(encoded);
    return onDisk.isEmpty() ? path : QFile::decodeName(onDisk);
}

QByteArray PathResolverCache::EntryOnDisk(const QByteArray& path) const
{
    const qsizetype slash = path.lastIndexOf('/');
    const Folder& folder = FolderOf(slash == 0 ? QByteArray("/") : path.left(slash));
    const QByteArray name = path.mid(slash + 1);
    const auto variants = folder.names.constFind(UpperAscii(name));
    if (variants == folder.names.cend())
        return {};
    const QByteArray& entry = variants->contains(name) ? name : variants->first();
    return folder.onDisk == "/" ? '/' + entry : folder.onDisk + '/' + entry;
}

const PathResolverCache::Folder& PathResolverCache::FolderOf(const QByteArray& path) const
{
    const auto found = folders_.constFind(path);
    if (found != folders_.cend())
        return *found;
    // Through the parent's listing, so the folders above are listed once for
    // all the folders below them.
    const QByteArray onDisk
        = HasFolderAndName(path) ? EntryOnDisk(path) : QFile::encodeName(ResolvePath(QFile::decodeName(path)));
    Folder folder;
    struct stat st;
    if (!onDisk.isEmpty() && stat(onDisk.constData(), &st) == 0 && S_ISDIR(st.st_mode)) {
        folder.onDisk = onDisk;
        if (DIR* dir = opendir(onDisk.constData())) {
            while (const dirent* entry = readdir(dir)) {
                const QByteArray name(entry->d_name);
                folder.names[UpperAscii(name)].append(name);
            }
            closedir(dir);
        }
        for (QList<QByteArray>& variants : folder.names)
            std::sort(variants.begin(), variants.end());
    }
    return *folders_.insert(path, std::move(folder));
}

QString ResolveLastComponent(const QString& path)
{
    const QByteArray encoded = QFile::encodeName(path);
    if (encoded.isEmpty() || Exists(encoded))
        return path;
    const qsizetype slash = encoded.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : encoded.left(slash);
    const QByteArray variant = FindCaseVariant(folder, encoded.mid(slash + 1));
    if (variant.isEmpty())
        return path;
    return QFile::decodeName(slash < 0 ? variant : encoded.left(slash + 1) + variant);
}

} // namespace tz
