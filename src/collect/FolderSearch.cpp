#include "collect/FolderSearch.h"

#include "platform/Text.h"

#include <QFile>
#include <dirent.h>
#include <sys/stat.h>
#include <vector>

namespace tz {

namespace {

    bool IsFontExtension(const QString& ext) { return ext == u".TTF" || ext == u".TTC" || ext == u".OTF"; }
    bool IsArchiveExtension(const QString& ext) { return ext == u".ZIP" || ext == u".LZH" || ext == u".CAB"; }

    // The entry names of a folder in the order the file system returns them.
    // The folder is closed again before the entries are visited, so a deep
    // tree holds no open folders.
    bool ListFolder(const QString& folder, std::vector<QByteArray>& names)
    {
        DIR* dir = opendir(QFile::encodeName(folder).constData());
        if (!dir)
            return false;
        while (const dirent* entry = readdir(dir)) {
            const QByteArray name(entry->d_name);
            if (name != "." && name != "..")
                names.push_back(name);
        }
        closedir(dir);
        return true;
    }

} // namespace

bool IsSearchedFile(const QString& name, const FolderSearchSettings& settings)
{
    const QString ext = UpperExtension(name);
    return IsFontExtension(ext) || (settings.Archives && IsArchiveExtension(ext))
        || (settings.SelfExtracting && ext == u".EXE");
}

void FolderSearch::Run(const QString& folder)
{
    stopped_ = false;
    visited_.clear();
    SearchFolder(folder);
}

void FolderSearch::SearchFolder(const QString& folder)
{
    Progress(kListingPhase, folder);
    struct stat st;
    if (stat(QFile::encodeName(folder).constData(), &st) != 0
        || !visited_.insert({ static_cast<unsigned long>(st.st_dev), static_cast<unsigned long>(st.st_ino) }).second)
        return;
    std::vector<QByteArray> names;
    if (!ListFolder(folder, names))
        return;
    const FolderSearchSettings settings = ReadSettings();
    const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
    for (const QByteArray& encoded : names) {
        if (stopped_)
            break;
        LetEventsRun();
        if (stopped_)
            break;
        const QString name = QFile::decodeName(encoded);
        const QString path = prefix + name;
        if (stat(QFile::encodeName(path).constData(), &st) != 0)
            continue;
        if (S_ISDIR(st.st_mode))
            SearchFolder(path);
        else if (S_ISREG(st.st_mode))
            AnalyseEntry(path, name, settings);
    }
}

void FolderSearch::AnalyseEntry(const QString& path, const QString& name, const FolderSearchSettings& settings)
{
    if (!IsSearchedFile(name, settings))
        return;
    Progress(kAnalysisPhase, path);
    const QString ext = UpperExtension(name);
    if (!AddFile(path, settings.FaceSelection) && !IsArchiveExtension(ext) && ext != u".EXE")
        FailedNames << name;
}

} // namespace tz
