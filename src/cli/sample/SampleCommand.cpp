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
#include "sample/SampleSheets.h"
#include "settings/SettingsStore.h"
#include "viewer/PrinterJob.h"
#include "viewer/PNGImage.h"
#include "viewer/PdfCatalog.h"
#include "viewer/QtPrinters.h"

#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <csignal>
#include <map>
#include <mutex>
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
        int workers = 0; // --jobs: 0 the settings' value, else the machine's cores
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
            } else if (arg == u"--jobs" && hasValue) {
                bool ok = false;
                options.workers = args[++i].toInt(&ok);
                if (!ok || options.workers < 1 || options.workers > kMostSampleWorkers)
                    return std::nullopt;
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

    // Progress on a terminal; SIGINT and SIGTERM act as Stop. Measures the
    // longest stretch of a row in which the run could not handle events (the
    // end of the row, or a wait for the workers, ends a stretch).
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
            EndStretch();
            rowTimer_.invalidate();
            ++rows_;
            return stopRequested == 0;
        }
        void HandleEvents() override
        {
            EndStretch();
            rowTimer_.start();
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
        void EndStretch()
        {
            if (rowTimer_.isValid())
                slowestRow_ = std::max(slowestRow_, rowTimer_.nsecsElapsed());
        }

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

    // The pages of a folder output in the chosen format, written by the run's
    // workers as they finish them. A page that can't be written is a file
    // error of the run; its file is named afterwards.
    class FolderPages final : public PageSink {
    public:
        FolderPages(const QDir& folder, const QString& format)
            : folder_(folder)
            , format_(format)
        {
        }

        bool Store(int pageNumber, const QImage& page) override
        {
            const QString number = QStringLiteral("%1").arg(pageNumber, 4, 10, QLatin1Char('0'));
            QString error;
            bool ok;
            QString name;
            if (format_ == u"png") {
                name = folder_.filePath(QStringLiteral("tzsm%1.png").arg(number));
                TPNGImage png;
                png.Assign(page);
                ok = png.SaveToFile(name, &error);
            } else if (format_ == u"bmp") {
                name = folder_.filePath(QStringLiteral("tzsm%1.bmp").arg(number));
                ok = WriteWholeFile(name, BitmapFileOf(page), &error);
            } else {
                name = folder_.filePath(number + QStringLiteral(".tzg"));
                ok = CompressBytes(BitmapFileOf(page), name);
            }
            if (!ok) {
                const std::lock_guard lock(mutex_);
                failures_.emplace(pageNumber, error.isEmpty() ? name : name + QStringLiteral(": ") + error);
            }
            return ok;
        }

        // Names the pages that could not be written, in page order; false
        // when there was one.
        bool ReportFailures() const
        {
            for (const auto& [page, failure] : failures_)
                Err(QStringLiteral("tzind sample: cannot write %1\n").arg(failure));
            return failures_.empty();
        }

    private:
        const QDir folder_;
        const QString format_;
        std::mutex mutex_;
        std::map<int, QString> failures_;
    };

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

        int workers = 0;
        EnvironmentSettings environment;
        SampleTextSet texts;
        PageSetupList setups(ProgramPrinters());
        {
            SettingsStore store(SettingsStore::kReadOnly);
            workers = LoadSampleWorkers(store);
            environment.Load(store);
            environment.allFormats = options->formats == FontFormats::All;
            texts.Load(store);
            setups.Load(store);
        }
        SampleSheets sheets(SampleInputOf(RunMode::Preview, list, environment, texts, setups, ProgramPrinters()));
        SampleInput& input = sheets.Input();
        if (options->noPrinter)
            input.printer.reset();
        input.workers = options->workers != 0 ? options->workers : workers;
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

        const bool pages = folderOutput && !options->print;
        FolderPages folderPages(out, options->format);
        if (pages)
            input.pageSink = &folderPages;
        std::signal(SIGINT, RequestStop);
        std::signal(SIGTERM, RequestStop);
        QString pdfError;
        bool pdfWritten = false;
        {
            CommandObserver observer;
            if (pdf)
                pdfWritten = WritePdfCatalog(sheets, options->output, 0, observer, &pdfError);
            else
                sheets.Generate(observer);
            if (options->stats)
                Err(observer.Stats()
                    + QStringLiteral("pages %1\nworkers %2\n")
                          .arg(sheets.Result().pageCount)
                          .arg(input.workers != 0 ? input.workers : MachineCores()));
        }
        const GenerationLog& log = sheets.Log();
        const SampleResult& result = sheets.Result();
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGTERM, SIG_DFL);

        const QByteArray logText = log.Lines().isEmpty() ? QByteArray() : (log.Lines().join(u'\n') + u'\n').toUtf8();
        std::fwrite(logText.constData(), 1, size_t(logText.size()), stderr);
        bool written = pdf ? pdfWritten : !folderOutput || WriteOutput(out, QStringLiteral("log.txt"), logText);
        if (result.busy)
            return written || pdf ? int(kExitBusy) : int(kExitUsage);
        if (!result.lockProblem.isEmpty()) {
            Err(QStringLiteral("tzind sample: cannot use the run lock %1\n").arg(result.lockProblem));
            return kExitUsage;
        }
        if (pdf && !pdfWritten)
            Err(QStringLiteral("tzind sample: cannot write %1: %2\n").arg(options->output, pdfError));
        written = folderPages.ReportFailures() && written;
        written = written && (!pages || WriteOutput(out, QStringLiteral("index.tsv"), IndexText(sheets.Index())));
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
