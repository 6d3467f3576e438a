// tzind archive-members / archive-extract: the font and document members of an
// archive, and the extraction of one member, as the program reads them.
#include "archive/Archivettf.h"
#include "cli/Commands.h"

namespace tz::cli {

namespace {

    void PrintListing(const char* what, const MemberListing& listing)
    {
        Out(QStringLiteral("%1 %2\n").arg(QLatin1String(what)).arg(listing.Count));
        for (const ArchiveMember& member : listing.Members)
            Out(QStringLiteral("  %1\n").arg(member.Name));
    }

    int ListMembersCommand(const QStringList& args)
    {
        if (args.size() != 1)
            return kExitUsage;
        const MemberListing fonts = ListFontMembers(args[0]);
        const MemberListing documents = ListDocumentMembers(args[0]);
        PrintListing("fonts", fonts);
        PrintListing("documents", documents);
        return fonts.Failed() && documents.Failed() ? kExitFailure : kExitOk;
    }

    int ExtractMemberCommand(const QStringList& args)
    {
        if (args.size() != 3)
            return kExitUsage;
        const std::optional<ArchiveMember> member = FindMember(args[0], args[1]);
        if (!member || !ExtractMember(args[0], *member, args[2])) {
            Err(QStringLiteral("cannot extract %1 from %2\n").arg(args[1], args[0]));
            return kExitFailure;
        }
        return kExitOk;
    }

    const CommandRegistration listRegistration({ "archive-members",
        "archive-members ARCHIVE            list the font and document members", ListMembersCommand, true });
    const CommandRegistration extractRegistration({ "archive-extract",
        "archive-extract ARCHIVE MEMBER FILE  extract a member (name ignoring case)", ExtractMemberCommand, true });

} // namespace

} // namespace tz::cli
