#pragma once
// Members of an archive as the rest of the program sees them, and the filters
// that pick font and document members.
#include <QByteArray>
#include <QList>
#include <QString>

namespace tz {

// The container types; ".EXE" files are probed for one of the others.
enum class ArchiveKind { None, Zip, Lzh, Cab };

struct ArchiveMember {
    // The member's name as text, folders included ("/" or "\\" separate them).
    QString Name;
    // The name's bytes as the archive stores them; finds the member again
    // exactly. Empty when only the name is known (an upper-cased stored name):
    // then the member is looked up by Name, ignoring ASCII case.
    QByteArray RawName;
};

struct MemberListing {
    // Members visited (built-in ZIP reader) or members matching the library's
    // wildcard ("*.tt?" for fonts, "*.*" otherwise). May exceed Members.size();
    // 0 means the archive can't be read or has nothing to offer.
    int Count = 0;
    // The members that passed the filter, in the archive's order, duplicates kept.
    QList<ArchiveMember> Members;

    bool Failed() const { return Count == 0; }
};

enum class MemberFilter {
    Fonts, // ".TTF" and ".TTC"
    Documents, // read-me files and "LICENSE"
    AnyFile, // every file member (lookup by name)
};

bool IsFontMember(const QString& name);
bool IsDocumentMember(const QString& name);
bool Accepts(MemberFilter filter, const QString& name);

// Text of a member name: UTF-8 when the bytes are valid UTF-8 (ZIP's UTF-8
// flag, and names written on Linux), otherwise CP932 as written by Japanese
// systems, otherwise Latin-1 so that no name is ever lost.
QString DecodeMemberName(const QByteArray& raw);

// True when the member named so is the one asked for: the same bytes when the
// request carries them, otherwise the same text ignoring ASCII case.
bool IsRequestedMember(const ArchiveMember& request, const QByteArray& raw);

} // namespace tz
