// tzind list: reads a font list file as the list commands of the GUI do and
// prints its rows in the file's row format, one line each.
#include "cli/Commands.h"
#include "cli/FormatsOption.h"
#include "fontlist/FontList.h"
#include "fontlist/ListFile.h"
#include "fontlist/PreviousFormatSizes.h"
#include "platform/WorkFolder.h"

#include <cstdio>

namespace tz::cli {

namespace {

    int Usage()
    {
        Err(QStringLiteral("Usage: tzind list [--drive-letter] [--convert] [--all-formats|--designed-formats] LIST\n"));
        return kExitUsage;
    }

    int ListRows(QStringList args)
    {
        const FontFormats formats = TakeFormatsOption(args);
        ListReadOptions options;
        QStringList paths;
        bool convert = false;
        for (const QString& arg : args) {
            if (arg == u"--drive-letter")
                options.IgnoreDriveLetter = true;
            else if (arg == u"--convert")
                convert = true;
            else if (arg.startsWith(u"--"))
                return Usage();
            else
                paths << arg;
        }
        if (paths.size() != 1)
            return Usage();
        options.ConfirmConversion = [convert] { return convert; };
        const WorkFolder work;
        options.MeasureSize = MeasureWithWorkFolder(work.Path(), formats);

        FontList list;
        const ListReadResult result = ReadListFile(list, paths.constFirst(), options);
        // A file without a list section is no font list, whatever it holds.
        if (result.Status == ListReadStatus::CannotOpen
            || (result.Status == ListReadStatus::Read && result.Format == ListFormat::None)) {
            Err(QStringLiteral("書体リストを読み込めません\n"));
            return kExitUsage;
        }
        QByteArray out;
        out.reserve(qsizetype(list.Count()) * 128);
        for (int row = 0; row < list.Count(); ++row) {
            out += FormatListRow(list.Entry(row));
            out += '\n';
        }
        std::fwrite(out.constData(), 1, size_t(out.size()), stdout);

        if (result.Status == ListReadStatus::InternalError) {
            Err(QStringLiteral("内部エラーが発生しました.\n"));
            return kExitPartial;
        }
        if (result.ConversionDeclined) {
            Err(QStringLiteral("tzind list: a list of the previous format; --convert reads it\n"));
            return kExitPartial;
        }
        if (result.Failures > 0) {
            Err(QStringLiteral("%1書体読込めませんでした\n").arg(result.Failures));
            return kExitPartial;
        }
        return kExitOk;
    }

    const CommandRegistration registration({ QStringLiteral("list"),
        QStringLiteral("list [--drive-letter] [--convert] [--all-formats|--designed-formats] LIST\n"
                       "      print the rows of a font list file"),
        ListRows, true });

} // namespace

} // namespace tz::cli
