#include "archive/ArchiveMember.h"

#include "fontfile/FontExtensions.h"
#include "platform/Text.h"

namespace tz {

bool IsFontMember(const QString& name) { return IsTrueTypeName(name); }

MemberFilter FontMembersOf(FontFormats formats)
{
    return formats == FontFormats::All ? MemberFilter::WiderFonts : MemberFilter::Fonts;
}

bool IsDocumentMember(const QString& name)
{
    static const QStringList documentExtensions { ".TXT", ".DIZ", ".DOC", ".RTF", ".WRI", ".HTM", ".HTML", ".URL" };
    return documentExtensions.contains(UpperExtension(name)) || UpperAscii(name) == u"LICENSE";
}

bool Accepts(MemberFilter filter, const QString& name)
{
    switch (filter) {
    case MemberFilter::Fonts:
        return IsFontMember(name);
    case MemberFilter::WiderFonts:
        return IsFontName(name, FontFormats::All);
    case MemberFilter::Documents:
        return IsDocumentMember(name);
    case MemberFilter::AnyFile:
        return true;
    }
    return false;
}

QString DecodeMemberName(const QByteArray& raw)
{
    if (IsValidUtf8(raw))
        return QString::fromUtf8(raw);
    if (const auto cp932 = DecodeCp932(raw))
        return *cp932;
    return QString::fromLatin1(raw);
}

QString MemberLookupName(const QString& name) { return UpperAscii(name).replace(u'\\', u'/'); }

bool IsRequestedMember(const ArchiveMember& request, const QByteArray& raw)
{
    if (!request.RawName.isEmpty())
        return raw == request.RawName;
    return MemberLookupName(DecodeMemberName(raw)) == MemberLookupName(request.Name);
}

} // namespace tz
