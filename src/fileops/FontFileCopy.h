#pragma once
// Writing the font files behind list rows into a folder: the source file is
// found on disk (an archive member is extracted into the work folder first),
// named after the file on disk or in the archive, and written through a
// temporary file beside the target, so a failed copy never leaves a partial
// file and nothing is written outside the target folder.
#include "fontfile/FontFormats.h"
#include "fontlist/FontEntry.h"
#include "platform/RemovedOnSignal.h"
#include "platform/ReplacingFile.h"

#include <QString>
#include <functional>
#include <optional>

namespace tz {

// The line of a copy or install log for a row whose file could not be
// obtained: the face name and the file's path as shown.
QString NotExtractedLine(const FontEntry& entry);

// The name a written file gets. With addExtension, a name whose extension is
// neither ".TTF" nor ".TTC" gains ".ttc" for kind 3 (several Macintosh faces)
// and ".ttf" otherwise; with the wider set of formats a name with the
// extension of one of its formats (".WOFF2", ...) keeps it alone.
QString TargetFileName(
    const QString& name, int kind, bool addExtension, FontFormats formats = FontFormats::Designed);

// The kind a file is written as: with the wider set of formats a data-fork
// suitcase (".DFONT", named like a Macintosh file) is copied as it is rather
// than taken out of a MacBinary file.
int WrittenKind(const QString& name, int kind, FontFormats formats);

// A name usable as a file directly inside a folder: not empty, not "." or
// "..", without "/" or "\\".
bool IsPlainFileName(const QString& name);

// The file to be written for one row.
class FontSource {
public:
    // Finds the row's file: a plain file as it lies on disk; an archive member
    // extracted to workFolder under its own last name component. Nothing when
    // the member can't be found or extracted, or its name is not a plain file
    // name.
    static std::optional<FontSource> Obtain(
        const FontEntry& entry, const QString& workFolder, FontFormats formats = FontFormats::Designed);
    // Deletes an extracted member.
    ~FontSource();
    FontSource(FontSource&& other) noexcept;
    FontSource(const FontSource&) = delete;
    FontSource& operator=(const FontSource&) = delete;
    FontSource& operator=(FontSource&&) = delete;

    // The same font as a plain TrueType file: a Macintosh font (kind 2 or
    // 3) is extracted into workFolder; any other source is taken as it is.
    // Nothing when the extraction fails.
    static std::optional<FontSource> AsTrueType(FontSource&& source, int kind, const QString& workFolder);

    const QString& Path() const { return path_; }
    const QString& Name() const { return name_; }
    qint64 Size() const;

private:
    FontSource(QString path, QString name, bool temporary);
    QString path_;
    QString name_;
    bool temporary_ = false;
    RemovedOnSignal removal_; // of an extracted member
};

// Writes source to target. Kinds 0 and 1: the bytes are copied and the target
// gets the source's permissions with owner write added, and its times.
// Kinds 2 and 3: the font is extracted from the Macintosh file and the target
// gets the source's times. With ExistingTarget::Keep an existing target makes
// the copy fail and stays untouched.
bool CopyOneFont(
    int kind, const QString& source, const QString& target, ExistingTarget existing = ExistingTarget::Replace);

// Free bytes of the volume holding folder; nothing when it can't be told.
std::optional<qint64> FreeBytesOf(const QString& folder);
using FreeSpaceQuery = std::function<std::optional<qint64>(const QString& folder)>;

// Whether two files hold the same bytes.
bool SameContent(const QString& a, const QString& b);

} // namespace tz
