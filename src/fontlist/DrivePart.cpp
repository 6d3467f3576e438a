#include "fontlist/DrivePart.h"

#include "platform/Text.h"

#include <QStorageInfo>

namespace tz {

namespace {

    bool IsSeparator(QChar c) { return c == u'/' || c == u'\\'; }

    qsizetype NextSeparator(const QString& path, qsizetype from)
    {
        for (qsizetype i = from; i < path.size(); ++i) {
            if (IsSeparator(path[i]))
                return i;
        }
        return path.size();
    }

    // Whether folder (without a trailing "/") holds path, ignoring ASCII case.
    bool Contains(const QString& folder, const QString& path)
    {
        if (folder.size() > path.size() || (folder.size() < path.size() && path[folder.size()] != u'/'))
            return false;
        return UpperAscii(path.left(folder.size())) == UpperAscii(folder);
    }

    qsizetype MountPointLength(const QString& path, const QStringList& mountPoints)
    {
        qsizetype longest = 0;
        for (QString mount : mountPoints) {
            while (mount.endsWith(u'/'))
                mount.chop(1);
            if (!mount.isEmpty() && mount.size() > longest && Contains(mount, path))
                longest = mount.size();
        }
        return longest;
    }

    // "/media/USER/LABEL", "/run/media/USER/LABEL" or "/mnt/NAME".
    qsizetype MediumFolderLength(const QString& path)
    {
        const QStringList parts = UpperAscii(path).split(u'/');
        int count = 0; // components of the medium folder
        if (parts.value(1) == u"MEDIA")
            count = 3;
        else if (parts.value(1) == u"RUN" && parts.value(2) == u"MEDIA")
            count = 4;
        else if (parts.value(1) == u"MNT")
            count = 2;
        if (count == 0 || parts.size() <= count)
            return 0;
        qsizetype length = 0;
        for (int i = 1; i <= count; ++i) {
            if (parts[i].isEmpty())
                return 0;
            length += 1 + parts[i].size();
        }
        return length;
    }

} // namespace

QStringList MountPoints()
{
    QStringList points;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        points << volume.rootPath();
    return points;
}

QString DrivePart(const QString& path, const QStringList& mountPoints)
{
    if (path.size() >= 2 && path[1] == u':' && path[0].isLetter() && path[0].unicode() < 0x80)
        return path.left(2);
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        const qsizetype serverEnd = NextSeparator(path, 2);
        return path.left(NextSeparator(path, serverEnd + 1));
    }
    if (!path.startsWith(u'/'))
        return {};
    const qsizetype length = std::max(MountPointLength(path, mountPoints), MediumFolderLength(path));
    return path.left(length);
}

QString RebaseOnListDrive(const QString& rowPath, const QString& listPath, const QStringList& mountPoints)
{
    const QString listDrive = DrivePart(listPath, mountPoints);
    QString rest = rowPath.mid(DrivePart(rowPath, mountPoints).size());
    if (!listDrive.isEmpty() && !rest.isEmpty() && !IsSeparator(rest[0]))
        rest.prepend(u'/');
    QString rebased = listDrive + rest;
    return rebased.replace(u'\\', u'/');
}

} // namespace tz
