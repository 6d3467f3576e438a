// tzind sample (run as tzind-sample, which tzind starts for it): the
// generation run without a display. The rows come from a
// list file or from paths added as `tzind add` adds them; the settings are
// read from the settings store and never written. In preview mode it writes
// the pages, the block index and the generation log into a folder; with
// --print it prints the sheets on the current or the named printer.
#include "cli/Commands.h"
#include "cli/FontArguments.h"
#include "cli/FormatsOption.h"
#include "cli/SampleUsage.h"
#include "fontlist/FontList.h"
#include "pagesetup/PageSetup.h"
#include "platform/FontSubstitutes.h"
#include "platform/ReplacingFile.h"
#include "platform/WorkFolder.h"
#include "sample/PageStore.h"
#include "sample/SampleRun.h"
#include "settings/SettingsStore.h"
#include "viewer/PrinterJob.h"
#include "viewer/PNGImage.h"
#include "viewer/PdfCatalog.h"
#include "viewer/QtPrinters.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <csignal>
#include <unistd.h>

namespace tz::cli {

namespace {


    enum { kExitNotDrawn = 3, kExitBusy = 4 };

    volatile std::sig_atomic_t stopRequested = 0;
    void RequestStop(int) { stopRequested = 1; }

    struct SampleOptions {
        bool noPrinter = false;
        bool print = false;
        QString printer; // --printer: the queue to print on
        int printDpi = 0; // --dpi: the printer's resolution, 0 for its own
        bool stats = false;
        int previewDpi = 96;
        QString format = QStringLiteral("png");
        QString output;
        QStringList paths;
        FontFormats formats = FontFormats::Designed;
    };

    std::optional<SampleOptions> ParseOptions(QStringList args)
    {
        SampleOptions options;
        options.formats = TakeFormatsOption(args);
        for (qsizetype i = 0; i < args.size(); ++i) {
            const QString& arg = args[i];
            const bool hasValue = i + 1 < args.size();
            if (arg == u"--no-printer") {
                options.noPrinter = true;
            } else if (arg == u"--print") {
                options.print = true;
            } else if (arg == u"--printer" && hasValue) {
                options.printer = args[++i];
            } else if (arg == u"--dpi" && hasValue) {
                bool ok = false;
                options.printDpi = args[++i].toInt(&ok);
                if (!ok || options.printDpi < 72 || options.printDpi > 2400)
                    return std::nullopt;
            } else if (arg == u"--stats") {
                options.stats = true;
            } else if (arg == u"--preview-dpi" && hasValue) {
                bool ok = false;
                options.previewDpi = args[++i].toInt(&ok);
                if (!ok || options.previewDpi < 10 || options.previewDpi > 1200)
                    return std::nullopt;
            } else if (arg == u"--format" && hasValue) {
                options.format = args[++i];
                if (options.format != u"png" && options.format != u"bmp" && options.format != u"tzg")
                    return std::nullopt;
            } else if (arg == u"-o" && hasValue) {
                options.output = args[++i];
            } else if (arg.startsWith(u'-') && arg.size() > 1) {
                return std::nullopt;
            } else {
                options.paths << arg;
            }
        }
        if (options.paths.isEmpty() || (options.output.isEmpty() && !options.print))
            return std::nullopt;
        if (options.print ? options.noPrinter : !options.printer.isEmpty() || options.printDpi != 0)
            return std::nullopt;
        return options;
    }

    // Progress on a terminal; SIGINT and SIGTERM act as Stop. Measures how
    // long each row keeps the run from handling events.
    class CommandObserver final : public RunObserver {
    public:
        void Progress(int position, int maximum) override
        {
            if (!rowTimer_.isValid())
                rowTimer_.start();
            if (terminal_ && maximum > 0)
                Err(QStringLiteral("\r%1/%2").arg(position).arg(maximum));
        }
        bool GoOn() override
        {
            if (rowTimer_.isValid()) {
                slowestRow_ = std::max(slowestRow_, rowTimer_.nsecsElapsed());
                rowTimer_.invalidate();
            }
            ++rows_;
            return stopRequested == 0;
        }
        ~CommandObserver() override
        {
            if (terminal_)
                Err(QStringLiteral("\n"));
        }
        QString Stats() const
        {
            return QStringLiteral("rows %1 slowest-row-ms %2\n").arg(rows_).arg(double(slowestRow_) / 1e6, 0, 'f', 1);
        }

    private:
        bool terminal_ = ::isatty(STDERR_FILENO) == 1;
        QElapsedTimer rowTimer_;
        qint64 slowestRow_ = 0;
        int rows_ = 0;
    };

    // Writes bytes under name in the folder through a temporary file, so that
    // no partial file is left; names the file on failure.
    bool WriteOutput(const QDir& folder, const QString& name, const QByteArray& bytes)
    {
        QString error;
        if (WriteWholeFile(folder.filePath(name), bytes, &error))
            return true;
        Err(QStringLiteral("tzind sample: cannot write %1: %2\n").arg(folder.filePath(name), error));
        return false;
    }

    // Makes the named printer (or, when the system has no default, the first
    // one) current; false with a message when there is no such printer.
    bool ChoosePrinter(const QString& name)
    {
        PrinterAccess& printers = ProgramPrinters();
        const QStringList names = printers.PrinterNames();
        if (names.isEmpty()) {
            Err(QStringLiteral("tzind sample: no printer installed\n"));
            return false;
        }
        if (!name.isEmpty() && !names.contains(name)) {
            Err(QStringLiteral("tzind sample: no printer named %1\n").arg(name));
            return false;
        }
        if (!name.isEmpty())
            printers.MakeCurrent(name);
        else if (!names.contains(printers.CurrentName()))
            printers.MakeCurrent(names.first());
        return true;
    }

    std::optional<QByteArray> ReadFile(const QString& path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return std::nullopt;
        return file.readAll();
    }

    // One page in the chosen format; false (with a message) when it can't be written.
    bool WritePage(const QDir& out, const QString& workFolder, int page, const QString& format)
    {
        const QString pageFile = PageFilePath(workFolder, page);
        const QString number = QStringLiteral("%1").arg(page, 4, 10, QLatin1Char('0'));
        if (format == u"tzg") {
            const auto bytes = ReadFile(pageFile);
            return bytes && WriteOutput(out, number + QStringLiteral(".tzg"), *bytes);
        }
        const QString bitmap = PageBitmapPath(workFolder, page);
        const bool decompressed = DecompressFile(pageFile, bitmap);
        const auto bmp = decompressed ? ReadFile(bitmap) : std::nullopt;
        QFile::remove(bitmap);
        if (!bmp) {
            Err(QStringLiteral("tzind sample: page %1 could not be read back\n").arg(page));
            return false;
        }
        if (format == u"bmp")
            return WriteOutput(out, QStringLiteral("tzsm%1.bmp").arg(number), *bmp);
        TPNGImage png;
        png.Assign(QImage::fromData(*bmp, "BMP"));
        const QString name = out.filePath(QStringLiteral("tzsm%1.png").arg(number));
        QString error;
        if (png.SaveToFile(name, &error))
            return true;
        Err(QStringLiteral("tzind sample: cannot write %1: %2\n").arg(name, error));
        return false;
    }

    QByteArray IndexText(const PageIndex& index)
    {
        QByteArray text;
        for (qsizetype i = 0; i < index.Count(); ++i)
            text += (index.PageKeys[i] + u'\t' + index.BlockKinds[i] + u'\t' + index.BlockFaces[i] + u'\n').toUtf8();
        return text;
    }

    int Sample(const QStringList& args)
    {
        const auto options = ParseOptions(args);
        if (!options) {
            Err(QStringLiteral("usage: tzind ") + kSampleUsage + u'\n');
            return kExitUsage;
        }
        const bool pdf = options->output.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive);
        const QDir out(options->output);
        const bool folderOutput = !options->output.isEmpty() && !pdf;
        if (folderOutput && !QDir().mkpath(options->output)) {
            Err(QStringLiteral("tzind sample: cannot make the folder %1\n").arg(options->output));
            return kExitUsage;
        }
        if (options->print && !ChoosePrinter(options->printer))
            return kExitUsage;
        RegisterFontSubstitutes();
        const WorkFolder work;
        FontList list;
        LoadFontArguments(list, options->paths, work.Path(), options->formats);

        SampleInput input;
        input.mode = RunMode::Preview;
        for (int row = 0; row < list.Count(); ++row)
            input.rows.append(list.Entry(row));
        PageSetupList setups(ProgramPrinters());
        {
            SettingsStore store(SettingsStore::kReadOnly);
            input.environment.Load(store);
            input.environment.allFormats = options->formats == FontFormats::All;
            input.texts.Load(store);
            setups.Load(store);
        }
        TakePageSetting(input, setups, ProgramPrinters());
        if (options->noPrinter)
            input.printer.reset();
        input.previewResolution = options->previewDpi;
        input.workFolder = work.Path();
        std::optional<PrinterJob> job;
        if (options->print) {
            input.mode = RunMode::Print;
            if (options->printDpi != 0)
                SystemPrinter().setResolution(options->printDpi);
            input.printer = MetricsOf(SystemPrinter());
            input.printJob = &job.emplace(SystemPrinter());
        }

        std::signal(SIGINT, RequestStop);
        std::signal(SIGTERM, RequestStop);
        GenerationLog log;
        PageIndex index;
        SampleResult result;
        QString pdfError;
        bool pdfWritten = false;
        {
            CommandObserver observer;
            if (pdf) {
                pdfWritten = WritePdfCatalog(std::move(input), options->output, 0, log, observer, &pdfError, &result);
            } else {
                SampleRun run(std::move(input), log, index);
                result = run.Run(observer);
            }
            if (options->stats)
                Err(observer.Stats() + QStringLiteral("pages %1\n").arg(result.pageCount));
        }
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGTERM, SIG_DFL);

        const QByteArray logText = log.Lines().isEmpty() ? QByteArray() : (log.Lines().join(u'\n') + u'\n').toUtf8();
        std::fwrite(logText.constData(), 1, size_t(logText.size()), stderr);
        bool written = pdf ? pdfWritten : !folderOutput || WriteOutput(out, QStringLiteral("log.txt"), logText);
        if (result.busy)
            return written || pdf ? kExitBusy : kExitUsage;
        if (!result.lockProblem.isEmpty()) {
            Err(QStringLiteral("tzind sample: cannot use the run lock %1\n").arg(result.lockProblem));
            return kExitUsage;
        }
        if (pdf && !pdfWritten)
            Err(QStringLiteral("tzind sample: cannot write %1: %2\n").arg(options->output, pdfError));
        const bool pages = folderOutput && !options->print;
        written = written && (!pages || WriteOutput(out, QStringLiteral("index.tsv"), IndexText(index)));
        for (int page = 1; pages && written && page <= result.pageCount; ++page) {
            if (QFile::exists(PageFilePath(work.Path(), page)))
                written = WritePage(out, work.Path(), page, options->format);
        }
        if (!written)
            return kExitUsage;
        if (log.Contains(LogEvent::FileError))
            return kExitFailure;
        if (log.Contains(LogEvent::Unavailable) || log.Contains(LogEvent::DoesNotFit))
            return kExitNotDrawn;
        return kExitOk;
    }

    const CommandRegistration registration({ QStringLiteral("sample"), kSampleUsage, Sample, true, true });

} // namespace

} // namespace tz::cli
