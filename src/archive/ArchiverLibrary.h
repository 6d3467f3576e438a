#pragma once
// The archiver libraries: libarchive, loaded at run time, with one adapter per
// container type (LZH, ZIP, CAB; 7z, tar, RAR for the wider set of formats)
// that enables only its own formats. Each adapter counts as present only when
// every entry point it calls was found.
#include "archive/ArchiveMember.h"
#include "archive/ExtractionBound.h"

#include <memory>
#include <optional>

namespace tz {

class ArchiverLibrary {
public:
    explicit ArchiverLibrary(ArchiveKind kind);
    ~ArchiverLibrary();
    ArchiverLibrary(const ArchiverLibrary&) = delete;
    ArchiverLibrary& operator=(const ArchiverLibrary&) = delete;

    // Loads the library file (a name the dynamic loader finds, or a path);
    // false, and nothing loaded, when it or one of its entry points is missing.
    bool Load(const QByteArray& libraryFile);
    void Free();
    bool IsLoaded() const { return handle_ != nullptr; }

    // Appends the file members passing the filter; returns the number of
    // members matching the wildcard ("*.tt?" for fonts, "*.*" otherwise),
    // 0 when the library is absent or the archive unreadable.
    int List(const QString& archivePath, MemberFilter filter, QList<ArchiveMember>& members) const;
    // Streams the member into a fresh file in the destination's folder and
    // moves it to destination. The member's name never chooses where bytes
    // are written. A member beyond the limits is refused.
    ExtractResult Extract(const QString& archivePath, const ArchiveMember& member, const QString& destination,
        const ExtractionLimits& limits = {}) const;

    class Reader;

    // Extracts members of one archive one after another over a single pass:
    // members asked for in the archive's order are found without reading the
    // archive again from its start; only a member the pass has already gone
    // by starts a new one.
    class Extraction {
    public:
        Extraction(const ArchiverLibrary& library, QString archivePath, ExtractionLimits limits = {});
        ~Extraction();
        Extraction(const Extraction&) = delete;
        Extraction& operator=(const Extraction&) = delete;

        // As ArchiverLibrary::Extract.
        ExtractResult Extract(const ArchiveMember& member, const QString& destination);

    private:
        // Searches from where the pass stands; none when the member was not
        // found there.
        std::optional<ExtractResult> ExtractAhead(const ArchiveMember& member, const QString& destination);

        const ArchiverLibrary& library_;
        QString path_;
        ExtractionLimits limits_;
        std::unique_ptr<Reader> reader_;
        bool atStart_ = false; // the pass has not gone by any member yet
    };
    // True when the file is an archive of this adapter's kind with at least
    // one member (the probe of ".EXE" files).
    bool Recognises(const QString& archivePath) const;

private:
    struct EntryPoints;

    ArchiveKind kind_;
    void* handle_ = nullptr;
    std::unique_ptr<EntryPoints> entries_;
};

// The adapter for ZIP, LZH or CAB (Zipttf32, Lzhttf, Cabttf), or for 7z, tar
// or RAR archives.
ArchiverLibrary& ArchiverFor(ArchiveKind kind);

} // namespace tz
