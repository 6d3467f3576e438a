// tzind copy: copies the font files behind the rows of list files and paths
// into a folder, as the copy command of the program does, without asking:
// a file that exists in the folder is left alone and reported.
#include "cli/Commands.h"
#include "cli/FontArguments.h"
#include "cli/FormatsOption.h"
#include "fileops/CopyRun.h"
#include "fontlist/FontList.h"
#include "platform/WorkFolder.h"

#include <QFileInfo>

namespace tz::cli {

namespace {

    const QString kUsage
        = QStringLiteral("copy [--no-ext] [--all-formats|--designed-formats] -o FOLDER LIST|PATH...\n"
                         "      copy the font files of list files, fonts, archives and folders into FOLDER; a name\n"
                         "      without a TrueType extension gains one unless --no-ext (with --all-formats a\n"
                         "      WOFF, WOFF2, OpenType or dfont file keeps its own)");

    int Usage()
    {
        Err(QStringLiteral("usage: tzind ") + kUsage + u'\n');
        return kExitUsage;
    }

    int Copy(QStringList args)
    {
        const FontFormats formats = TakeFormatsOption(args);
        bool addExtension = true;
        QString folder;
        QStringList paths;
        for (qsizetype i = 0; i < args.size(); ++i) {
            if (args[i] == u"--no-ext")
                addExtension = false;
            else if (args[i] == u"-o" && i + 1 < args.size())
                folder = args[++i];
            else if (args[i].startsWith(u'-') && args[i].size() > 1)
                return Usage();
            else
                paths << args[i];
        }
        if (folder.isEmpty() || paths.isEmpty())
            return Usage();
        if (!QFileInfo(folder).isDir()) {
            Err(QStringLiteral("tzind copy: %1 is not a folder\n").arg(folder));
            return kExitUsage;
        }
        const WorkFolder work;
        FontList list;
        const bool allRead = LoadFontArguments(list, paths, work.Path(), formats);
        CopyRun run(list, work.Path());
        run.Formats = formats;
        run.Destination = QFileInfo(folder).absoluteFilePath();
        run.AddExtension = addExtension;
        run.Run();
        for (const QString& line : run.Messages())
            Err(line + u'\n');
        for (const QString& target : run.KeptTargets())
            Err(QStringLiteral("tzind copy: %1 exists; left alone\n").arg(target));
        Out(QStringLiteral("%1 files copied\n").arg(run.CopiedFiles()));
        return allRead && run.Messages().isEmpty() && run.KeptTargets().isEmpty() ? kExitOk : kExitPartial;
    }

    const CommandRegistration registration({ QStringLiteral("copy"), kUsage, Copy, true });

} // namespace

} // namespace tz::cli
