#include "settings/SampleTextDialog.h"

#include "widgets/SettingsDialogFrame.h"

#include "settings/SettingsStore.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tz {

namespace {

    struct ClassLook {
        const char* caption; // tab caption
        const char* tag; // middle part of the control names
        bool inputMethod; // whether an input method may compose text at all
        Qt::InputMethodHints hints;
    };

    // Symbol texts are typed byte by byte, Ascii texts start without the
    // input method, Japanese texts with it.
    constexpr std::array<ClassLook, kSampleClassCount> kLooks { {
        { "SYMBOL", "Symbol", false, Qt::ImhLatinOnly },
        { "ASCII", "Ascii", true, Qt::ImhLatinOnly },
        { "SHIFTJIS", "Sjis", true, Qt::ImhNone },
    } };

} // namespace

SampleTextDialog::SampleTextDialog(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TForm4"));
    setWindowTitle(QStringLiteral("見本文章設定"));

    tabs_ = new QTabWidget;
    tabs_->setObjectName(QStringLiteral("tabClasses"));
    for (int c = 0; c < kSampleClassCount; ++c)
        tabs_->addTab(BuildPage(c), QString::fromLatin1(kLooks[c].caption));

    const DialogButtons buttons = LayOutSettingsDialog(*this, tabs_);
    btnOK_ = buttons.ok;
    btnCancel_ = buttons.cancel;

    {
        SettingsStore store;
        texts_.Load(store);
    }
    Restore();
}

SampleTextDialog::~SampleTextDialog()
{
    SettingsStore store;
    texts_.Save(store);
}

QWidget* SampleTextDialog::BuildPage(int sampleClass)
{
    const ClassLook& look = kLooks[sampleClass];
    const QString tag = QString::fromLatin1(look.tag);
    ClassPage& page = pages_[sampleClass];

    page.standard = new QRadioButton(QStringLiteral("Typoscan標準(&S)"));
    page.standard->setObjectName(QStringLiteral("rbt%1Standard").arg(tag));
    page.standardText = new QLineEdit(SampleTextSet::StandardText(sampleClass));
    page.standardText->setObjectName(QStringLiteral("edt%1Standard").arg(tag));
    page.standardText->setReadOnly(true);
    page.standardText->setFrame(false);
    page.custom = new QRadioButton(QStringLiteral("指定(&U)"));
    page.custom->setObjectName(QStringLiteral("rbt%1Custom").arg(tag));
    page.text = new QComboBox;
    page.text->setObjectName(QStringLiteral("cmb%1").arg(tag));
    page.text->setEditable(true);
    page.text->setInsertPolicy(QComboBox::NoInsert);
    for (QWidget* field : { static_cast<QWidget*>(page.text), static_cast<QWidget*>(page.text->lineEdit()) }) {
        field->setAttribute(Qt::WA_InputMethodEnabled, look.inputMethod);
        field->setInputMethodHints(look.hints);
    }

    QRadioButton* custom = page.custom;
    connect(page.text->lineEdit(), &QLineEdit::textEdited, custom, [custom] { custom->setChecked(true); });
    connect(page.text, &QComboBox::activated, custom, [custom] { custom->setChecked(true); });

    auto* widget = new QWidget;
    auto* grid = new QGridLayout(widget);
    grid->addWidget(page.standard, 0, 0, 1, 2);
    grid->addWidget(page.standardText, 1, 1);
    grid->addWidget(page.custom, 2, 0, 1, 2);
    grid->addWidget(page.text, 3, 1);
    grid->setColumnMinimumWidth(0, 16);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(4, 1);
    return widget;
}

void SampleTextDialog::TakeSnapshot()
{
    for (int c = 0; c < kSampleClassCount; ++c) {
        SampleText& entry = texts_.Entry(c);
        entry.useStandard = !pages_[c].custom->isChecked();
        entry.customText = pages_[c].text->currentText();
    }
    texts_.FallBackFromEmptyTexts();
}

void SampleTextDialog::Restore()
{
    for (int c = 0; c < kSampleClassCount; ++c) {
        const SampleText& entry = texts_.Entry(c);
        const ClassPage& page = pages_[c];
        (entry.useStandard ? page.standard : page.custom)->setChecked(true);
        const QSignalBlocker blocker(page.text);
        page.text->clear();
        page.text->addItems(entry.history);
        page.text->setCurrentIndex(-1);
        page.text->setEditText(entry.customText);
    }
}

void SampleTextDialog::done(int result)
{
    if (result == QDialog::Accepted) {
        TakeSnapshot();
        texts_.RememberCustomTexts();
    }
    Restore();
    tabs_->setCurrentIndex(kSymbolClass);
    btnCancel_->setFocus();
    QDialog::done(result);
}

void SampleTextDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    btnCancel_->setFocus();
}

} // namespace tz
