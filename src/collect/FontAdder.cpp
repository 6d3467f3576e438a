#include "collect/FontAdder.h"

#include "archive/ArchiveNames.h"
#include "archive/Archivettf.h"
#include "fontfile/FontFileReader.h"
#include "fontfile/RegularFile.h"
#include "fontlist/FontList.h"
#include "platform/PathResolver.h"
#include "platform/RemovedOnSignal.h"
#include "platform/Text.h"

#include <QFile>
#include <algorithm>

namespace tz {

namespace {

    const QString kArchiveTemp = QStringLiteral("typozind.arc.ttx");

    // A name read from a font may hold tabs or line breaks; in the list file
    // they would split the row, so every control character becomes a space.
    QString RowText(const QString& name)
    {
        const auto isControl = [](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; };
        if (std::none_of(name.cbegin(), name.cend(), isControl))
            return name;
        QString text = name;
        std::replace_if(text.begin(), text.end(), isControl, QChar(u' '));
        return text;
    }

} // namespace

bool IsArchivePath(const QString& path, FontFormats formats)
{
    const QString name = FileNamePart(path);
    return IsExecutableName(name) || ArchiveKindOfName(name, formats) != ArchiveKind::None;
}

FontAdder::FontAdder(FontList& list, QString workFolder, FontFormats formats)
    : list_(list)
    , workFolder_(std::move(workFolder))
    , formats_(formats)
{
}

AddOutcome FontAdder::AddPath(const QString& path, int faceSelection)
{
    return AddPathOnDisk(ResolvePath(path), faceSelection);
}

AddOutcome FontAdder::AddPathOnDisk(const QString& path, int faceSelection)
{
    if (!IsArchivePath(path, formats_))
        return AddFontFile(path, QString(), path, faceSelection);
    if (!RegularFile(path, RegularFile::Mode::Read).IsOpen())
        return AddOutcome::Unreadable;
    OpenedArchive archive(path, formats_);
    if (archive.Kind() == ArchiveKind::None)
        return AddOutcome::NotFont; // an ".EXE" that holds no archive
    const MemberListing listing = archive.List(FontMembersOf(formats_));
    const QString temp = workFolder_ + u'/' + kArchiveTemp;
    const RemovedOnSignal removal(temp);
    bool added = false;
    bool extracted = listing.Members.isEmpty();
    bool refused = false;
    for (const ArchiveMember& member : listing.Members) {
        const ExtractResult result = archive.Extract(member, temp);
        // A member refused for its size is named in the summary; one that is
        // merely unreadable is skipped silently.
        if (result.IsTooLarge()) {
            refused = true;
            Failed << NotAddedFile { FileNamePart(path) + u'/' + member.Name, AddOutcome::TooLarge };
        }
        if (!result)
            continue;
        extracted = true;
        added |= AddFontFile(path, member.Name, temp, faceSelection) == AddOutcome::Added;
        QFile::remove(temp);
    }
    // Font members listed but none could be taken out: the archive is damaged,
    // or its members were refused for their size.
    if (added)
        return AddOutcome::Added;
    if (extracted)
        return AddOutcome::NoFonts;
    return refused ? AddOutcome::TooLarge : AddOutcome::Damaged;
}

AddOutcome FontAdder::AddFontFile(
    const QString& shownPath, const QString& member, const QString& readPath, int faceSelection)
{
    const FontFileAnalysis analysis = AnalyseFontFile(readPath, workFolder_, formats_);
    const qsizetype faces = analysis.FamilyNames.size();
    if (faces == 0)
        return OutcomeOf(analysis.Problem);
    const int kind = (faces != 1 ? kKindCollection : kKindSingle) | (analysis.Macintosh ? kKindMac : 0);
    qsizetype first = 0, last = faces - 1;
    if (faceSelection == kFirstFace)
        last = 0;
    else if (faceSelection == kLastFace)
        first = last;
    const QString size = QString::number(analysis.Size);
    for (qsizetype i = first; i <= last; ++i)
        list_.AddEntry(RowText(analysis.FaceNames.value(i)), RowText(analysis.FamilyNames.value(i)), shownPath,
            RowText(member), size, kind);
    rowsAdded_ += int(last - first + 1);
    return AddOutcome::Added;
}

void FontAdder::NoteFailure(const QString& path, AddOutcome reason) { Failed << NotAddedFile { FileNamePart(path), reason }; }

bool FontAdder::AddPathNoting(const QString& path, int faceSelection)
{
    const AddOutcome outcome = AddPath(path, faceSelection);
    if (outcome == AddOutcome::Added)
        return true;
    NoteFailure(path, outcome);
    return false;
}

QString FontAdder::Summary(const QString& closingLine) const
{
    if (Failed.isEmpty())
        return {};
    QString text;
    for (const NotAddedFile& file : Failed)
        text += file.Name + QStringLiteral(": ") + ReasonText(file.Reason) + QStringLiteral("\r\n");
    return text + closingLine;
}

} // namespace tz
