// tzind add: fills a font list from files, folders and the installed fonts and
// writes it as a list file.
#include "cli/Commands.h"
#include "cli/FontArguments.h"
#include "cli/FormatsOption.h"
#include "collect/AddPaths.h"
#include "fontlist/FontList.h"
#include "fontlist/ListFile.h"
#include "platform/WorkFolder.h"

namespace tz::cli {

namespace {

    const QString kUsage = QStringLiteral(
        "add [-f all|first|last] [--no-archives] [--no-sfx] [--installed] [--all-formats|--designed-formats]\n"
        "      [-o LIST] PATH...\n"
        "      add the fonts of files, archives and folder trees (and with --installed every installed\n"
        "      font) and write the list file to LIST or standard output; -f picks the faces of\n"
        "      multi-face files (default: first, as the program does); --all-formats also reads\n"
        "      OpenType CFF, WOFF, WOFF2 and dfont files and 7z, tar and RAR archives\n"
        "      (default: the environment setting)");

    struct AddOptions {
        FolderSearchSettings search;
        bool installed = false;
        QString output;
        QStringList paths;
    };

    std::optional<AddOptions> ParseOptions(QStringList args)
    {
        AddOptions options;
        options.search.FaceSelection = kFirstFace;
        options.search.Formats = TakeFormatsOption(args);
        for (qsizetype i = 0; i < args.size(); ++i) {
            const QString& arg = args[i];
            if (arg == u"-f" && i + 1 < args.size()) {
                const QString which = args[++i];
                if (which == u"all")
                    options.search.FaceSelection = kAllFaces;
                else if (which == u"first")
                    options.search.FaceSelection = kFirstFace;
                else if (which == u"last")
                    options.search.FaceSelection = kLastFace;
                else
                    return std::nullopt;
            } else if (arg == u"--no-archives") {
                options.search.Archives = false;
            } else if (arg == u"--no-sfx") {
                options.search.SelfExtracting = false;
            } else if (arg == u"--installed") {
                options.installed = true;
            } else if (arg == u"-o" && i + 1 < args.size()) {
                options.output = args[++i];
            } else if (arg.startsWith(u'-') && arg.size() > 1) {
                return std::nullopt;
            } else {
                options.paths << arg;
            }
        }
        if (options.paths.isEmpty() && !options.installed)
            return std::nullopt;
        return options;
    }

    int Add(const QStringList& args)
    {
        const auto options = ParseOptions(args);
        if (!options) {
            Err(QStringLiteral("usage: tzind ") + kUsage + u'\n');
            return kExitUsage;
        }
        WorkFolder work;
        FontList list;
        FontAdder adder(list, work.Path(), options->search.Formats);
        FontListUpdate update(list);
        const tz::AddOptions adding { options->search.FaceSelection };
        bool argumentFailed
            = !AddGivenPaths(adder, options->paths, adding, HeadlessFolderWalk(options->search)).AllAdded;
        if (options->installed && !AddInstalledFonts(adder, adding).AllAdded)
            argumentFailed = true;
        if (!WriteListOutput(QStringLiteral("add"), list, options->output))
            return kExitUsage;
        const QString summary = adder.Summary(kNotAddedFiles);
        if (!summary.isEmpty())
            Err(QString(summary).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) + u'\n');
        return argumentFailed ? kExitPartial : kExitOk;
    }

    const CommandRegistration registration({ QStringLiteral("add"), kUsage, Add, true });

} // namespace

} // namespace tz::cli
