#pragma once
// Copying the font files behind the selected rows into a folder. Each file is
// copied once however many rows share it; archive members are extracted
// first, Macintosh fonts written as TrueType files. Copied rows are
// deselected, so the rows left selected are the ones not copied. Problems are
// collected as message lines for the caller to show.
#include "fileops/FontFileCopy.h"

#include <QSet>
#include <QStringList>
#include <functional>
#include <optional>

namespace tz {

class FontList;

inline const QString kCopyStopped = QStringLiteral("コピーを中断しました．");
inline const QString kNoFreeSpace = QStringLiteral("空き容量がたりません．");
inline const QString kCopyAbandoned = QStringLiteral("コピーを中止します");

class CopyRun {
public:
    CopyRun(FontList& list, QString workFolder);

    QString Destination;
    bool AddExtension = true; // the copy-extension setting
    FontFormats Formats = FontFormats::Designed; // which archives and font files are read

    // Row index i of the selected rows (0 .. count-1) is being handled.
    std::function<void(int index, int count)> Progress;
    // The name of the file being copied.
    std::function<void(const QString& name)> Status;
    // Lets pending window events run (Stop is pressed through them).
    std::function<void()> LetEventsRun;
    // Asked when the target exists: the path to copy to instead, or nothing
    // to skip the row. Unset: the target is left alone and its path noted in
    // KeptTargets.
    std::function<std::optional<QString>(const QString& target)> AskTargetName;
    FreeSpaceQuery FreeBytes = FreeBytesOf;

    // Copies the selected rows.
    void Run();
    // Ends the run before the next row.
    void Stop() { running_ = false; }
    bool Running() const { return running_; }

    const QStringList& Messages() const { return messages_; }
    const QStringList& KeptTargets() const { return keptTargets_; }
    int CopiedFiles() const { return copied_; }

private:
    enum class Step { Next, End };
    Step CopyRow(int row);
    // kind: the kind the file is written as (WrittenKind).
    void CopyTo(const FontEntry& entry, int kind, int row, const FontSource& source, const QString& target,
        ExistingTarget existing);

    FontList& list_;
    QString workFolder_;
    bool running_ = false;
    QStringList messages_;
    QStringList keptTargets_;
    QSet<QString> copiedKeys_;
    int copied_ = 0;
};

} // namespace tz
