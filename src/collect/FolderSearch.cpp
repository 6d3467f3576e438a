#include "collect/FolderSearch.h"

#include "archive/ArchiveNames.h"
#include "fontfile/FontExtensions.h"
#include "platform/Text.h"

#include <QFile>
#include <algorithm>
#include <dirent.h>
#include <iterator>
#include <sys/stat.h>
#include <vector>

namespace tz {

namespace {

    // name: the file's name or its end (see NameTail).
    bool IsArchiveName(QStringView name, FontFormats formats)
    {
        return ArchiveKindOfName(name, formats) != ArchiveKind::None;
    }
    bool IsSearchedName(QStringView name, const FolderSearchSettings& settings)
    {
        return IsSearchedFontName(name, settings.Formats)
            || (settings.Archives && IsArchiveName(name, settings.Formats))
            || (settings.SelfExtracting && IsExecutableName(name));
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

    // The end of an entry's name, long enough for every searched extension
    // (".TAR.BZ2"), read from its bytes without decoding the name: the
    // extensions are ASCII, so a byte of a multi-byte character never
    // matches them. Most entries of a tree are not searched, so this costs
    // them no allocation.
    class NameTail {
    public:
        explicit NameTail(QByteArrayView name)
        {
            for (const char c : name.last(std::min(name.size(), qsizetype(std::size(chars_)))))
                chars_[size_++] = char16_t(static_cast<unsigned char>(c));
        }
        QStringView View() const { return QStringView(chars_, size_); }

    private:
        char16_t chars_[8] = {};
        qsizetype size_ = 0;
    };

} // namespace

bool IsSearchedFile(const QString& name, const FolderSearchSettings& settings)
{
    return IsSearchedName(FileNamePart(name), settings);
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
            const NameTail tail(name);
            if (IsSearchedName(tail.View(), settings))
                AnalyseEntry(prefix, decoded(), tail.View(), settings);
        }
    }
}

void FolderSearch::AnalyseEntry(
    const QString& folder, const QString& name, QStringView nameTail, const FolderSearchSettings& settings)
{
    const QString path = folder + name;
    Progress(kAnalysisPhase, path);
    const AddOutcome outcome = AddFile(path, settings.FaceSelection);
    if (outcome != AddOutcome::Added && !IsArchiveName(nameTail, settings.Formats) && !IsExecutableName(nameTail))
        Failed << NotAddedFile { name, outcome };
}

} // namespace tz
