#pragma once
// Members of an archive as the rest of the program sees them, and the filters
// that pick font and document members.
#include "fontfile/FontFormats.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace tz {

// The container types; ".EXE" files are probed for ZIP, LZH or CAB. 7z, tar
// (also compressed) and RAR archives are read only with the wider set of
// formats.
enum class ArchiveKind { None, Zip, Lzh, Cab, SevenZip, Tar, Rar };

struct ArchiveMember {
    // The member's name as text, folders included ("/" or "\\" separate them).
    QString Name;
    // The name's bytes as the archive stores them; finds the member again
    // exactly. Empty when only the name is known (an upper-cased stored name):
    // then the member is looked up by Name, ignoring ASCII case and which
    // separator it uses.
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

// The outcome of extracting one member.
class ExtractResult {
public:
    enum class Outcome {
        Extracted,
        Failed, // unreadable, damaged, not found, not written
        TooLarge, // refused: it would grow past its bound (see ExtractionBound)
    };
    ExtractResult(Outcome outcome)
        : outcome_(outcome)
    {
    }
    static ExtractResult Of(bool extracted) { return extracted ? Outcome::Extracted : Outcome::Failed; }

    // True when the member's bytes are at the destination.
    explicit operator bool() const { return outcome_ == Outcome::Extracted; }
    bool IsTooLarge() const { return outcome_ == Outcome::TooLarge; }

private:
    Outcome outcome_;
};

enum class MemberFilter {
    Fonts, // ".TTF" and ".TTC"
    WiderFonts, // also the formats of the wider set (".OTF", ".WOFF2", ...)
    Documents, // read-me files and "LICENSE"
    AnyFile, // every file member (lookup by name)
};

bool IsFontMember(const QString& name);
// The filter for font members of the formats read.
MemberFilter FontMembersOf(FontFormats formats);
bool IsDocumentMember(const QString& name);
bool Accepts(MemberFilter filter, const QString& name);

// Text of a member name: UTF-8 when the bytes are valid UTF-8 (ZIP's UTF-8
// flag, and names written on Linux), otherwise CP932 as written by Japanese
// systems, otherwise Latin-1 so that no name is ever lost.
QString DecodeMemberName(const QByteArray& raw);

// The form member names are compared in when only their text is known: ASCII
// letters upper-cased and "\\" taken as "/", since lists written on Windows
// separate a member's folders with "\\" where the library reports "/".
QString MemberLookupName(const QString& name);

// True when the member named so is the one asked for: the same bytes when the
// request carries them, otherwise the same lookup name.
bool IsRequestedMember(const ArchiveMember& request, const QByteArray& raw);

} // namespace tz
