// The print command on a PDF-file printer: the print dialog, the print run in
// the generation window, and the information window with the run's log.
#include "app/AppWindows.h"
#include "app/Application.h"
#include "app/MainWindow.h"
#include "viewer/PrintInfoWindow.h"
#include "viewer/QtPrinters.h"

#include <QAction>
#include <QApplication>
#include <QPrintDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace tz;

class PrintCommandTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    // Answers the modal windows the command shows: the print dialog is
    // accepted or cancelled, the information window's text is kept and the
    // window closed.
    struct ModalAnswers {
        bool acceptPrint = true;
        bool enabled = false;
        int printDialogs = 0;
        QString information;
    };

    // Runs the print command of a main window holding two rows, printing to
    // a PDF file of that name.
    ModalAnswers PrintTo(const QString& name, bool acceptPrint)
    {
        AppWindows windows;
        auto main = CreateWindows(windows, true);
        AddDejaVuRows(*main);
        SystemPrinter().setOutputFileName(dir_.filePath(name));
        ModalAnswers answers;
        answers.acceptPrint = acceptPrint;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* dialog = qobject_cast<QPrintDialog*>(modal)) {
                ++answers.printDialogs;
                answers.acceptPrint ? dialog->accept() : dialog->reject();
            } else if (auto* info = qobject_cast<PrintInfoWindow*>(modal)) {
                answers.information = info->Text();
                info->accept();
            }
        });
        timer.start(50);
        main->UpdateCommandStates();
        QAction* print = main->findChild<QAction*>(QStringLiteral("fmnPrint"));
        answers.enabled = print->isEnabled();
        print->trigger();
        return answers;
    }

    static void AddDejaVuRows(MainWindow& main)
    {
        const QString folder = QStringLiteral("/usr/share/fonts/truetype/dejavu/");
        for (const char* face : { "DejaVuSans", "DejaVuSerif" }) {
            const QString path = folder + QLatin1String(face) + QStringLiteral(".ttf");
            main.List().AddEntry(QLatin1String(face), QLatin1String(face), path.toUpper(), {},
                QString::number(QFileInfo(path).size()), 0);
        }
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        if (!QFile::exists(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf")))
            QSKIP("the DejaVu fonts are not installed");
        // Never the machine's own print server.
        qputenv("CUPS_SERVER", QFile::encodeName(dir_.filePath(QStringLiteral("no-server.sock"))));
    }

    void printsTheListAndShowsTheLog()
    {
        const ModalAnswers answers = PrintTo(QStringLiteral("sheets.pdf"), true);
        QVERIFY(answers.enabled);
        QCOMPARE(answers.printDialogs, 1);
        QFile printed(dir_.filePath(QStringLiteral("sheets.pdf")));
        QVERIFY(printed.open(QIODevice::ReadOnly));
        QVERIFY(printed.readAll().startsWith("%PDF"));
        // Installed fonts are reported: the window shows every line of the log.
        QCOMPARE(answers.information.count(u'\n'), 1);
        QVERIFY(answers.information.contains(QStringLiteral("/DejaVuSans.ttf")));
        QVERIFY(answers.information.contains(QStringLiteral("/DejaVuSerif.ttf")));
    }

    void cancelledDialogPrintsNothing()
    {
        const ModalAnswers answers = PrintTo(QStringLiteral("cancelled.pdf"), false);
        QCOMPARE(answers.printDialogs, 1);
        QVERIFY(!QFile::exists(dir_.filePath(QStringLiteral("cancelled.pdf"))));
        QVERIFY(answers.information.isEmpty());
    }
};

QTEST_MAIN(PrintCommandTest)
#include "test_print_command.moc"
