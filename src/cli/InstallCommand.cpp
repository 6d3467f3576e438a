// tzind install: installs the fonts of list files and paths into the user's
// font folder, as the standard method of the install wizard does, and
// refreshes fontconfig's cache of that folder.
#include "cli/Commands.h"
#include "cli/FontArguments.h"
#include "cli/FormatsOption.h"
#include "fileops/FontInstaller.h"
#include "fontlist/FontList.h"
#include "platform/WorkFolder.h"

namespace tz::cli {

namespace {

    const QString kUsage = QStringLiteral(
        "install [--all-formats|--designed-formats] LIST|PATH...\n"
        "      install the fonts of list files, fonts, archives and folders into the user's font folder");

    int Install(QStringList args)
    {
        const FontFormats formats = TakeFormatsOption(args);
        if (args.isEmpty()
            || std::any_of(args.begin(), args.end(), [](const QString& a) { return a.startsWith(u"--"); })) {
            Err(QStringLiteral("usage: tzind ") + kUsage + u'\n');
            return kExitUsage;
        }
        const WorkFolder work;
        FontList list;
        const bool allRead = LoadFontArguments(list, args, work.Path(), formats);
        FontInstaller installer(list, work.Path());
        installer.Formats = formats;
        const InstallResult result = installer.Run();
        for (const QString& line : result.Log) {
            if (result.Problems.contains(line))
                Err(line + u'\n');
            else
                Out(line + u'\n');
        }
        return allRead && result.Problems.isEmpty() ? kExitOk : kExitPartial;
    }

    const CommandRegistration registration({ QStringLiteral("install"), kUsage, Install, true });

} // namespace

} // namespace tz::cli
