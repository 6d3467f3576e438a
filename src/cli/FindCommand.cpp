// tzind find: the character search of the program over the rows of list
// files and paths; the rows whose face covers the text are written as a list
// file.
#include "cli/Commands.h"
#include "cli/FontArguments.h"
#include "cli/FormatsOption.h"
#include "fontlist/CharacterSearch.h"
#include "fontlist/FontList.h"
#include "fontlist/RowFaceScan.h"
#include "platform/WorkFolder.h"

namespace tz::cli {

namespace {

    const QString kUsage = QStringLiteral(
        "find --text TEXT [--all-formats|--designed-formats] [-o LIST] LIST|PATH...\n"
        "      write the rows of list files, fonts, archives and folders whose face has a glyph for\n"
        "      every character of TEXT (white space left out) as a list file to LIST or standard\n"
        "      output; exit status 3 when no row matches");

    int Find(QStringList args)
    {
        const FontFormats formats = TakeFormatsOption(args);
        QString text;
        QString output;
        QStringList paths;
        bool unknownOption = false;
        for (qsizetype i = 0; i < args.size(); ++i) {
            if (args[i] == u"--text" && i + 1 < args.size())
                text = args[++i];
            else if (args[i] == u"-o" && i + 1 < args.size())
                output = args[++i];
            else if (args[i].startsWith(u'-') && args[i].size() > 1)
                unknownOption = true;
            else
                paths << args[i];
        }
        const std::vector<CharacterNeed> needs = CharactersOf(text);
        if (unknownOption || needs.empty() || paths.isEmpty()) {
            Err(QStringLiteral("usage: tzind ") + kUsage + u'\n');
            return kExitUsage;
        }
        const WorkFolder work;
        FontList list;
        LoadFontArguments(list, paths, work.Path(), formats);
        RowFaceScan scan(list, work.Path(), formats);
        FontList found;
        for (int row : RowsCovering(scan, needs)) {
            const FontEntry& e = list.Entry(row);
            found.AddEntry(e.FaceName, e.FamilyName, e.FilePath, e.MemberName, e.Size, e.Kind);
        }
        ReportSkippedRows(QStringLiteral("find"), scan);
        if (!WriteListOutput(QStringLiteral("find"), found, output))
            return kExitUsage;
        return found.Count() > 0 ? kExitOk : kExitPartial;
    }

    const CommandRegistration registration({ QStringLiteral("find"), kUsage, Find, true });

} // namespace

} // namespace tz::cli
