#include "collect/FontAdder.h"

#include "archive/Archivettf.h"
#include "fontfile/FontFileReader.h"
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

bool IsArchivePath(const QString& path)
{
    const QString ext = UpperExtension(path);
    return ext == u".ZIP" || ext == u".LZH" || ext == u".CAB" || ext == u".EXE";
}

FontAdder::FontAdder(FontList& list, QString workFolder)
    : list_(list)
    , workFolder_(std::move(workFolder))
{
}

void FontAdder::AddPath(const QString& path, int faceSelection) { AddPathOnDisk(ResolvePath(path), faceSelection); }

void FontAdder::AddPathOnDisk(const QString& path, int faceSelection)
{
    if (!IsArchivePath(path)) {
        AddFontFile(path, QString(), path, faceSelection);
        return;
    }
    OpenedArchive archive(path);
    const MemberListing listing = archive.List(MemberFilter::Fonts);
    if (listing.Failed())
        return;
    const QString temp = workFolder_ + u'/' + kArchiveTemp;
    const RemovedOnSignal removal(temp);
    for (const ArchiveMember& member : listing.Members) {
        const ExtractResult extracted = archive.Extract(member, temp);
        // A member refused for its size is named in the summary; one that is
        // merely unreadable is skipped silently.
        if (extracted.IsTooLarge())
            FailedNames << FileNamePart(path) + u'/' + member.Name;
        if (!extracted)
            continue;
        AddFontFile(path, member.Name, temp, faceSelection);
        QFile::remove(temp);
    }
}

void FontAdder::AddFontFile(const QString& shownPath, const QString& member, const QString& readPath, int faceSelection)
{
    const FontFileAnalysis analysis = AnalyseFontFile(readPath, workFolder_);
    const qsizetype faces = analysis.FamilyNames.size();
    if (faces == 0)
        return;
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
}

bool FontAdder::AddPathNoting(const QString& path, int faceSelection)
{
    const int before = list_.Count();
    AddPath(path, faceSelection);
    if (list_.Count() != before)
        return true;
    FailedNames << FileNamePart(path);
    return false;
}

QString FontAdder::Summary(const QString& closingLine) const
{
    if (FailedNames.isEmpty())
        return {};
    QString text;
    for (const QString& name : FailedNames)
        text += name + QStringLiteral("\r\n");
    return text + closingLine;
}

} // namespace tz
