#include "platform/WorkFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tz {

namespace {

    constexpr char kOwnerMark[] = "typozind.owner";
    constexpr char kOwnerText[] = "Typoscan Zindel work folder\n";
    constexpr time_t kSettleSeconds = 60;

    // "tzQ" and the six letters or digits mkdtemp puts in place of "XXXXXX".
    bool IsWorkFolderName(const char* name)
    {
        if (std::strlen(name) != 9 || std::strncmp(name, "tzQ", 3) != 0)
            return false;
        for (const char* c = name + 3; *c; ++c) {
            const bool alnum = (*c >= 'a' && *c <= 'z') || (*c >= 'A' && *c <= 'Z') || (*c >= '0' && *c <= '9');
            if (!alnum)
                return false;
        }
        return true;
    }

    bool IsPrivateFolderOfThisUser(const struct stat& info)
    {
        return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & 07777) == 0700;
    }

    void WriteOwnerMark(int folderFd)
    {
        const int fd = ::openat(folderFd, kOwnerMark, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0)
            return;
        const ssize_t size = ssize_t(sizeof kOwnerText - 1);
        if (::write(fd, kOwnerText, size_t(size)) != size)
            ::unlinkat(folderFd, kOwnerMark, 0);
        ::close(fd);
    }

    bool HasOwnerMark(int folderFd)
    {
        const int fd = ::openat(folderFd, kOwnerMark, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            return false;
        struct stat info { };
        char text[sizeof kOwnerText] = {};
        const bool marked = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == ::geteuid()
            && ::read(fd, text, sizeof text) == ssize_t(sizeof kOwnerText - 1)
            && std::memcmp(text, kOwnerText, sizeof kOwnerText - 1) == 0;
        ::close(fd);
        return marked;
    }

    // Deletes every entry directly inside the opened folder that is not a
    // folder itself. Names are taken relative to the folder's descriptor and
    // links are removed, never followed.
    void EmptyFolderAt(int folderFd)
    {
        DIR* listing = ::fdopendir(::dup(folderFd));
        if (!listing)
            return;
        ::rewinddir(listing);
        while (const dirent* entry = ::readdir(listing)) {
            struct stat info { };
            if (::fstatat(folderFd, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISDIR(info.st_mode))
                ::unlinkat(folderFd, entry->d_name, 0);
        }
        ::closedir(listing);
    }

    // Work folders of processes that were killed: their lock went with them.
    // A folder changed in the last minute is left alone, so one made by a
    // process that has not locked it yet is never taken.
    void RemoveAbandonedWorkFolders()
    {
        const int tempFd = ::open(QFile::encodeName(QDir::tempPath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (tempFd < 0)
            return;
        DIR* listing = ::fdopendir(::dup(tempFd));
        const time_t settled = std::time(nullptr) - kSettleSeconds;
        while (const dirent* entry = listing ? ::readdir(listing) : nullptr) {
            if (!IsWorkFolderName(entry->d_name))
                continue;
            const int fd = ::openat(tempFd, entry->d_name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (fd < 0)
                continue;
            struct stat info { };
            if (::fstat(fd, &info) == 0 && IsPrivateFolderOfThisUser(info) && info.st_mtime < settled
                && ::flock(fd, LOCK_EX | LOCK_NB) == 0 && HasOwnerMark(fd)) {
                EmptyFolderAt(fd);
                ::unlinkat(tempFd, entry->d_name, AT_REMOVEDIR);
            }
            ::close(fd);
        }
        if (listing)
            ::closedir(listing);
        ::close(tempFd);
    }

} // namespace

WorkFolder::WorkFolder()
{
    RemoveAbandonedWorkFolders();
    QByteArray pattern = QFile::encodeName(QDir::tempPath() + QStringLiteral("/tzQXXXXXX"));
    if (mkdtemp(pattern.data())) {
        path_ = QFile::decodeName(pattern);
        // An exclusive lock on the folder itself, held while the fd is open.
        lockFd_ = ::open(pattern.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (lockFd_ >= 0 && ::flock(lockFd_, LOCK_EX | LOCK_NB) == 0)
            WriteOwnerMark(lockFd_);
    } else {
        path_ = QCoreApplication::applicationDirPath();
        fallback_ = true;
    }
}

WorkFolder::~WorkFolder()
{
    Remove();
    if (lockFd_ >= 0)
        ::close(lockFd_);
}

QString WorkFolder::File(const QString& name) const { return path_ + u'/' + name; }

bool WorkFolder::IsExtractedFontName(const QString& name)
{
    static const QStringList names = { QStringLiteral("typozind.arc.ttx"), QStringLiteral("typozind.mac.ttx"),
        QStringLiteral("typozind.arc.ttf"), QStringLiteral("typozind.mac.ttf") };
    return names.contains(name);
}

void WorkFolder::Remove()
{
    if (fallback_ || lockFd_ < 0)
        return;
    EmptyFolderAt(lockFd_);
    ::rmdir(QFile::encodeName(path_).constData());
}

} // namespace tz
