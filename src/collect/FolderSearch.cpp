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

    // The entries of a folder in the order the file system returns them, their
    // names kept one after another in one buffer. The folder is closed again
    // before the entries are visited, so a deep tree holds no open folders.
    class FolderListing {
    public:
        struct Entry {
            qsizetype offset; // of the name, zero-terminated, in the buffer
            qsizetype size;
            unsigned char type; // DT_DIR, DT_REG, ...; DT_UNKNOWN when the file system doesn't say
        };

        bool Read(const QString& folder)
        {
            DIR* dir = opendir(QFile::encodeName(folder).constData());
            if (!dir)
                return false;
            while (const dirent* entry = readdir(dir)) {
                const QByteArrayView name(entry->d_name);
                if (name == "." || name == "..")
                    continue;
                entries_.push_back({ names_.size(), name.size(), entry->d_type });
                names_.append(name).append('\0');
            }
            closedir(dir);
            return true;
        }

        const std::vector<Entry>& Entries() const { return entries_; }
        QByteArrayView Name(const Entry& entry) const
        {
            return QByteArrayView(names_.constData() + entry.offset, entry.size);
        }

    private:
        QByteArray names_;
        std::vector<Entry> entries_;
    };

    // The type of an entry: the folder listing's answer, or, for a symbolic
    // link or a file system that gives none, what the path leads to.
    unsigned char EntryType(unsigned char listed, const QByteArray& folder, QByteArrayView name)
    {
        if (listed != DT_UNKNOWN && listed != DT_LNK)
            return listed;
        struct stat st;
        if (stat((folder + name.data()).constData(), &st) != 0) // the name is zero-terminated
            return DT_UNKNOWN;
        return S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG : DT_UNKNOWN;
    }

    // The upper-cased extension of an entry's name, read from its bytes
    // without decoding the name, when it is no longer than the searched ones
    // (a dot and three ASCII letters); empty otherwise. Most entries of a
    // tree are not searched, so this costs them no allocation.
    class ShortExtension {
    public:
        explicit ShortExtension(QByteArrayView name)
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
    FolderListing listing;
    if (!listing.Read(folder))
        return;
    const FolderSearchSettings settings = ReadSettings();
    const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
    const QByteArray encodedPrefix = QFile::encodeName(prefix);
    for (const FolderListing::Entry& entry : listing.Entries()) {
        if (stopped_)
            break;
        LetEventsRun();
        if (stopped_)
            break;
        const QByteArrayView name = listing.Name(entry);
        // Decoded as QFile::decodeName does, without copying the bytes first.
        const auto decoded = [name] { return QString::fromLocal8Bit(name); };
        const unsigned char type = EntryType(entry.type, encodedPrefix, name);
        if (type == DT_DIR) {
            SearchFolder(prefix + decoded());
        } else if (type == DT_REG) {
            const ShortExtension ext(name);
            if (IsSearchedExtension(ext.View(), settings))
                AnalyseEntry(prefix, decoded(), ext.View(), settings);
        }
    }
}

void FolderSearch::AnalyseEntry(
    const QString& folder, const QString& name, QStringView ext, const FolderSearchSettings& settings)
{
    const QString path = folder + name;
    Progress(kAnalysisPhase, path);
    const AddOutcome outcome = AddFile(path, settings.FaceSelection);
    if (outcome != AddOutcome::Added && !IsArchiveExtension(ext) && ext != u".EXE")
        Failed << NotAddedFile { name, outcome };
}

} // namespace tz
