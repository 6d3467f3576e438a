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

    struct FolderEntry {
        QByteArray name;
        unsigned char type; // DT_DIR, DT_REG, ...; DT_UNKNOWN when the file system doesn't say
    };

    // The entries of a folder in the order the file system returns them. The
    // folder is closed again before the entries are visited, so a deep tree
    // holds no open folders.
    bool ListFolder(const QString& folder, std::vector<FolderEntry>& entries)
    {
        DIR* dir = opendir(QFile::encodeName(folder).constData());
        if (!dir)
            return false;
        while (const dirent* entry = readdir(dir)) {
            const QByteArray name(entry->d_name);
            if (name != "." && name != "..")
                entries.push_back({ name, entry->d_type });
        }
        closedir(dir);
        return true;
    }

    // The type of an entry: the folder listing's answer, or, for a symbolic
    // link or a file system that gives none, what the path leads to.
    unsigned char EntryType(const FolderEntry& entry, const QByteArray& path)
    {
        if (entry.type != DT_UNKNOWN && entry.type != DT_LNK)
            return entry.type;
        struct stat st;
        if (stat(path.constData(), &st) != 0)
            return DT_UNKNOWN;
        return S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG : DT_UNKNOWN;
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
    std::vector<FolderEntry> entries;
    if (!ListFolder(folder, entries))
        return;
    const FolderSearchSettings settings = ReadSettings();
    const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
    const QByteArray encodedPrefix = QFile::encodeName(prefix);
    for (const FolderEntry& entry : entries) {
        if (stopped_)
            break;
        LetEventsRun();
        if (stopped_)
            break;
        const unsigned char type = EntryType(entry, encodedPrefix + entry.name);
        if (type != DT_DIR && type != DT_REG)
            continue;
        const QString name = QFile::decodeName(entry.name);
        if (type == DT_DIR)
            SearchFolder(prefix + name);
        else
            AnalyseEntry(prefix + name, name, settings);
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
