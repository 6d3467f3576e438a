// Printing sample sheets for real: a private CUPS server with a queue that
// prints to a file, the print run of tzind and of the program's own run, and
// the faults of a stopped run, a refused job and a printer that goes away.
// PDF-file printers need no server.
#include "PrivateCups.h"
#include "TestSupport.h"

#include "sample/SampleRun.h"
#include "viewer/PrinterJob.h"
#include "viewer/PrintInfoWindow.h"
#include "viewer/QtPrinters.h"

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QtTest>

using namespace tz;
using namespace tz::test;

namespace {

const QString kFonts = QStringLiteral("/usr/share/fonts/truetype/dejavu/");
const QStringList kFaces = { QStringLiteral("DejaVuSans.ttf"), QStringLiteral("DejaVuSerif.ttf"),
    QStringLiteral("DejaVuSansMono.ttf"), QStringLiteral("DejaVuSans-Bold.ttf") };

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Stops the run after a number of rows, and may do something at each row.
class RowObserver final : public RunObserver {
public:
    explicit RowObserver(int stopAfter = -1, std::function<void()> atRow = {})
        : stopAfter_(stopAfter)
        , atRow_(std::move(atRow))
    {
    }
    bool GoOn() override
    {
        if (atRow_)
            atRow_();
        return stopAfter_ < 0 || ++rows_ < stopAfter_;
    }

private:
    int stopAfter_;
    int rows_ = 0;
    std::function<void()> atRow_;
};

// Spool files of the print job left in a folder.
QStringList SpoolFiles(const QString& folder)
{
    return QDir(folder).entryList({ QStringLiteral("tzprint-*") }, QDir::Files);
}

} // namespace

class CupsPrintingTest : public QObject {
    Q_OBJECT

private:
    PrivateCups cups_;
    QTemporaryDir work_;
    bool served_ = false;

    // A print run of the DejaVu faces on the printer, repeated `copies` times.
    SampleResult PrintFaces(QPrinter& printer, GenerationLog& log, RunObserver& observer, int copies = 1)
    {
        SampleInput input;
        input.mode = RunMode::Print;
        for (int i = 0; i < copies; ++i) {
            for (const QString& face : kFaces) {
                FontEntry entry;
                entry.FaceName = QFileInfo(face).completeBaseName();
                entry.FamilyName = entry.FaceName;
                entry.FilePath = (kFonts + face).toUpper();
                entry.Size = QString::number(QFileInfo(kFonts + face).size());
                input.rows << entry;
            }
        }
        input.texts = SampleTextSet();
        input.printer = MetricsOf(printer);
        input.workFolder = work_.path();
        PrinterJob job(printer);
        input.printJob = &job;
        PageIndex index;
        SampleRun run(std::move(input), log, index);
        return run.Run(observer);
    }

    QPrinter& QueuePrinter(QPrinter& printer, const QString& queue)
    {
        printer.setPrinterName(queue);
        return printer;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(work_.isValid());
        if (!QFile::exists(kFonts + kFaces.first()))
            QSKIP("the DejaVu fonts are not installed (scripts/install-deps installs them)");
        served_ = cups_.Start();
        if (!served_)
            qWarning("CUPS tests skipped: %s", qPrintable(cups_.SkipReason()));
    }

    void readsTheQueuesGeometry()
    {
        if (!served_)
            QSKIP(qPrintable(cups_.SkipReason()));
        QVERIFY(QPrinterInfo::availablePrinterNames().contains(u"tzq"));
        QPrinter printer(QPrinter::HighResolution);
        QueuePrinter(printer, QStringLiteral("tzq"));
        const PrinterMetrics metrics = MetricsOf(printer);
        // A4 with the driver's 18-point unprintable strips, in printer pixels.
        const int dpi = metrics.resolutionX;
        QVERIFY(dpi >= 300);
        QCOMPARE(metrics.paperWidth, qRound(595 * dpi / 72.0));
        QCOMPARE(metrics.paperHeight, qRound(842 * dpi / 72.0));
        QCOMPARE(metrics.leftOffset, qRound(18 * dpi / 72.0));
        QCOMPARE(metrics.topOffset, qRound(18 * dpi / 72.0));
        QCOMPARE(metrics.printableWidth, qRound(559 * dpi / 72.0));
    }

    void tzindPrintsTheListOnTheQueue()
    {
        if (!served_)
            QSKIP(qPrintable(cups_.SkipReason()));
        const int before = cups_.JobCount(QStringLiteral("tzq"));
        QStringList args = { QStringLiteral("sample"), QStringLiteral("--print"), QStringLiteral("--printer"), QStringLiteral("tzq") };
        for (const QString& face : kFaces)
            args << kFonts + face;
        const ProcessResult result = RunProcess(BinPath(QStringLiteral("tzind")), args, { cups_.ServerEnvironment() });
        QVERIFY2(result.exitCode == 0, result.err.constData());
        QVERIFY(cups_.WaitUntilIdle());
        QCOMPARE(cups_.JobCount(QStringLiteral("tzq")), before + 1);
        const QByteArray pdf = ReadAll(cups_.OutputPath());
        const int pages = PdfPageCount(pdf);
        QVERIFY2(pages >= 1 && pages <= kFaces.size(), qPrintable(QString::number(pages)));
        const QStringList boxes = PdfMediaBoxes(pdf);
        QCOMPARE(boxes.size(), pages);
        QCOMPARE(boxes.filter(QStringLiteral("595x842")).size(), pages);
    }

    void tzindNeedsAPrinter()
    {
        const QString tzind = BinPath(QStringLiteral("tzind"));
        const QString face = kFonts + kFaces.first();
        const ProcessResult none = RunProcess(tzind, { QStringLiteral("sample"), QStringLiteral("--print"), face },
            { QStringLiteral("CUPS_SERVER=") + work_.filePath(QStringLiteral("no-server.sock")) });
        QCOMPARE(none.exitCode, 2);
        QVERIFY(none.err.contains("no printer installed"));
        const ProcessResult noOutput = RunProcess(tzind, { QStringLiteral("sample"), QStringLiteral("--printer"), QStringLiteral("tzq"), face });
        QCOMPARE(noOutput.exitCode, 2);
        if (!served_)
            return;
        const ProcessResult unknown = RunProcess(tzind,
            { QStringLiteral("sample"), QStringLiteral("--print"), QStringLiteral("--printer"), QStringLiteral("nosuch"), face },
            { cups_.ServerEnvironment() });
        QCOMPARE(unknown.exitCode, 2);
        QVERIFY(unknown.err.contains("nosuch"));
    }

    void stopAbortsTheJob()
    {
        if (!served_)
            QSKIP(qPrintable(cups_.SkipReason()));
        QVERIFY(cups_.WaitUntilIdle());
        const int before = cups_.JobCount(QStringLiteral("tzq"));
        QPrinter printer(QPrinter::HighResolution);
        GenerationLog log;
        RowObserver stopAtFirstRow(1);
        const SampleResult result = PrintFaces(QueuePrinter(printer, QStringLiteral("tzq")), log, stopAtFirstRow, 4);
        QVERIFY(result.stopped);
        QVERIFY(log.Contains(LogEvent::Stopped));
        QVERIFY(!log.Contains(LogEvent::FileError));
        QCOMPARE(cups_.JobCount(QStringLiteral("tzq")), before);
        QCOMPARE(SpoolFiles(QDir::tempPath()), QStringList());
    }

    void refusedJobIsAFileError()
    {
        if (!served_)
            QSKIP(qPrintable(cups_.SkipReason()));
        QVERIFY(cups_.Admin(QStringLiteral("cupsreject"), { QStringLiteral("tzq") }));
        QPrinter printer(QPrinter::HighResolution);
        GenerationLog log;
        RowObserver observer;
        const SampleResult result = PrintFaces(QueuePrinter(printer, QStringLiteral("tzq")), log, observer);
        QVERIFY(cups_.Admin(QStringLiteral("cupsaccept"), { QStringLiteral("tzq") }));
        QVERIFY(log.Contains(LogEvent::FileError));
        QVERIFY(!result.stopped);
        QCOMPARE(SpoolFiles(QDir::tempPath()), QStringList());
    }

    void printerThatGoesAwayEndsTheRun()
    {
        if (!served_)
            QSKIP(qPrintable(cups_.SkipReason()));
        QVERIFY(cups_.AddQueue(QStringLiteral("gone")));
        QPrinter printer(QPrinter::HighResolution);
        QueuePrinter(printer, QStringLiteral("gone"));
        GenerationLog log;
        int rows = 0;
        bool removed = false;
        RowObserver removeAtFirstRow(-1, [&] {
            ++rows;
            if (!removed)
                removed = cups_.Admin(QStringLiteral("lpadmin"), { QStringLiteral("-x"), QStringLiteral("gone") });
        });
        const SampleResult result = PrintFaces(printer, log, removeAtFirstRow, 6);
        QVERIFY(removed);
        QVERIFY(log.Contains(LogEvent::FileError));
        QVERIFY(!result.stopped);
        // The run ended at the first page it could not pass on, not at the list's end.
        QVERIFY2(rows < 6 * kFaces.size(), qPrintable(QString::number(rows)));
        QCOMPARE(SpoolFiles(QDir::tempPath()), QStringList());
    }

    // A printer that prints to a file: the finished document replaces the
    // file at once, a stopped run leaves the old file as it was.
    void filePrinterWritesTheWholeDocument()
    {
        const QString target = work_.filePath(QStringLiteral("sheets.pdf"));
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFileName(target);
        printer.setResolution(300);
        printer.setPageSize(QPageSize(QPageSize::Letter));
        GenerationLog log;
        RowObserver observer;
        PrintFaces(printer, log, observer, 3);
        QVERIFY(!log.Contains(LogEvent::FileError));
        const QByteArray pdf = ReadAll(target);
        const int pages = PdfPageCount(pdf);
        QVERIFY(pages >= 2);
        QCOMPARE(PdfMediaBoxes(pdf).filter(QStringLiteral("612x792")).size(), pages);

        GenerationLog stoppedLog;
        RowObserver stop(1);
        PrintFaces(printer, stoppedLog, stop, 3);
        QVERIFY(stoppedLog.Contains(LogEvent::Stopped));
        QCOMPARE(ReadAll(target), pdf);
        QCOMPARE(SpoolFiles(work_.path()), QStringList());
    }

    void filePrinterInAMissingFolderIsAFileError()
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFileName(work_.filePath(QStringLiteral("missing/sheets.pdf")));
        GenerationLog log;
        RowObserver observer;
        PrintFaces(printer, log, observer);
        QVERIFY(log.Contains(LogEvent::FileError));
        QVERIFY(!QFile::exists(printer.outputFileName()));
    }

    void informationWindowShowsTheWholeLog()
    {
        PrintInfoWindow window;
        const QString text = QStringLiteral("一行目\n二行目 with a line far longer than the window is wide, never wrapped");
        QTimer::singleShot(0, &window, &QDialog::accept);
        window.ShowText(text);
        QCOMPARE(window.Text(), text);
        auto* memo = window.findChild<QPlainTextEdit*>();
        QVERIFY(memo->isReadOnly());
        QCOMPARE(memo->lineWrapMode(), QPlainTextEdit::NoWrap);
        QCOMPARE(window.windowTitle(), QStringLiteral("印刷時の情報"));
    }
};

QTEST_MAIN(CupsPrintingTest)
#include "test_cups_printing.moc"
