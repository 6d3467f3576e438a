#include "fontlist/CharSearchDialog.h"

#include "fontfile/CharacterMap.h"
#include "settings/SettingsStore.h"
#include "settings/TextHistory.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tz {

const QString CharSearchDialog::kKeyPath = QStringLiteral("Zindel\\CharSearch");

CharSearchDialog::CharSearchDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("CharSearchDialog"));
    setWindowTitle(QStringLiteral("文字を含む書体を選択"));
    setModal(true);
    auto* label = new QLabel(QStringLiteral("含める文字(&T):"), this);
    cmbText_ = new QComboBox(this);
    cmbText_->setObjectName(QStringLiteral("cmbText"));
    cmbText_->setEditable(true);
    cmbText_->setInsertPolicy(QComboBox::NoInsert);
    cmbText_->setMinimumContentsLength(32);
    label->setBuddy(cmbText_);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole)->setObjectName(QStringLiteral("btnOK"));
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("btnCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(cmbText_);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    SettingsStore store;
    SettingsGroup group(store, kKeyPath, false);
    history_ = ReadTextHistory(group, kHistoryLimit);
    ShowHistory(history_.value(0));
}

CharSearchDialog::~CharSearchDialog()
{
    SettingsStore store;
    SettingsGroup group(store, kKeyPath);
    WriteTextHistory(group, history_, kHistoryLimit);
}

void CharSearchDialog::ShowHistory(const QString& text)
{
    cmbText_->clear();
    cmbText_->addItems(history_);
    cmbText_->setEditText(text);
}

std::optional<QString> CharSearchDialog::Ask()
{
    cmbText_->setFocus();
    cmbText_->lineEdit()->selectAll();
    if (exec() != QDialog::Accepted)
        return std::nullopt;
    return history_.value(0);
}

void CharSearchDialog::done(int result)
{
    const QString text = cmbText_->currentText();
    if (result == QDialog::Accepted) {
        if (CharactersOf(text).empty()) {
            cmbText_->setFocus();
            return;
        }
        RememberText(history_, text, kHistoryLimit);
        ShowHistory(text);
    }
    QDialog::done(result);
}

} // namespace tz
