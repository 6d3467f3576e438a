// tzind faces PATH...: the rows adding would make of each font file, all
// faces, in the row format of the font list file.
#include "cli/Commands.h"
#include "cli/FormatsOption.h"
#include "fontfile/FontFileReader.h"
#include "platform/Text.h"
#include "platform/WorkFolder.h"

#include <QFileInfo>

namespace {

// Kind of the rows of one file: 1 for a file whose face count is not 1, plus
// 2 for a font taken from a Macintosh file.
int RowKind(const tz::FontFileAnalysis& analysis)
{
    return (analysis.FaceNames.size() != 1 ? 1 : 0) + (analysis.Macintosh ? 2 : 0);
}

int RunFaces(QStringList paths)
{
    const tz::FontFormats formats = tz::cli::TakeFormatsOption(paths);
    if (paths.isEmpty()) {
        tz::cli::Err(QStringLiteral("usage: tzind faces PATH...\n"));
        return tz::cli::kExitUsage;
    }
    const tz::WorkFolder workFolder;
    bool allNamed = true;
    for (const QString& path : paths) {
        const tz::FontFileAnalysis analysis = tz::AnalyseFontFile(path, workFolder.Path(), formats);
        if (analysis.FaceNames.isEmpty()) {
            tz::cli::Err(path + u'\n');
            allNamed = false;
            continue;
        }
        const QString shownPath = tz::UpperAscii(QFileInfo(path).absoluteFilePath());
        for (qsizetype i = 0; i < analysis.FaceNames.size(); ++i) {
            // One pass over the pattern, so a name holding "%1" stays as it is.
            tz::cli::Out(QStringLiteral("%1\t%2\t%3\t%4\t\t%5\n")
                             .arg(QString::number(RowKind(analysis)), analysis.FaceNames.at(i),
                                 analysis.FamilyNames.at(i), shownPath, QString::number(analysis.Size)));
        }
    }
    return allNamed ? tz::cli::kExitOk : tz::cli::kExitPartial;
}

const tz::cli::CommandRegistration registration({ QStringLiteral("faces"),
    QStringLiteral("faces [--all-formats|--designed-formats] PATH...\n"
                   "      the list rows of every face of each font file"),
    RunFaces });

} // namespace
