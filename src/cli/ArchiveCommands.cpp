// tzind archive-members / archive-extract: the font and document members of an
// archive, and the extraction of one member, as the program reads them.
#include "archive/Archivettf.h"
#include "cli/Commands.h"
#include "cli/FormatsOption.h"

namespace tz::cli {

namespace {

    void PrintListing(const char* what, const MemberListing& listing)
    {
        Out(QStringLiteral("%1 %2\n").arg(QLatin1String(what)).arg(listing.Count));
        for (const ArchiveMember& member : listing.Members)
            Out(QStringLiteral("  %1\n").arg(member.Name));
    }

    int ListMembersCommand(QStringList args)
    {
        const FontFormats formats = TakeFormatsOption(args);
        if (args.size() != 1)
            return kExitUsage;
        const MemberListing fonts = ListFontMembers(args[0], formats);
        const MemberListing documents = ListDocumentMembers(args[0], formats);
        PrintListing("fonts", fonts);
        PrintListing("documents", documents);
        return fonts.Failed() && documents.Failed() ? kExitFailure : kExitOk;
    }

    int ExtractMemberCommand(QStringList args)
    {
        const FontFormats formats = TakeFormatsOption(args);
        if (args.size() != 3)
            return kExitUsage;
        const std::optional<ArchiveMember> member = FindMember(args[0], args[1], formats);
        if (!member || !ExtractMember(args[0], *member, args[2], formats)) {
            Err(QStringLiteral("cannot extract %1 from %2\n").arg(args[1], args[0]));
            return kExitFailure;
        }
        return kExitOk;
    }

    const CommandRegistration listRegistration({ "archive-members",
        "archive-members [--all-formats|--designed-formats] ARCHIVE\n"
        "      list the font and document members",
        ListMembersCommand, true });
    const CommandRegistration extractRegistration({ "archive-extract",
        "archive-extract [--all-formats|--designed-formats] ARCHIVE MEMBER FILE\n"
        "      extract a member (name ignoring case)",
        ExtractMemberCommand, true });

} // namespace

} // namespace tz::cli
