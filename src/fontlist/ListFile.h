#pragma once
// The font list file (.tzl): a "[Generator]" header and a "[List099]" section
// with one tab-separated row per entry, CR LF line ends, UTF-8. Lists of the
// previous format ("[List098]", rows without the size) are read and converted.
#include "fontlist/FontEntry.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

namespace tz {

class FontList;

// One row as written in the file, without its line end. Line breaks and NUL
// characters inside a field are written as blanks, and so are tabs except in
// the size (the last field), so that every row reads back as the same row.
QByteArray FormatListRow(const FontEntry& entry);

// The whole file content for the rows of list, in display order.
QByteArray FormatListFile(const FontList& list);

// Writes list to path atomically: the old file stays intact unless the new one
// was written completely. A device or FIFO at path is written into instead of
// being replaced. False when writing failed.
bool WriteListFile(const FontList& list, const QString& path);

enum class ListFormat {
    None, // no "[List0" line: not a font list, nothing to read
    Current, // "[List099]" (any "[List0" line but the previous one)
    Previous, // "[List098]"
};

enum class ListReadStatus {
    Read, // the file was read to its end (rows may still have failed)
    CannotOpen, // the file could not be opened or read
    InternalError, // reading stopped on an unexpected error; rows read before stay
};

// Measures the font of a previous-format row (stored file path and member
// name) and returns its size as decimal text.
using MeasureFontSize = std::function<QString(const QString& filePath, const QString& memberName)>;

struct ListReadOptions {
    // Re-base each row's file path on the drive of the list file.
    bool IgnoreDriveLetter = false;
    // The mount table for re-basing; read from the system when empty.
    QStringList MountPoints;
    // Asked once before a previous-format list is converted; unset declines.
    std::function<bool()> ConfirmConversion;
    // Sizes of previous-format rows; unset records "0".
    MeasureFontSize MeasureSize;
};

struct ListReadResult {
    ListReadStatus Status = ListReadStatus::Read;
    ListFormat Format = ListFormat::None;
    bool ConversionDeclined = false;
    int Added = 0; // rows appended to the list
    int Failures = 0; // lines of the section that were not rows
};

// Appends the rows of the list file at path to list (each new row selected).
ListReadResult ReadListFile(FontList& list, const QString& path, const ListReadOptions& options);

// The bytes of a list file, read whole before any row is taken.
struct ListFileBytes {
    ListReadStatus Status = ListReadStatus::Read; // CannotOpen, or InternalError when memory ran out
    QByteArray Content;
};
ListFileBytes LoadListFile(const QString& path);

// Whether content is a font list: it holds a section line ("[List0..."). The
// lines before it are never checked (lists made on other systems carry other
// headers), and a list without rows still has its section line; a file
// without one (another kind of file, random bytes, an empty file) is none.
bool IsFontList(const QByteArray& content);

// The same for the file's content; listPath is where the file lies (for the
// drive-letter option).
ListReadResult ReadListContent(
    FontList& list, const QByteArray& content, const QString& listPath, const ListReadOptions& options);

} // namespace tz
