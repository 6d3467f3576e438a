#pragma once
// The archiver libraries: libarchive, loaded at run time, with one adapter per
// container type (LZH, ZIP, CAB) that enables only its own format. Each adapter
// counts as present only when every entry point it calls was found.
#include "archive/ArchiveMember.h"

#include <memory>

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
    // are written.
    bool Extract(const QString& archivePath, const ArchiveMember& member, const QString& destination) const;

    class Reader;

    // Extracts members of one archive one after another over a single pass:
    // members asked for in the archive's order are found without reading the
    // archive again from its start; only a member the pass has already gone
    // by starts a new one.
    class Extraction {
    public:
        Extraction(const ArchiverLibrary& library, QString archivePath);
        ~Extraction();
        Extraction(const Extraction&) = delete;
        Extraction& operator=(const Extraction&) = delete;

        // As ArchiverLibrary::Extract.
        bool Extract(const ArchiveMember& member, const QString& destination);

    private:
        // Searches from where the pass stands; true when the member was found,
        // copied tells whether its extraction succeeded.
        bool ExtractAhead(const ArchiveMember& member, const QString& destination, bool& copied);

        const ArchiverLibrary& library_;
        QString path_;
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

// The adapter for ZIP, LZH or CAB (Zipttf32, Lzhttf, Cabttf).
ArchiverLibrary& ArchiverFor(ArchiveKind kind);

} // namespace tz
