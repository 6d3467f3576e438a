// The sample text dialog TForm4, offscreen: controls by name, the custom
// choice, OK with its history rule, restore on every close, load and save.
#include "SettingsFiles.h"
#include "settings/SampleTextDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QtTest>

using namespace tz;

namespace {

template <class T> T* Control(const QDialog& dialog, const QString& name)
{
    T* control = dialog.findChild<T*>(name);
    if (!control)
        qFatal("control %s missing", qPrintable(name));
    return control;
}

QStringList Items(const QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

// Types a custom text as the user would: select everything, type over it
// one key at a time (Japanese text arrives as the text of key events too).
void TypeText(QComboBox* combo, const QString& text)
{
    QLineEdit* edit = combo->lineEdit();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    for (const QChar c : text) {
        QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit, &key);
    }
}

} // namespace

class TestSampleTextDialog : public QObject {
    Q_OBJECT
private slots:
    void init() { test::RemoveSettingsFile(); }

    void controlsAsDesigned()
    {
        SampleTextDialog dialog;
        QCOMPARE(dialog.objectName(), QStringLiteral("TForm4"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("見本文章設定"));
        auto* tabs = Control<QTabWidget>(dialog, QStringLiteral("tabClasses"));
        QCOMPARE(tabs->count(), 3);
        QCOMPARE(tabs->tabText(1), QStringLiteral("ASCII"));
        const QStringList tags { "Symbol", "Ascii", "Sjis" };
        for (int c = 0; c < kSampleClassCount; ++c) {
            auto* standard = Control<QLineEdit>(dialog, QStringLiteral("edt%1Standard").arg(tags[c]));
            QVERIFY(standard->isReadOnly());
            QVERIFY(!standard->hasFrame());
            QCOMPARE(standard->text(), SampleTextSet::StandardText(c));
            QVERIFY(Control<QRadioButton>(dialog, QStringLiteral("rbt%1Standard").arg(tags[c]))->isChecked());
            auto* combo = Control<QComboBox>(dialog, QStringLiteral("cmb%1").arg(tags[c]));
            QCOMPARE(Items(combo), SampleTextSet::DefaultHistory(c));
            QCOMPARE(combo->currentText(), QString());
        }
        QVERIFY(!Control<QComboBox>(dialog, "cmbSymbol")->lineEdit()->testAttribute(Qt::WA_InputMethodEnabled));
        QCOMPARE(Control<QComboBox>(dialog, "cmbAscii")->lineEdit()->inputMethodHints(), Qt::ImhLatinOnly);
        QCOMPARE(Control<QComboBox>(dialog, "cmbSjis")->lineEdit()->inputMethodHints(), Qt::ImhNone);
    }

    void typingOrChoosingSelectsCustom()
    {
        SampleTextDialog dialog;
        dialog.show();
        QTest::keyClicks(Control<QComboBox>(dialog, "cmbAscii")->lineEdit(), QStringLiteral("Hello"));
        QVERIFY(Control<QRadioButton>(dialog, "rbtAsciiCustom")->isChecked());
        auto* sjis = Control<QComboBox>(dialog, "cmbSjis");
        QTest::keyClick(sjis, Qt::Key_Down);
        QVERIFY(Control<QRadioButton>(dialog, "rbtSjisCustom")->isChecked());
        QCOMPARE(sjis->currentText(), SampleTextSet::DefaultHistory(kShiftJisClass).value(sjis->currentIndex()));
    }

    void emptyCustomTextFallsBackAtOk()
    {
        SampleTextDialog dialog;
        dialog.show();
        Control<QRadioButton>(dialog, "rbtAsciiCustom")->setChecked(true);
        dialog.accept();
        QVERIFY(Control<QRadioButton>(dialog, "rbtAsciiStandard")->isChecked());
        QCOMPARE(dialog.Texts().EffectiveText(kAsciiClass), SampleTextSet::StandardText(kAsciiClass));
    }

    void okMovesKnownTextToTopIgnoringCase()
    {
        SampleTextDialog dialog;
        dialog.show();
        auto* ascii = Control<QComboBox>(dialog, "cmbAscii");
        const QString typed = QStringLiteral("the QUICK brown fox jumps over the lazy dog. 1234567890");
        TypeText(ascii, typed);
        Control<QPushButton>(dialog, "btnOK")->click();
        const QStringList history = dialog.Texts().Entry(kAsciiClass).history;
        QCOMPARE(history.size(), 4);
        QCOMPARE(history.first(), typed);
        QCOMPARE(history.count(typed), 1);
        QCOMPARE(Items(ascii), history);
        QCOMPARE(dialog.Texts().EffectiveText(kAsciiClass), typed);
        QCOMPARE(ascii->currentText(), typed);
    }

    void historyKeepsEight()
    {
        SampleTextDialog dialog;
        dialog.show();
        auto* sjis = Control<QComboBox>(dialog, "cmbSjis");
        for (int i = 1; i <= 9; ++i) {
            TypeText(sjis, QStringLiteral("見本 %1").arg(i));
            dialog.accept();
        }
        const QStringList history = dialog.Texts().Entry(kShiftJisClass).history;
        QCOMPARE(history.size(), 8);
        QCOMPARE(history.first(), QStringLiteral("見本 9"));
        QCOMPARE(history.last(), QStringLiteral("見本 2"));
    }

    void everyCloseRestores_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Cancel") << false;
        QTest::newRow("close box") << true;
    }

    void everyCloseRestores()
    {
        QFETCH(bool, closeBox);
        SampleTextDialog dialog;
        dialog.show();
        auto* ascii = Control<QComboBox>(dialog, "cmbAscii");
        TypeText(ascii, QStringLiteral("accepted"));
        dialog.accept();
        const SampleTextSet accepted = dialog.Texts();

        dialog.show();
        TypeText(ascii, QStringLiteral("not accepted"));
        Control<QRadioButton>(dialog, "rbtSymbolCustom")->setChecked(true);
        Control<QTabWidget>(dialog, "tabClasses")->setCurrentIndex(2);
        if (closeBox)
            dialog.close();
        else
            Control<QPushButton>(dialog, "btnCancel")->click();
        QCOMPARE(dialog.Texts(), accepted);
        QCOMPARE(ascii->currentText(), QStringLiteral("accepted"));
        QVERIFY(Control<QRadioButton>(dialog, "rbtAsciiCustom")->isChecked());
        QVERIFY(Control<QRadioButton>(dialog, "rbtSymbolStandard")->isChecked());
        QCOMPARE(Items(ascii), accepted.Entry(kAsciiClass).history);
        QCOMPARE(Control<QTabWidget>(dialog, "tabClasses")->currentIndex(), 0);
        QCOMPARE(dialog.focusWidget(), Control<QPushButton>(dialog, "btnCancel"));
    }

    void savedAtDestructionAndLoadedAgain()
    {
        SampleTextSet accepted;
        {
            SampleTextDialog dialog;
            dialog.show();
            TypeText(Control<QComboBox>(dialog, "cmbSymbol"), QStringLiteral("!#$%"));
            TypeText(Control<QComboBox>(dialog, "cmbSjis"), QStringLiteral("日本語"));
            dialog.accept();
            accepted = dialog.Texts();
        }
        SampleTextDialog again;
        QCOMPARE(again.Texts(), accepted);
        QCOMPARE(again.Texts().EffectiveText(kSymbolClass), QStringLiteral("!#$%"));
        QCOMPARE(Control<QComboBox>(again, "cmbSjis")->currentText(), QStringLiteral("日本語"));
        QVERIFY(Control<QRadioButton>(again, "rbtSjisCustom")->isChecked());
    }
};

QTEST_MAIN(TestSampleTextDialog)
#include "test_sampletextdialog.moc"
