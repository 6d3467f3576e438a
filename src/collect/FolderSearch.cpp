#include "collect/FolderSearch.h"

#include "platform/Text.h"

#include <QFile>
#include <dirent.h>
#include <iterator>
#include <sys/stat.h>
#include <vector>

namespace tz {

namespace {

    bool IsFontExtension(QStringView ext) { return ext == u".TTF" || ext == u".TTC" || ext == u".OTF"; }
    bool IsArchiveExtension(QStringView ext) { return ext == u".ZIP" || ext == u".LZH" || ext == u".CAB"; }
    bool IsSearchedExtension(QStringView ext, const FolderSearchSettings& settings)
    {
        return IsFontExtension(ext) || (settings.Archives && IsArchiveExtension(ext))
            || (settings.SelfExtracting && ext == u".EXE");
    }

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
    unsigned char EntryType(const FolderEntry& entry, const QByteArray& folder)
    {
        if (entry.type != DT_UNKNOWN && entry.type != DT_LNK)
            return entry.type;
        struct stat st;
        if (stat((folder + entry.name).constData(), &st) != 0)
            return DT_UNKNOWN;
        return S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG : DT_UNKNOWN;
    }

    // The upper-cased extension of an entry's name, read from its bytes
    // without decoding the name, when it is no longer than the searched ones
    // (a dot and three ASCII letters); empty otherwise. Most entries of a
    // tree are not searched, so this costs them no allocation.
    class ShortExtension {
    public:
        explicit ShortExtension(const QByteArray& name)
        {
            const qsizetype dot = name.lastIndexOf('.');
            if (dot < 0 || name.size() - dot > qsizetype(std::size(chars_)))
                return;
            for (qsizetype i = dot; i < name.size(); ++i) {
                const auto c = static_cast<unsigned char>(name[i]);
                chars_[size_++] = char16_t(c >= 'a' && c <= 'z' ? c - 0x20 : c);
            }
        }
        QStringView View() const { return QStringView(chars_, size_); }

    private:
        char16_t chars_[4] = {};
        qsizetype size_ = 0;
    };

} // namespace

bool IsSearchedFile(const QString& name, const FolderSearchSettings& settings)
{
    return IsSearchedExtension(UpperExtension(name), settings);
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
        const unsigned char type = EntryType(entry, encodedPrefix);
        if (type == DT_DIR) {
            SearchFolder(prefix + QFile::decodeName(entry.name));
        } else if (type == DT_REG) {
            const ShortExtension ext(entry.name);
            if (IsSearchedExtension(ext.View(), settings))
                AnalyseEntry(prefix, QFile::decodeName(entry.name), ext.View(), settings);
        }
    }
}

void FolderSearch::AnalyseEntry(
    const QString& folder, const QString& name, QStringView ext, const FolderSearchSettings& settings)
{
    const QString path = folder + name;
    Progress(kAnalysisPhase, path);
    if (!AddFile(path, settings.FaceSelection) && !IsArchiveExtension(ext) && ext != u".EXE")
        FailedNames << name;
}

} // namespace tz
