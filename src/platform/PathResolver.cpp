#include "platform/PathResolver.h"

#include "platform/Text.h"

#include <QByteArray>
#include <QFile>
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

QString PathResolverCache::Resolve(const QString& path)
{
    const QByteArray encoded = QFile::encodeName(path);
    if (encoded.isEmpty() || Exists(encoded))
        return path;
    const QByteArray resolved = ResolveEncoded(encoded);
    return resolved.isEmpty() ? path : QFile::decodeName(resolved);
}

QByteArray PathResolverCache::ResolveEncoded(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return Exists(path) ? path : CaseVariant(".", path);
    const QByteArray part = path.mid(slash + 1);
    QByteArray folder = path.left(slash);
    if (!folder.isEmpty()) {
        auto known = folders_.constFind(folder);
        if (known == folders_.cend())
            known = folders_.insert(folder, Exists(folder) ? folder : ResolveEncoded(folder));
        folder = *known;
        if (folder.isEmpty())
            return {};
    }
    const QByteArray prefix = folder + '/';
    if (part.isEmpty() || part == "." || part == ".." || Exists(prefix + part))
        return prefix + part;
    const QByteArray variant = CaseVariant(folder.isEmpty() ? QByteArray("/") : folder, part);
    return variant.isEmpty() ? QByteArray() : prefix + variant;
}

QByteArray PathResolverCache::CaseVariant(const QByteArray& folder, const QByteArray& component)
{
    auto listing = listings_.find(folder);
    if (listing == listings_.end()) {
        listing = listings_.insert(folder, {});
        if (DIR* dir = opendir(folder.constData())) {
            while (dirent* entry = readdir(dir)) {
                const QByteArray name(entry->d_name);
                QByteArray& best = (*listing)[UpperAscii(name)];
                if (best.isEmpty() || name < best)
                    best = name;
            }
            closedir(dir);
        }
    }
    return listing->value(UpperAscii(component));
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
