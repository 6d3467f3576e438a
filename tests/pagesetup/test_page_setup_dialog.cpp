// The page setup dialog and its name window, offscreen, found by object names,
// against printers described by the test.
#include "PageSetupDialogHelpers.h"
#include "TestSupport.h"
#include "PageSetupPrinters.h"
#include "pagesetup/MarginField.h"
#include "pagesetup/PageSetupDialog.h"
#include "pagesetup/PageSetupPictures.h"
#include "pagesetup/SetupNameDialog.h"
#include "settings/SettingsStore.h"
#include "viewer/QtPrinters.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>

using namespace tz;
using namespace tz::test;

namespace {

template <class T> T* Child(QWidget* root, const char* name)
{
    T* child = root->findChild<T*>(QLatin1String(name));
    if (!child)
        qFatal("no control %s", name);
    return child;
}

// Types text as a keyboard with an input method delivers it: key events carrying the characters.
void Type(QWidget* widget, const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype width = text.at(i).isHighSurrogate() ? 2 : 1;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text.mid(i, width));
        QApplication::sendEvent(widget, &press);
        i += width - 1;
    }
}

QImage ImageOf(const QIcon& icon) { return icon.pixmap(QSize(32, 32)).toImage(); }
QImage Picture(int index) { return PageSetupPicture(index).toImage(); }

// Runs a rename through the name window: each name is typed and OK pressed;
// the message each attempt showed (empty when the window closed) is recorded.
QStringList RenameWith(PageSetupDialog& dialog, const QStringList& attempts)
{
    auto messages = std::make_shared<QStringList>();
    pagesetup::OnNextModal("tz::SetupNameDialog", [attempts, messages](QWidget* window) {
        for (const QString& name : attempts) {
            const auto message = pagesetup::AnswerNextMessage();
            Child<QLineEdit>(window, "edtName")->setText(name);
            Child<QPushButton>(window, "btnOK")->click();
            messages->append(message->text);
            if (!window->isVisible())
                return;
        }
        Child<QPushButton>(window, "btnCancel")->click();
    });
    Child<QPushButton>(&dialog, "Button2")->click();
    return *messages;
}

void ChooseSetting(PageSetupDialog& dialog, int slot)
{
    auto* list = Child<QComboBox>(&dialog, "cmbSpeedSetting1");
    list->setCurrentIndex(slot);
    emit list->activated(slot);
}

double FieldValue(PageSetupDialog& dialog, const char* name) { return Child<MarginField>(&dialog, name)->value(); }

void SetMargins(PageSetupDialog& dialog, double top, double bottom, double left, double right)
{
    Child<MarginField>(&dialog, "SaNumEditT")->setValue(top);
    Child<MarginField>(&dialog, "SaNumEditB")->setValue(bottom);
    Child<MarginField>(&dialog, "SaNumEditL")->setValue(left);
    Child<MarginField>(&dialog, "SaNumEditR")->setValue(right);
}

} // namespace

class PageSetupDialogTest : public QObject {
    Q_OBJECT
private:
    // Office: 600 dpi, borders 100, 120, 90, 150 px; Exact: 254 dpi, 250 px (2.5 cm) all round.
    DescribedPrinters printers_ { { PrinterDescription { QStringLiteral("Office"), 600, 600, 100, 120, 90, 150 },
        PrinterDescription { QStringLiteral("Exact"), 254, 254, 250, 250, 250, 250 } } };
    DescribedPrinters noPrinters_;

private slots:
    void init()
    {
        QFile::remove(SettingsStore::FilePath());
        printers_.MakeCurrent(QStringLiteral("Office"));
        printers_.SetOrientation(kPortrait);
        printers_.SetPaperCode(kPaperA4);
        SetProgramPrinters(&printers_);
    }
    void cleanup() { SetProgramPrinters(nullptr); }

    void createdFromDefaults_data()
    {
        QTest::addColumn<bool>("printer");
        QTest::addColumn<QString>("printerText");
        QTest::addColumn<QString>("paperText");
        QTest::addColumn<QString>("orientationText");
        QTest::newRow("printer") << true << QStringLiteral("Office") << QStringLiteral("A4") << QStringLiteral("縦");
        QTest::newRow("no printer") << false << QStringLiteral("(プリンタが登録されていません)")
                                    << QStringLiteral("A4 [210 x 297mm]") << QStringLiteral("横");
    }
    void createdFromDefaults()
    {
        QFETCH(bool, printer);
        QFETCH(QString, printerText);
        QFETCH(QString, paperText);
        QFETCH(QString, orientationText);
        SetProgramPrinters(printer ? &printers_ : &noPrinters_);
        PageSetupDialog dialog(ProgramPrinters(), RunPrinterSetupDialog);
        QCOMPARE(dialog.objectName(), QStringLiteral("TForm8"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("用紙設定"));
        QVERIFY(!Child<QPushButton>(&dialog, "btnApply")->isEnabled());
        QCOMPARE(Child<QPushButton>(&dialog, "btnPrinterSetting")->isEnabled(), printer);
        auto* list = Child<QComboBox>(&dialog, "cmbSpeedSetting1");
        QCOMPARE(list->count(), 4);
        QCOMPARE(list->itemText(3), QStringLiteral("ページ設定 4"));
        QCOMPARE(list->currentIndex(), 0);
        QCOMPARE(Child<QLabel>(&dialog, "lblPrinter")->text(), printerText);
        QCOMPARE(Child<QLabel>(&dialog, "lblPaperSize")->text(), paperText);
        QCOMPARE(Child<QLabel>(&dialog, "lblOrientation")->text(), orientationText);
        QCOMPARE(Child<QLabel>(&dialog, "lblBinding")->text(), QStringLiteral("なし"));
        QCOMPARE(Child<QLabel>(&dialog, "lblMarginT")->text(), QStringLiteral("2.5"));
        QCOMPARE(Child<QLabel>(&dialog, "lblMarginB")->text(), QStringLiteral("3.5"));
        QCOMPARE(Child<QLabel>(&dialog, "lblMarginL")->text(), QStringLiteral("3.5"));
        QCOMPARE(Child<QLabel>(&dialog, "lblMarginR")->text(), QStringLiteral("1.3"));
        QCOMPARE(FieldValue(dialog, "SaNumEditR"), 1.3);
        for (const char* name : { "Button1", "Button2", "btnOK", "btnCancel" })
            Child<QPushButton>(&dialog, name);
        for (const char* name : { "rbtnBindNone", "rbtnBindH", "rbtnBindV", "rbtnPaperOrientationV", "rbtnPaperOrientationH" })
            Child<QRadioButton>(&dialog, name);
    }

    // The system's printers through Qt; on a machine without a print queue this is the no-printer case.
    void systemPrintersWithoutAQueue()
    {
        const ProcessResult lpstat = RunProcess(QStringLiteral("lpstat"), { QStringLiteral("-p") });
        if (lpstat.exitCode == 0 && lpstat.out.contains("printer"))
            QSKIP("a print queue is installed");
        SetProgramPrinters(nullptr);
        PageSetupDialog dialog(ProgramPrinters(), RunPrinterSetupDialog);
        QCOMPARE(Child<QLabel>(&dialog, "lblPrinter")->text(), QStringLiteral("(プリンタが登録されていません)"));
        QVERIFY(!Child<QPushButton>(&dialog, "btnPrinterSetting")->isEnabled());
        Child<QRadioButton>(&dialog, "rbtnPaperOrientationV")->click();
        Child<QPushButton>(&dialog, "btnOK")->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Settings().AppliedOrientation(), kPortrait);
        QCOMPARE(dialog.Settings().CurrentSetting().paper, kPaperA4);
    }

    void orientationChangeResetsBindingAndSwitchesPictures()
    {
        PageSetupDialog dialog(ProgramPrinters(), RunPrinterSetupDialog);
        Child<QRadioButton>(&dialog, "rbtnBindH")->click();
        QVERIFY(!Child<QLabel>(&dialog, "lblGutter")->isHidden());
        QCOMPARE(ImageOf(Child<QRadioButton>(&dialog, "rbtnBindH")->icon()), Picture(BindingPicture(kPortrait, kBindTop)));

        Child<QRadioButton>(&dialog, "rbtnPaperOrientationH")->click();
        QVERIFY(Child<QRadioButton>(&dialog, "rbtnBindNone")->isChecked());
        QVERIFY(Child<QLabel>(&dialog, "lblGutter")->isHidden());
        QCOMPARE(Child<QLabel>(&dialog, "imgOrientation")->pixmap().toImage(), Picture(OrientationPicture(kLandscape)));
        QCOMPARE(ImageOf(Child<QRadioButton>(&dialog, "rbtnBindNone")->icon()), Picture(5));
        QCOMPARE(ImageOf(Child<QRadioButton>(&dialog, "rbtnBindH")->icon()), Picture(6));
        QCOMPARE(ImageOf(Child<QRadioButton>(&dialog, "rbtnBindV")->icon()), Picture(7));
        QVERIFY(Picture(6) != Picture(3));
        // A4 turned: 177 × 125 (297 : 210), centred across.
        QCOMPARE(Child<QFrame>(&dialog, "shpPaper")->geometry(), QRect(8, 34, 177, 125));
        QCOMPARE(printers_.Orientation(), kLandscape);
        QVERIFY(Child<QPushButton>(&dialog, "btnApply")->isEnabled());
    }

    void everyCloseRestoresTheAppliedState_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("cancel button") << QStringLiteral("cancel");
        QTest::newRow("close box") << QStringLiteral("close");
        QTest::newRow("escape") << QStringLiteral("escape");
    }
    void everyCloseRestoresTheAppliedState()
    {
        QFETCH(QString, how);
        PageSetupDialog dialog(ProgramPrinters(), RunPrinterSetupDialog);
        dialog.show();
        Child<QRadioButton>(&dialog, "rbtnBindV")->click();
        Child<QRadioButton>(&dialog, "rbtnPaperOrientationH")->click();
        Child<MarginField>(&dialog, "SaNumEditT")->setValue(4.0);
        Child<QTabWidget>(&dialog, "pgcSetup")->setCurrentIndex(2);
        if (how == QStringLiteral("cancel"))
            Child<QPushButton>(&dialog, "btnCancel")->click();
        else if (how == QStringLiteral("close"))
            dialog.close();
        else
            QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(Child<QRadioButton>(&dialog, "rbtnBindNone")->isChecked());
        QVERIFY(Child<QRadioButton>(&dialog, "rbtnPaperOrientationV")->isChecked());
        QCOMPARE(FieldValue(dialog, "SaNumEditT"), 2.5);
        QCOMPARE(printers_.Orientation(), kPortrait);
        QCOMPARE(Child<QTabWidget>(&dialog, "pgcSetup")->currentIndex(), 0);
        QVERIFY(!Child<QPushButton>(&dialog, "btnApply")->isEnabled());
        QCOMPARE(dialog.Settings().CurrentSetting().binding, kBindNone);
    }

    void appliedChoiceSurvivesCancel()
    {
        PageSetupDialog dialog(ProgramPrinters(), RunPrinterSetupDialog);
        dialog.show();
        ChooseSetting(dialog, 2);
        Child<QRadioButton>(&dialog, "rbtnBindH")->click();
        Child<QPushButton>(&dialog, "btnApply")->click();
        QVERIFY(!Child<QPushButton>(&dialog, "btnApply")->isEnabled());
        ChooseSetting(dialog, 1);
        Child<QPushButton>(&dialog, "btnCancel")->click();
        QCOMPARE(Child<QComboBox>(&dialog, "cmbSpeedSetting1")->currentIndex(), 2);
        QVERIFY(Child<QRadioButton>(&dialog, "rbtnBindH")->isChecked());
        QCOMPARE(dialog.Settings().Current(), 2);
        QCOMPARE(dialog.Settings().CurrentSetting().binding, kBindTop);
    }

    void okRefusesMarginsBelowThePrinterBorder()
    {
        printers_.MakeCurrent(QStringLiteral("Exact"));
        PageSetupDialog dialog(ProgramPrinters(), RunPrinterSetupDialog);
        dialog.open();
        SetMargins(dialog, 3.0, 1.0, 2.4, 2.5);
        const auto message = pagesetup::AnswerNextMessage();
        Child<QPushButton>(&dialog, "btnOK")->click();
        QVERIFY(message->shown);
        QCOMPARE(message->title, QStringLiteral("Typoscan Zindel"));
        QCOMPARE(message->text, QStringLiteral("左マージンを広くとってください"));
        QCOMPARE(message->icon, QMessageBox::Critical);
        QVERIFY(dialog.isVisible());
        QCOMPARE(Child<QTabWidget>(&dialog, "pgcSetup")->currentWidget()->objectName(), QStringLiteral("tabMargin"));
        QCOMPARE(dialog.Settings().AppliedMargins()[kSideLeft], QStringLiteral("3.5"));

        SetMargins(dialog, 3.0, 2.5, 2.5, 2.5); // exactly the border
        Child<QPushButton>(&dialog, "btnOK")->click();
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Settings().AppliedMargins(), (MarginTexts { "2.5", "3.0", "2.5", "2.5" }));
        QCOMPARE(dialog.Settings().CurrentSetting().printer, QStringLiteral("Exact"));
    }

    void renameRejectsEmptyAndDuplicateNames()
    {
        PageSetupDialog dialog(ProgramPrinters(), RunPrinterSetupDialog);
        ChooseSetting(dialog, 1);
        const QStringList messages
            = RenameWith(dialog, { QStringLiteral("  "), QStringLiteral("ページ設定 1"), QStringLiteral(" ページ設定 2 ") });
        QCOMPARE(messages,
            (QStringList { QStringLiteral("編集中の設定名が入力されていません"),
                QStringLiteral("編集中の設定名は既に登録済みです．\r\n新しい設定名を指定してください．"), QString() }));
        QCOMPARE(dialog.Settings().Setting(1).name, QStringLiteral("ページ設定 2"));
    }

    void renameSurvivesCancelAndRestart()
    {
        {
            PageSetupDialog dialog(ProgramPrinters(), RunPrinterSetupDialog);
            dialog.show();
            ChooseSetting(dialog, 3);
            QCOMPARE(RenameWith(dialog, { QStringLiteral(" 縦長の見本 ") }), QStringList { QString() });
            QCOMPARE(Child<QComboBox>(&dialog, "cmbSpeedSetting1")->itemText(3), QStringLiteral("縦長の見本"));
            Child<QPushButton>(&dialog, "btnCancel")->click();
            QCOMPARE(Child<QComboBox>(&dialog, "cmbSpeedSetting1")->itemText(3), QStringLiteral("縦長の見本"));
            QCOMPARE(dialog.Settings().Current(), 0);
        }
        PageSetupDialog restarted(ProgramPrinters(), RunPrinterSetupDialog);
        QCOMPARE(Child<QComboBox>(&restarted, "cmbSpeedSetting1")->itemText(3), QStringLiteral("縦長の見本"));
    }

    void nameWindowCancelAndCloseBoxChangeNothing()
    {
        PageSetupDialog dialog(ProgramPrinters(), RunPrinterSetupDialog);
        pagesetup::OnNextModal("tz::SetupNameDialog", [](QWidget* window) {
            Child<QLineEdit>(window, "edtName")->setText(QStringLiteral("捨てる名前"));
            window->close();
        });
        Child<QPushButton>(&dialog, "Button2")->click();
        QCOMPARE(dialog.Settings().Setting(0).name, QStringLiteral("ページ設定 1"));
        QVERIFY(Child<QPushButton>(&dialog, "btnApply")->isEnabled());
    }

    void nameFieldHoldsAtMost32Cp932Bytes()
    {
        SetupNameDialog window;
        window.SetNames({ QStringLiteral("a"), QStringLiteral("b") }, 0);
        window.show();
        auto* field = Child<QLineEdit>(&window, "edtName");
        QCOMPARE(field->selectedText(), QStringLiteral("a"));
        field->clear();
        Type(field, QStringLiteral("あ").repeated(15) + QStringLiteral("xyz"));
        QCOMPARE(field->text(), QStringLiteral("あ").repeated(15) + QStringLiteral("xy"));
        Type(field, QStringLiteral("😀")); // not in CP932
        QCOMPARE(field->text().size(), 17);
    }

    void marginFieldSteps_data()
    {
        QTest::addColumn<double>("start");
        QTest::addColumn<int>("key");
        QTest::addColumn<double>("expected");
        QTest::newRow("down from 0.0 stays 0.0") << 0.0 << int(Qt::Key_Down) << 0.0;
        QTest::newRow("down from 0.3") << 0.3 << int(Qt::Key_Down) << 0.2;
        QTest::newRow("up from 3.5") << 3.5 << int(Qt::Key_Up) << 3.6;
        QTest::newRow("up from 99.9 stays") << 99.9 << int(Qt::Key_Up) << 99.9;
    }
    void marginFieldSteps()
    {
        QFETCH(double, start);
        QFETCH(int, key);
        QFETCH(double, expected);
        PageSetupDialog dialog(ProgramPrinters(), RunPrinterSetupDialog);
        auto* field = Child<MarginField>(&dialog, "SaNumEditB");
        field->setValue(start);
        QTest::keyClick(field, Qt::Key(key));
        QCOMPARE(field->value(), expected);
        QVERIFY(!field->text().contains(u'-'));
        QVERIFY(!Child<QFrame>(&dialog, "shpGuideH")->isHidden());
    }

    void marginFieldTakesFullWidthDigits()
    {
        PageSetupDialog dialog(ProgramPrinters(), RunPrinterSetupDialog);
        auto* field = Child<MarginField>(&dialog, "SaNumEditL");
        field->selectAll();
        Type(field, QStringLiteral("１２．５"));
        QCOMPARE(field->value(), 12.5);
        Type(field, QStringLiteral("3")); // a second decimal is refused
        QCOMPARE(field->value(), 12.5);
        QVERIFY(Child<QPushButton>(&dialog, "btnApply")->isEnabled());
    }

    void guideLineFollowsTheField()
    {
        PageSetupDialog dialog(ProgramPrinters(), RunPrinterSetupDialog);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        Child<QTabWidget>(&dialog, "pgcSetup")->setCurrentIndex(2);
        auto* horizontal = Child<QFrame>(&dialog, "shpGuideH");
        auto* vertical = Child<QFrame>(&dialog, "shpGuideV");
        Child<MarginField>(&dialog, "SaNumEditT")->setFocus();
        QVERIFY(horizontal->isVisible());
        QVERIFY(!vertical->isVisible());
        const QRect paper = Child<QFrame>(&dialog, "shpPaper")->geometry();
        QCOMPARE(horizontal->y(), paper.top() + qRound(paper.height() * 25 / 297.0)); // 2.5 cm of 29.7
        Child<MarginField>(&dialog, "SaNumEditR")->setFocus();
        QVERIFY(!horizontal->isVisible());
        QVERIFY(vertical->isVisible());
        QCOMPARE(vertical->x(), paper.left() + paper.width() - qRound(paper.width() * 13 / 210.0)); // 1.3 cm of 21
        Child<MarginField>(&dialog, "SaNumEditR")->setValue(5.0);
        QCOMPARE(vertical->x(), paper.left() + paper.width() - qRound(paper.width() * 50 / 210.0));
    }

    // The diagram as drawn: the white sheet in the paper's proportions and
    // the red guide at the margin's distance from its edge, to scale.
    void diagramDrawsPaperAndMarginToScale_data()
    {
        QTest::addColumn<int>("paper");
        QTest::addColumn<bool>("landscape");
        QTest::addColumn<QString>("field");
        QTest::addColumn<double>("centimetres");
        QTest::addColumn<QSizeF>("sheet"); // millimetres as the sheet lies
        QTest::newRow("A4, top 1 cm") << 9 << false << "SaNumEditT" << 1.0 << QSizeF(210, 297);
        QTest::newRow("A4, top 2.5 cm") << 9 << false << "SaNumEditT" << 2.5 << QSizeF(210, 297);
        QTest::newRow("A4, top 9 cm") << 9 << false << "SaNumEditT" << 9.0 << QSizeF(210, 297);
        QTest::newRow("A4, bottom 4 cm") << 9 << false << "SaNumEditB" << 4.0 << QSizeF(210, 297);
        QTest::newRow("A4 turned, left 6 cm") << 9 << true << "SaNumEditL" << 6.0 << QSizeF(297, 210);
        QTest::newRow("Letter, right 3 cm") << 1 << false << "SaNumEditR" << 3.0 << QSizeF(215.9, 279.4);
        QTest::newRow("A5, top 5 cm") << 11 << false << "SaNumEditT" << 5.0 << QSizeF(148, 210);
    }
    void diagramDrawsPaperAndMarginToScale()
    {
        QFETCH(int, paper);
        QFETCH(bool, landscape);
        QFETCH(QString, field);
        QFETCH(double, centimetres);
        QFETCH(QSizeF, sheet);
        printers_.SetPaperCode(paper);
        PageSetupDialog dialog(ProgramPrinters(), RunPrinterSetupDialog);
        if (landscape)
            Child<QRadioButton>(&dialog, "rbtnPaperOrientationH")->click();
        auto* margin = Child<MarginField>(&dialog, field.toLatin1().constData());
        margin->setValue(centimetres);
        emit margin->Entered();
        const QImage drawn = Child<QFrame>(&dialog, "pnlPaper")->grab().toImage().convertToFormat(QImage::Format_RGB32);

        QRect white, red;
        // Inside the diagram's own frame.
        for (int y = 2; y < drawn.height() - 2; ++y) {
            for (int x = 2; x < drawn.width() - 2; ++x) {
                const QRgb pixel = drawn.pixel(x, y);
                if (pixel == qRgb(255, 255, 255))
                    white |= QRect(x, y, 1, 1);
                else if (pixel == qRgb(255, 0, 0))
                    red |= QRect(x, y, 1, 1);
            }
        }
        // The white inside of the sheet's one-pixel outline.
        const QSizeF outline(white.width() + 2, white.height() + 2);
        QVERIFY2(qAbs(outline.width() / outline.height() - sheet.width() / sheet.height()) < 0.01,
            qPrintable(QStringLiteral("%1 x %2").arg(outline.width()).arg(outline.height())));
        const bool across = field == u"SaNumEditT" || field == u"SaNumEditB";
        QCOMPARE(across ? red.height() : red.width(), 1);
        const double scale = across ? outline.height() / sheet.height() : outline.width() / sheet.width();
        const int expected = qRound(centimetres * 10 * scale);
        const QRect sheetRect = white.adjusted(-1, -1, 1, 1);
        const int drawnInset = field == u"SaNumEditT" ? red.top() - sheetRect.top()
            : field == u"SaNumEditB"                  ? sheetRect.bottom() + 1 - red.top()
            : field == u"SaNumEditL"                  ? red.left() - sheetRect.left()
                                                      : sheetRect.right() + 1 - red.left();
        QVERIFY2(qAbs(drawnInset - expected) <= 1, qPrintable(QStringLiteral("%1 != %2").arg(drawnInset).arg(expected)));
    }

    void bindingLabels_data()
    {
        QTest::addColumn<QString>("radio");
        QTest::addColumn<bool>("top");
        QTest::newRow("top binding") << QStringLiteral("rbtnBindH") << true;
        QTest::newRow("left binding") << QStringLiteral("rbtnBindV") << false;
    }
    void bindingLabels()
    {
        QFETCH(QString, radio);
        QFETCH(bool, top);
        PageSetupDialog dialog(ProgramPrinters(), RunPrinterSetupDialog);
        Child<QRadioButton>(&dialog, radio.toLatin1().constData())->click();
        const QRect gutter = Child<QLabel>(&dialog, "lblGutter")->geometry();
        const QRect foreEdge = Child<QLabel>(&dialog, "lblForeEdge")->geometry();
        const QRect paper = Child<QFrame>(&dialog, "shpPaper")->geometry();
        QCOMPARE(gutter.x(), paper.x() + 8);
        QCOMPARE(gutter.width(), paper.width() - 16);
        if (top) {
            QCOMPARE(gutter.y(), 8 + 8);
            QCOMPARE(foreEdge.y() + foreEdge.height(), 8 + 177 - 8);
        } else {
            QCOMPARE(gutter.y(), 8 + (177 - gutter.height()) / 2);
            QCOMPARE(foreEdge.y(), gutter.y());
            QVERIFY(Child<QLabel>(&dialog, "lblForeEdge")->alignment() & Qt::AlignRight);
        }
    }

    void largestAreaFillsTheFields()
    {
        PageSetupDialog dialog(ProgramPrinters(), RunPrinterSetupDialog);
        Child<QPushButton>(&dialog, "Button1")->click();
        QCOMPARE(FieldValue(dialog, "SaNumEditL"), 0.5);
        QCOMPARE(FieldValue(dialog, "SaNumEditT"), 0.6);
        QCOMPARE(FieldValue(dialog, "SaNumEditR"), 0.4);
        QCOMPARE(FieldValue(dialog, "SaNumEditB"), 0.7);
        QVERIFY(Child<QPushButton>(&dialog, "Button1")->isEnabled());
        QVERIFY(Child<QPushButton>(&dialog, "btnApply")->isEnabled());
    }

    void choosingASettingShowsItsValues()
    {
        {
            PageSetupDialog dialog(ProgramPrinters(), RunPrinterSetupDialog);
            ChooseSetting(dialog, 1);
            Child<QRadioButton>(&dialog, "rbtnPaperOrientationH")->click();
            Child<QRadioButton>(&dialog, "rbtnBindV")->click();
            SetMargins(dialog, 2.0, 2.1, 2.2, 2.3);
            Child<QPushButton>(&dialog, "btnApply")->click();
            ChooseSetting(dialog, 0);
            QVERIFY(Child<QRadioButton>(&dialog, "rbtnPaperOrientationV")->isChecked());
            QCOMPARE(printers_.Orientation(), kPortrait);
            ChooseSetting(dialog, 1);
            QVERIFY(Child<QRadioButton>(&dialog, "rbtnBindV")->isChecked());
            QCOMPARE(FieldValue(dialog, "SaNumEditR"), 2.3);
            QCOMPARE(Child<QLabel>(&dialog, "lblOrientation")->text(), QStringLiteral("横"));
            QCOMPARE(Child<QLabel>(&dialog, "lblBinding")->text(), QStringLiteral("左綴じ"));
            QCOMPARE(printers_.Orientation(), kLandscape);
        }
        PageSetupDialog restarted(ProgramPrinters(), RunPrinterSetupDialog);
        QCOMPARE(restarted.Settings().Current(), 1);
        QVERIFY(Child<QRadioButton>(&restarted, "rbtnBindV")->isChecked());
        QCOMPARE(restarted.Settings().AppliedMargins(), (MarginTexts { "2.2", "2.0", "2.3", "2.1" }));
    }
};

QTEST_MAIN(PageSetupDialogTest)
#include "test_page_setup_dialog.moc"
