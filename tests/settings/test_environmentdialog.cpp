// The environment settings dialog TForm3, offscreen: controls by name,
// validation and its messages, snapshot and restore on every close, the
// previews, the heading-font list and loading and saving.
#include "DialogHelpers.h"
#include "SettingsFiles.h"
#include "SettingsPrivateFonts.h"
#include "platform/FontSubstitutes.h"
#include "settings/EnvironmentDialog.h"
#include "settings/SettingsStore.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace tz;

namespace {

const QString kSizeError = QStringLiteral("適切なサイズを指定してください");

template <class T> T* Control(const QDialog& dialog, const char* name)
{
    T* control = dialog.findChild<T*>(QString::fromLatin1(name));
    if (!control)
        qFatal("control %s missing", name);
    return control;
}

// Clicks a control as the user would: on its tab page, in the shown dialog.
void Click(QDialog& dialog, const QString& name)
{
    auto* button = dialog.findChild<QAbstractButton*>(name);
    if (!button)
        qFatal("control %s missing", qPrintable(name));
    dialog.show();
    QWidget* child = button;
    for (QWidget* parent = button->parentWidget(); parent; child = parent, parent = parent->parentWidget()) {
        if (auto* tabs = qobject_cast<QTabWidget*>(parent->parentWidget()))
            tabs->setCurrentWidget(child);
    }
    // Lets the page lay itself out before the click lands on the button.
    // Check boxes and radio buttons take clicks on their mark and caption
    // only, so the click goes near the left edge.
    QCoreApplication::processEvents();
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(qMin(8, button->width() / 2), button->height() / 2));
}

QString DefaultFace() { return QFontInfo(QFont()).family(); }

} // namespace

class TestEnvironmentDialog : public QObject {
    Q_OBJECT
public:
    explicit TestEnvironmentDialog(test::PrivateFonts fonts)
        : fonts_(std::move(fonts))
    {
    }

private slots:
    void initTestCase() { RegisterFontSubstitutes(); }
    void init() { test::RemoveSettingsFile(); }

    void standardHeadingFaceIsSubstituted()
    {
        QCOMPARE(QFontInfo(QFont(kProportionalGothicFace)).family(), QStringLiteral("IPAPGothic"));
    }

    void controlsAsDesigned()
    {
        EnvironmentDialog dialog;
        QCOMPARE(dialog.objectName(), QStringLiteral("TForm3"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("環境設定"));
        auto* tabs = Control<QTabWidget>(dialog, "tabSettings");
        QStringList captions;
        for (int i = 0; i < tabs->count(); ++i)
            captions << tabs->tabText(i);
        QCOMPARE(captions,
            (QStringList { "サイズ", "見出し", "見出しフォント", "Macintosh", "検索追加", "Drop操作", "その他" }));
        QCOMPARE(Control<QCheckBox>(dialog, "chk8pt")->text(), QStringLiteral("見本&1"));
        for (const char* name : { "cmb8pt", "cmb12pt", "cmb30pt", "cmb60pt", "cmbCustomSize" }) {
            auto* field = Control<QComboBox>(dialog, name);
            QVERIFY(field->isEditable());
            QCOMPARE(field->lineEdit()->maxLength(), 2);
        }
        QCOMPARE(Control<QComboBox>(dialog, "cmb60pt")->count(), 18);
        QCOMPARE(Control<QComboBox>(dialog, "cmbCustomSize")->itemText(6), QStringLiteral("16"));
        QCOMPARE(Control<QComboBox>(dialog, "cmbCustom")->maxVisibleItems(), 16);
        auto* install = Control<QCheckBox>(dialog, "chkInstallExt");
        QVERIFY(install->isChecked());
        QVERIFY(!install->isEnabled());
        QVERIFY(Control<QCheckBox>(dialog, "chkPlus")->isEnabled());
        QVERIFY(Control<QPushButton>(dialog, "btnOK")->isDefault());
        QCOMPARE(Control<QPushButton>(dialog, "btnCancel")->text(), QStringLiteral("キャンセル"));
    }

    void firstRunDefaults()
    {
        EnvironmentDialog dialog;
        QCOMPARE(dialog.Settings().lineShown, (std::array<bool, 4> { false, true, true, false }));
        QVERIFY(Control<QCheckBox>(dialog, "chk12pt")->isChecked());
        QVERIFY(!Control<QCheckBox>(dialog, "chk60pt")->isChecked());
        QCOMPARE(Control<QComboBox>(dialog, "cmb30pt")->currentText(), QStringLiteral("30"));
        QVERIFY(Control<QRadioButton>(dialog, "rbtStandard")->isChecked());
        QVERIFY(Control<QRadioButton>(dialog, "rbtTTCDrop1")->isChecked());
        QVERIFY(Control<QRadioButton>(dialog, "rbtnFileRight")->isChecked());
        QCOMPARE(Control<QComboBox>(dialog, "cmbCustomSize")->currentText(), QStringLiteral("12"));
        // The families of the private font folder, sorted; the default face selected.
        auto* faces = Control<QComboBox>(dialog, "cmbCustom");
        QStringList listed;
        for (int i = 0; i < faces->count(); ++i)
            listed << faces->itemText(i);
        QCOMPARE(listed, (QStringList { "DejaVu Sans", "DejaVu Serif", "IPAPGothic" }));
        QCOMPARE(faces->currentText(), DefaultFace());
        QCOMPARE(dialog.Settings().customFace, DefaultFace());
    }

    void invalidLineSizeAtOk_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("0") << "0";
        QTest::newRow("1a") << "1a";
        QTest::newRow("empty") << "";
    }

    void invalidLineSizeAtOk()
    {
        QFETCH(QString, text);
        EnvironmentDialog dialog;
        dialog.show();
        auto* field = Control<QComboBox>(dialog, "cmb30pt");
        field->setEditText(text);
        test::MessageBoxAnswerer answerer;
        dialog.accept();
        QCOMPARE(answerer.Count(), 1);
        QCOMPARE(answerer.Last().icon, QMessageBox::Critical);
        QCOMPARE(answerer.Last().title, QStringLiteral("Typoscan Zindel"));
        QCOMPARE(answerer.Last().text, kSizeError);
        QVERIFY(dialog.isVisible());
        QCOMPARE(field->currentText(), QStringLiteral("30"));
        QCOMPARE(dialog.focusWidget(), field);
    }

    void validSizesAccepted_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("size");
        QTest::newRow("99") << "99" << 99;
        QTest::newRow("1") << "1" << 1;
    }

    void validSizesAccepted()
    {
        QFETCH(QString, text);
        QFETCH(int, size);
        EnvironmentDialog dialog;
        dialog.show();
        Control<QComboBox>(dialog, "cmb8pt")->setEditText(text);
        test::MessageBoxAnswerer answerer;
        dialog.accept();
        QCOMPARE(answerer.Count(), 0);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Settings().lineSize[0], size);
    }

    void noLineCheckedAtOk()
    {
        EnvironmentDialog dialog;
        dialog.show();
        Control<QCheckBox>(dialog, "chk12pt")->setChecked(false);
        Control<QCheckBox>(dialog, "chk30pt")->setChecked(false);
        test::MessageBoxAnswerer answerer;
        dialog.accept();
        QCOMPARE(answerer.Count(), 1);
        QCOMPARE(answerer.Last().icon, QMessageBox::Information);
        QCOMPARE(answerer.Last().text, QStringLiteral("サイズを指定してください"));
        QVERIFY(dialog.isVisible());
        QVERIFY(dialog.Settings().lineShown[1]);
    }

    void invalidHeadingSizeAtOk()
    {
        EnvironmentDialog dialog;
        dialog.show();
        auto* size = Control<QComboBox>(dialog, "cmbCustomSize");
        size->setEditText(QStringLiteral("0"));
        test::MessageBoxAnswerer answerer;
        dialog.accept();
        QCOMPARE(answerer.Count(), 1);
        QCOMPARE(answerer.Last().text, kSizeError);
        QCOMPARE(Control<QTabWidget>(dialog, "tabSettings")->currentIndex(), 2);
        QCOMPARE(size->currentText(), QStringLiteral("12"));
        QVERIFY(dialog.isVisible());
    }

    void clearingHeadingSizeWhileTyping()
    {
        EnvironmentDialog dialog;
        dialog.show();
        QLineEdit* edit = Control<QComboBox>(dialog, "cmbCustomSize")->lineEdit();
        edit->selectAll();
        test::MessageBoxAnswerer answerer;
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(answerer.Count(), 1);
        QCOMPARE(answerer.Last().text, kSizeError);
        QCOMPARE(edit->text(), QStringLiteral("12"));
        QVERIFY(Control<QRadioButton>(dialog, "rbtCustom")->isChecked());
    }

    void leavingSizeFieldValidates()
    {
        EnvironmentDialog dialog;
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto* field = Control<QComboBox>(dialog, "cmb12pt");
        field->setFocus(Qt::TabFocusReason);
        field->setEditText(QStringLiteral("1a"));
        test::MessageBoxAnswerer answerer;
        Control<QCheckBox>(dialog, "chk8pt")->setFocus(Qt::TabFocusReason);
        QCOMPARE(answerer.Count(), 1);
        QCOMPARE(field->currentText(), QStringLiteral("12"));
    }

    void everyCloseRestores_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("Cancel") << 0;
        QTest::newRow("close box") << 1;
        QTest::newRow("Escape") << 2;
    }

    void everyCloseRestores()
    {
        QFETCH(int, how);
        EnvironmentDialog dialog;
        dialog.show();
        const EnvironmentSettings before = dialog.Settings();
        Control<QCheckBox>(dialog, "chk8pt")->setChecked(true);
        Control<QComboBox>(dialog, "cmb8pt")->setEditText(QStringLiteral("1a"));
        Click(dialog, "rbtTTCDrop2");
        Click(dialog, "rbtCustom");
        Control<QTabWidget>(dialog, "tabSettings")->setCurrentIndex(5);
        test::MessageBoxAnswerer answerer;
        if (how == 0)
            Click(dialog, "btnCancel");
        else if (how == 1)
            dialog.close();
        else
            QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(answerer.Count(), 0);
        QCOMPARE(dialog.Settings(), before);
        QVERIFY(!Control<QCheckBox>(dialog, "chk8pt")->isChecked());
        QCOMPARE(Control<QComboBox>(dialog, "cmb8pt")->currentText(), QStringLiteral("8"));
        QVERIFY(Control<QRadioButton>(dialog, "rbtTTCDrop1")->isChecked());
        QVERIFY(Control<QRadioButton>(dialog, "rbtStandard")->isChecked());
        QCOMPARE(Control<QTabWidget>(dialog, "tabSettings")->currentIndex(), 0);
        QCOMPARE(dialog.focusWidget(), Control<QPushButton>(dialog, "btnCancel"));
    }

    void okAcceptsEveryControl()
    {
        EnvironmentDialog dialog;
        dialog.show();
        Control<QCheckBox>(dialog, "chk60pt")->setChecked(true);
        Control<QComboBox>(dialog, "cmb60pt")->setEditText(QStringLiteral("72"));
        Control<QCheckBox>(dialog, "chkTTCDrop")->setChecked(false);
        Click(dialog, "rbtTTCSearch2");
        Control<QCheckBox>(dialog, "chkArchiveSearch")->setChecked(false);
        Control<QCheckBox>(dialog, "chkMacExt")->setChecked(false);
        Control<QCheckBox>(dialog, "chkPlus")->setChecked(true);
        Click(dialog, "rbtnFileLeft");
        auto* faces = Control<QComboBox>(dialog, "cmbCustom");
        faces->setCurrentIndex(faces->findText(QStringLiteral("DejaVu Serif")));
        Click(dialog, "rbtCustom");
        Control<QComboBox>(dialog, "cmbCustomSize")->setEditText(QStringLiteral("14"));
        Click(dialog, "btnOK");
        const EnvironmentSettings& s = dialog.Settings();
        QCOMPARE(s.lineShown[3], true);
        QCOMPARE(s.lineSize[3], 72);
        QCOMPARE(s.DropFaceSelection(), -1);
        QCOMPARE(s.SearchFaceSelection(), 1);
        QVERIFY(!s.searchArchives);
        QVERIFY(!s.macExtension);
        QVERIFY(s.smoothPreview);
        QVERIFY(s.heading.fileLeft);
        QCOMPARE(s.HeadingFace(), QStringLiteral("DejaVu Serif"));
        QCOMPARE(s.HeadingSize(), 14);
    }

    // The choice of the wider set of formats sits with the other adding
    // options, off at first; OK takes it, Cancel puts it back, and it is
    // stored when the dialog goes.
    void widerFormatsCheckBox()
    {
        {
            EnvironmentDialog dialog;
            auto* box = Control<QCheckBox>(dialog, "chkAllFormats");
            QCOMPARE(box->text(), QStringLiteral("OpenType(CFF)・WOFF形式と7z・tar・RAR書庫も扱う(&O)"));
            auto* tabs = Control<QTabWidget>(dialog, "tabSettings");
            QCOMPARE(tabs->tabText(tabs->indexOf(box->parentWidget())), QStringLiteral("検索追加"));
            QVERIFY(!box->isChecked());
            QCOMPARE(dialog.Settings().Formats(), FontFormats::Designed);
            Click(dialog, "chkAllFormats");
            QVERIFY(box->isChecked());
            Click(dialog, "btnCancel");
            QVERIFY(!box->isChecked());
            QVERIFY(!dialog.Settings().allFormats);
            Click(dialog, "chkAllFormats");
            Click(dialog, "btnOK");
            QCOMPARE(dialog.Settings().Formats(), FontFormats::All);
        }
        QVERIFY(test::ReadSettingsFile().contains(QStringLiteral("\"EnableAllFormats\"=dword:00000001")));
        EnvironmentDialog again;
        QVERIFY(Control<QCheckBox>(again, "chkAllFormats")->isChecked());
    }

    void radioChecksItsBox_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("radio");
        QTest::newRow("drop first") << "chkTTCDrop"
                                    << "rbtTTCDrop1";
        QTest::newRow("drop last") << "chkTTCDrop"
                                   << "rbtTTCDrop2";
        QTest::newRow("search first") << "chkTTCSearch"
                                      << "rbtTTCSearch1";
        QTest::newRow("search last") << "chkTTCSearch"
                                     << "rbtTTCSearch2";
    }

    void radioChecksItsBox()
    {
        QFETCH(QString, box);
        QFETCH(QString, radio);
        EnvironmentDialog dialog;
        auto* check = dialog.findChild<QCheckBox*>(box);
        check->setChecked(false);
        Click(dialog, radio);
        QVERIFY(check->isChecked());
    }

    void compositionPreview_data()
    {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("right");
        QTest::newRow("defaults") << QStringList() << "Verdana Bold / Verdana"
                                  << "VERDANAB.TTF";
        QTest::newRow("all left") << QStringList { "rbtnFileLeft" } << "Verdana Bold / Verdana / VERDANAB.TTF"
                                  << "";
        QTest::newRow("family and file right") << QStringList { "chkFace", "rbtnFaceRight" } << ""
                                               << "Verdana / VERDANAB.TTF";
    }

    void compositionPreview()
    {
        QFETCH(QStringList, clicks);
        QFETCH(QString, left);
        QFETCH(QString, right);
        EnvironmentDialog dialog;
        for (const QString& name : clicks)
            Click(dialog, name);
        QCOMPARE(Control<QLabel>(dialog, "lblHeadingLeft")->text(), left);
        QCOMPARE(Control<QLabel>(dialog, "lblHeadingRight")->text(), right);
    }

    void sizePreviewStacksCheckedLines()
    {
        EnvironmentDialog dialog;
        dialog.show();
        auto* line2 = Control<QLabel>(dialog, "lblPreview12pt");
        auto* line3 = Control<QLabel>(dialog, "lblPreview30pt");
        QVERIFY(!Control<QLabel>(dialog, "lblPreview8pt")->isVisible());
        QCOMPARE(line2->y(), 0);
        QCOMPARE(line3->y(), line2->height());
        QCOMPARE(QFontInfo(line3->font()).pointSize(), 30);
        QCOMPARE(QFontInfo(line3->font()).family(), QStringLiteral("IPAPGothic"));
    }

    void storedCustomFace_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("selected");
        QTest::newRow("installed") << "DejaVu Serif"
                                   << "DejaVu Serif";
        QTest::newRow("no longer installed") << "No Such Face 4711" << DefaultFace();
    }

    void storedCustomFace()
    {
        QFETCH(QString, stored);
        QFETCH(QString, selected);
        test::WriteSettingsFile(
            QStringLiteral("[Zindel\\Title]\n\"Text\"=\"%1\"\n\"Size\"=\"\"\n\"Value\"=dword:00000000\n").arg(stored));
        EnvironmentDialog dialog;
        QCOMPARE(Control<QComboBox>(dialog, "cmbCustom")->currentText(), selected);
        QCOMPARE(dialog.Settings().customFace, selected);
        QCOMPARE(dialog.Settings().customSize, 12);
        QVERIFY(Control<QRadioButton>(dialog, "rbtCustom")->isChecked());
    }

    void savedAtDestructionAndLoadedAgain()
    {
        EnvironmentSettings accepted;
        {
            EnvironmentDialog dialog;
            dialog.show();
            Control<QCheckBox>(dialog, "chk8pt")->setChecked(true);
            Control<QComboBox>(dialog, "cmb8pt")->setEditText(QStringLiteral("9"));
            Click(dialog, "rbtTTCDrop2");
            Control<QCheckBox>(dialog, "chkFamily")->setChecked(false);
            dialog.accept();
            accepted = dialog.Settings();
            // Nothing reaches the store before the owner is destroyed.
            QVERIFY(!test::ReadSettingsFile().contains(QStringLiteral("size8")));
        }
        EnvironmentDialog again;
        QCOMPARE(again.Settings(), accepted);
        QCOMPARE(Control<QComboBox>(again, "cmb8pt")->currentText(), QStringLiteral("9"));
        QVERIFY(Control<QRadioButton>(again, "rbtTTCDrop2")->isChecked());
        QVERIFY(!Control<QCheckBox>(again, "chkFamily")->isChecked());
    }

    void fontRefresh()
    {
        test::WriteSettingsFile(
            QStringLiteral("[Zindel\\Title]\n\"Text\"=\"DejaVu Serif\"\n\"Value\"=dword:00000000\n"));
        EnvironmentDialog dialog;
        dialog.show();
        // An edit in the open dialog is not accepted by the refresh.
        Control<QCheckBox>(dialog, "chk8pt")->setChecked(true);
        dialog.RefreshFontList();
        QCOMPARE(dialog.Settings().customFace, QStringLiteral("DejaVu Serif"));

        // Moved out of the font folder: fontconfig reads every file inside it.
        const QString file = fonts_.fontFolder + QStringLiteral("/DejaVuSerif.ttf");
        const QString aside = fonts_.fontFolder + QStringLiteral("/../DejaVuSerif.ttf");
        QVERIFY(QFile::rename(file, aside));
        dialog.RefreshFontList();
        QVERIFY(QFile::rename(aside, file));
        QCOMPARE(Control<QComboBox>(dialog, "cmbCustom")->findText(QStringLiteral("DejaVu Serif")), -1);
        QCOMPARE(dialog.Settings().customFace, DefaultFace());
        QCOMPARE(Control<QComboBox>(dialog, "cmbCustom")->currentText(), DefaultFace());
        QVERIFY(!dialog.Settings().lineShown[0]);
    }

private:
    test::PrivateFonts fonts_;
};

int main(int argc, char** argv)
{
    // The font list is that of a folder of the test's own, set up before the
    // toolkit first asks fontconfig.
    QTemporaryDir root;
    test::PrivateFonts fonts = test::UsePrivateFonts(
        root.filePath(QStringLiteral("fc")), { test::kDejaVuSans, test::kDejaVuSerif, test::kIpaPGothic });
    QApplication app(argc, argv);
    TestEnvironmentDialog test(std::move(fonts));
    return QTest::qExec(&test, argc, argv);
}

#include "test_environmentdialog.moc"
