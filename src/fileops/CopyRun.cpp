#include "fileops/CopyRun.h"

#include "fontlist/FontList.h"

#include <QFileInfo>

namespace tz {

CopyRun::CopyRun(FontList& list, QString workFolder)
    : list_(list)
    , workFolder_(std::move(workFolder))
{
}

void CopyRun::Run()
{
    messages_.clear();
    keptTargets_.clear();
    copiedKeys_.clear();
    copied_ = 0;
    running_ = true;
    std::vector<int> rows;
    for (int row = 0; row < list_.Count(); ++row) {
        if (list_.IsSelected(row))
            rows.push_back(row);
    }
    const int count = int(rows.size());
    for (int i = 0; i < count; ++i) {
        if (Progress)
            Progress(i, count);
        if (LetEventsRun)
            LetEventsRun();
        if (!running_) {
            messages_ << kCopyStopped;
            break;
        }
        if (CopyRow(rows[size_t(i)]) == Step::End)
            break;
    }
    running_ = false;
}

CopyRun::Step CopyRun::CopyRow(int row)
{
    const FontEntry& entry = list_.Entry(row);
    const QString key = FileKey(entry);
    if (copiedKeys_.contains(key))
        return Step::Next;
    copiedKeys_.insert(key);

    const std::optional<FontSource> source = FontSource::Obtain(entry, workFolder_, Formats);
    if (!source) {
        messages_ << NotExtractedLine(entry);
        return Step::Next;
    }
    if (Status)
        Status(source->Name());
    if (LetEventsRun)
        LetEventsRun();

    const int kind = WrittenKind(source->Name(), entry.Kind, Formats);
    const QString target = Destination + u'/' + TargetFileName(source->Name(), kind, AddExtension, Formats);
    const std::optional<qint64> free = FreeBytes ? FreeBytes(Destination) : std::nullopt;
    if (free && QFileInfo::exists(source->Path()) && source->Size() > *free) {
        messages_ << kNoFreeSpace << kCopyAbandoned;
        return Step::End;
    }
    if (!QFileInfo(target).exists() && !QFileInfo(target).isSymLink()) {
        CopyTo(entry, kind, row, *source, target, ExistingTarget::Keep);
        return Step::Next;
    }
    if (!AskTargetName) {
        keptTargets_ << target;
        return Step::Next;
    }
    if (const std::optional<QString> chosen = AskTargetName(target))
        CopyTo(entry, kind, row, *source, *chosen, ExistingTarget::Replace);
    return Step::Next;
}

void CopyRun::CopyTo(const FontEntry& entry, int kind, int row, const FontSource& source, const QString& target,
    ExistingTarget existing)
{
    if (!CopyOneFont(kind, source.Path(), target, existing)) {
        messages_ << entry.FaceName + QStringLiteral("がコピーできませんでした.");
        return;
    }
    ++copied_;
    list_.SetSelected(row, false);
}

} // namespace tz
