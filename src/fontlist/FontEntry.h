#pragma once
#include <QString>

namespace tz {

// One face found in one font file: one row of the font list.
struct FontEntry {
    QString FaceName;   // name ID 4; the row's caption
    QString FamilyName; // name ID 1
    QString FilePath;   // the font file or the archive holding it; upper-cased
    QString MemberName; // the file inside the archive, upper-cased; empty for a plain file
    QString Size;       // decimal byte count of the font data
    int Kind = 0;       // 1 set: several faces in the file; 2 set: from a Macintosh file
    bool Selected = false;
};

// The row's size in bytes; 0 when the text is not a decimal number (a
// hand-edited list file may hold anything there).
inline qint64 SizeBytes(const FontEntry& e)
{
    bool ok = false;
    const qint64 bytes = e.Size.toLongLong(&ok, 10);
    return ok ? bytes : 0;
}

// The file a row stands for: its path, followed by "/" and the member name
// for a font inside an archive. Rows with one key share one file.
inline QString FileKey(const FontEntry& entry)
{
    return entry.MemberName.isEmpty() ? entry.FilePath : entry.FilePath + u'/' + entry.MemberName;
}

// Kind values (also the row's icon index).
enum FontKind { kKindSingle = 0, kKindCollection = 1, kKindMac = 2, kKindMacCollection = 3 };

} // namespace tz
