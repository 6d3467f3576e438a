// Printing sample sheets for real: a private CUPS server with a queue that
// prints to a file, the print run of tzind and of the program's own run, and
// the faults of a stopped run, a refused job and a printer that goes away.
// PDF-file printers need no server.
#include "PrivateCups.h"
#include "TestSupport.h"

#include "app/AppWindows.h"
#include "app/Application.h"
#include "app/MainWindow.h"
#include "pagesetup/PageSetup.h"
#include "sample/SampleSheets.h"
#include "settings/SettingsStore.h"
#include "viewer/PrinterJob.h"
#include "viewer/PrintInfoWindow.h"
#include "viewer/QtPrinters.h"
#include "viewer/SampleViewer.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QPrinterInfo>
#include <QScreen>
#include <QScrollBar>
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

// Stores page setting 1 as current: A4 portrait on the printer, default margins.
void StoreA4Setting(const QString& printer)
{
    ProgramPrinters().MakeCurrent(printer);
    ProgramPrinters().SetPaperCode(kPaperA4);
    SettingsStore store;
    PageSetupList setups(ProgramPrinters());
    setups.Apply(0, kPortrait, kBindNone, { QStringLiteral("3.5"), QStringLiteral("2.5"), QStringLiteral("1.3"), QStringLiteral("3.5") });
    setups.Save(store);
}

// Answers the windows a command shows: the print dialog is accepted (its
// printer properties opened and accepted first when asked), the information
// window closed, a file dialog given the name `saveAs`.
class ModalAnswers {
public:
    explicit ModalAnswers(QString saveAs = {}, bool openProperties = false)
        : saveAs_(std::move(saveAs))
        , openProperties_(openProperties)
    {
        QObject::connect(&timer_, &QTimer::timeout, [this] { Answer(QApplication::activeModalWidget()); });
        timer_.start(50);
    }
    // The paper the printer properties showed.
    QString propertiesPaper;

private:
    void Answer(QWidget* modal)
    {
        if (auto* dialog = qobject_cast<QPrintDialog*>(modal)) {
            // Queued: the properties window runs its own loop, in which this
            // timer must fire again.
            if (std::exchange(openProperties_, false))
                QMetaObject::invokeMethod(dialog->findChild<QPushButton*>(QStringLiteral("properties")), "click", Qt::QueuedConnection);
            else
                dialog->accept();
        } else if (modal && modal->inherits("QPrintPropertiesDialog")) {
            propertiesPaper = modal->findChild<QComboBox*>(QStringLiteral("pageSizeCombo"))->currentText();
            qobject_cast<QDialog*>(modal)->accept();
        } else if (auto* info = qobject_cast<PrintInfoWindow*>(modal)) {
            info->accept();
        } else if (auto* files = qobject_cast<QFileDialog*>(modal)) {
            files->setDirectory(QFileInfo(saveAs_).absolutePath());
            files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QFileInfo(saveAs_).fileName());
            QMetaObject::invokeMethod(files, "accept");
        }
    }

    QString saveAs_;
    bool openProperties_;
    QTimer timer_;
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
    const SampleResult& PrintFaces(QPrinter& printer, SampleSheets& sheets, RunObserver& observer, int copies = 1)
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
        sheets.Reset(std::move(input));
        return sheets.Generate(observer);
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
        // The program's spool files go to a temporary folder of this test's
        // own (the private server keeps the shared one), so another program
        // printing at the same time leaves none here.
        QVERIFY(QDir(work_.path()).mkpath(QStringLiteral("temp")));
        qputenv("TMPDIR", QFile::encodeName(work_.filePath(QStringLiteral("temp"))));
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

    // Without a stored page setting, the new one takes the printer's own
    // paper: a queue whose driver defaults to Letter prints on Letter.
    void aNewPageSettingTakesThePrintersPaper()
    {
        if (!served_)
            QSKIP(qPrintable(cups_.SkipReason()));
        QVERIFY(cups_.AddQueue(QStringLiteral("letterq"), QStringLiteral("Letter")));
        QVERIFY(cups_.WaitUntilIdle());
        const ProcessResult result = RunProcess(BinPath(QStringLiteral("tzind")),
            { QStringLiteral("sample"), QStringLiteral("--print"), QStringLiteral("--printer"), QStringLiteral("letterq"),
                kFonts + kFaces.first() },
            { cups_.ServerEnvironment(), QStringLiteral("TYPOSCAN_SETTINGS=") + work_.filePath(QStringLiteral("fresh.reg")) });
        QVERIFY2(result.exitCode == 0, result.err.constData());
        QVERIFY(cups_.WaitUntilIdle());
        QCOMPARE(PdfMediaBoxes(ReadAll(cups_.OutputPath())), QStringList { QStringLiteral("612x792") });
    }

    // The print command on a queue whose driver defaults to Letter, under a
    // page setting for A4: the setting reaches the print dialog's printer, so
    // the sheets are A4 and break where the preview's do, and so is the
    // viewer's PDF catalog.
    void printCommandUsesThePageSettingsPaper()
    {
        if (!served_)
            QSKIP(qPrintable(cups_.SkipReason()));
        QVERIFY(cups_.AddQueue(QStringLiteral("letterq"), QStringLiteral("Letter")));
        QVERIFY(cups_.WaitUntilIdle());
        StoreA4Setting(QStringLiteral("letterq"));
        AppWindows windows;
        auto main = CreateWindows(windows, true);
        for (int copy = 0; copy < 4; ++copy) {
            for (const QString& face : kFaces)
                main->List().AddEntry(face, face, (kFonts + face).toUpper(), {}, QString::number(QFileInfo(kFonts + face).size()), 0);
        }
        main->UpdateCommandStates();
        // Whatever paper the printer was left at, the setting's is used.
        SystemPrinter().setPageSize(QPageSize(QPageSize::Letter));
        main->findChild<QAction*>(QStringLiteral("fmnPrintPreview"))->trigger();
        const int previewPages = windows.Viewer->PageCount();
        QVERIFY(previewPages >= 2);

        // Printed straight away, and after a look at the printer properties.
        for (const bool openProperties : { false, true }) {
            SystemPrinter().setPageSize(QPageSize(QPageSize::Letter));
            const int before = cups_.JobCount(QStringLiteral("letterq"));
            {
                ModalAnswers answers({}, openProperties);
                main->findChild<QAction*>(QStringLiteral("fmnPrint"))->trigger();
                QCOMPARE(answers.propertiesPaper, openProperties ? QStringLiteral("A4") : QString());
            }
            QVERIFY(cups_.WaitUntilIdle());
            QCOMPARE(cups_.JobCount(QStringLiteral("letterq")), before + 1);
            QCOMPARE(PdfMediaBoxes(ReadAll(cups_.OutputPath())), QStringList(previewPages, QStringLiteral("595x842")));
        }

        const QString catalog = work_.filePath(QStringLiteral("catalog.pdf"));
        {
            ModalAnswers answers(catalog);
            windows.Viewer->SavePdf();
        }
        QCOMPARE(PdfMediaBoxes(ReadAll(catalog)), QStringList(previewPages, QStringLiteral("595x842")));
        windows.Viewer->close();
    }

    void stopAbortsTheJob()
    {
        if (!served_)
            QSKIP(qPrintable(cups_.SkipReason()));
        QVERIFY(cups_.WaitUntilIdle());
        const int before = cups_.JobCount(QStringLiteral("tzq"));
        QPrinter printer(QPrinter::HighResolution);
        SampleSheets sheets;
        RowObserver stopAtFirstRow(1);
        const SampleResult result = PrintFaces(QueuePrinter(printer, QStringLiteral("tzq")), sheets, stopAtFirstRow, 4);
        QVERIFY(result.stopped);
        QVERIFY(sheets.Log().Contains(LogEvent::Stopped));
        QVERIFY(!sheets.Log().Contains(LogEvent::FileError));
        QCOMPARE(cups_.JobCount(QStringLiteral("tzq")), before);
        QCOMPARE(SpoolFiles(QDir::tempPath()), QStringList());
    }

    void refusedJobIsAFileError()
    {
        if (!served_)
            QSKIP(qPrintable(cups_.SkipReason()));
        QVERIFY(cups_.Admin(QStringLiteral("cupsreject"), { QStringLiteral("tzq") }));
        QPrinter printer(QPrinter::HighResolution);
        SampleSheets sheets;
        RowObserver observer;
        const SampleResult result = PrintFaces(QueuePrinter(printer, QStringLiteral("tzq")), sheets, observer);
        QVERIFY(cups_.Admin(QStringLiteral("cupsaccept"), { QStringLiteral("tzq") }));
        QVERIFY(sheets.Log().Contains(LogEvent::FileError));
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
        SampleSheets sheets;
        int rows = 0;
        bool removed = false;
        RowObserver removeAtFirstRow(-1, [&] {
            ++rows;
            if (!removed)
                removed = cups_.Admin(QStringLiteral("lpadmin"), { QStringLiteral("-x"), QStringLiteral("gone") });
        });
        const SampleResult result = PrintFaces(printer, sheets, removeAtFirstRow, 6);
        QVERIFY(removed);
        QVERIFY(sheets.Log().Contains(LogEvent::FileError));
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
        SampleSheets sheets;
        RowObserver observer;
        PrintFaces(printer, sheets, observer, 3);
        QVERIFY(!sheets.Log().Contains(LogEvent::FileError));
        const QByteArray pdf = ReadAll(target);
        const int pages = PdfPageCount(pdf);
        QVERIFY(pages >= 2);
        QCOMPARE(PdfMediaBoxes(pdf).filter(QStringLiteral("612x792")).size(), pages);

        SampleSheets stopped;
        RowObserver stop(1);
        PrintFaces(printer, stopped, stop, 3);
        QVERIFY(stopped.Log().Contains(LogEvent::Stopped));
        QCOMPARE(ReadAll(target), pdf);
        QCOMPARE(SpoolFiles(work_.path()), QStringList());
    }

    void filePrinterInAMissingFolderIsAFileError()
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFileName(work_.filePath(QStringLiteral("missing/sheets.pdf")));
        SampleSheets sheets;
        RowObserver observer;
        PrintFaces(printer, sheets, observer);
        QVERIFY(sheets.Log().Contains(LogEvent::FileError));
        QVERIFY(!QFile::exists(printer.outputFileName()));
    }

    // The window opens large enough for every line of a print log; a log
    // longer than the screen scrolls inside a window the screen holds.
    void informationWindowShowsTheWholeLog()
    {
        PrintInfoWindow window;
        const QString line = QStringLiteral("[警告] DejaVu Sans(DEJAVUSANS.TTF)が利用できませんでした．IPAPGothicで置換えます．");
        const QString text = QStringList(4, line).join(u'\n') + QStringLiteral("\n一行目");
        auto* memo = window.findChild<QPlainTextEdit*>();
        int hiddenColumns = -1, hiddenLines = -1;
        QTimer::singleShot(0, &window, [&] {
            hiddenColumns = memo->horizontalScrollBar()->maximum();
            hiddenLines = memo->verticalScrollBar()->maximum();
            window.accept();
        });
        window.ShowText(text);
        QCOMPARE(window.Text(), text);
        QCOMPARE(hiddenColumns, 0);
        QCOMPARE(hiddenLines, 0);
        QVERIFY(memo->isReadOnly());
        QCOMPARE(memo->lineWrapMode(), QPlainTextEdit::NoWrap);
        QCOMPARE(window.windowTitle(), QStringLiteral("印刷時の情報"));

        QTimer::singleShot(0, &window, &QDialog::accept);
        window.ShowText(QStringList(500, line + line).join(u'\n'));
        const QSize screen = window.screen()->availableGeometry().size();
        QVERIFY(window.width() <= screen.width() && window.height() <= screen.height());
        QVERIFY(window.width() >= 320 && window.height() >= 159);
    }
};

QTEST_MAIN(CupsPrintingTest)
#include "test_cups_printing.moc"
