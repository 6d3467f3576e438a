#include "pagesetup/SetupNameDialog.h"
#include "widgets/MessageText.h"

#include "platform/Text.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QValidator>
#include <QVBoxLayout>

namespace tz {

namespace {

    // Accepts text that CP932 can hold in at most the given number of bytes.
    class Cp932LengthValidator final : public QValidator {
    public:
        Cp932LengthValidator(int maxBytes, QObject* parent)
            : QValidator(parent)
            , maxBytes_(maxBytes)
        {
        }
        State validate(QString& input, int&) const override
        {
            const auto bytes = EncodeCp932(input);
            return bytes && bytes->size() <= maxBytes_ ? Acceptable : Invalid;
        }

    private:
        int maxBytes_;
    };

} // namespace

SetupNameDialog::SetupNameDialog(QWidget* parent)
    : QDialog(parent)
    , edtName_(new QLineEdit(this))
{
    setObjectName(QStringLiteral("TForm14"));
    setWindowTitle(QStringLiteral("ページ設定名を編集"));
    setModal(true);

    auto* label = new QLabel(QStringLiteral("新しい設定名(&N):"), this);
    label->setObjectName(QStringLiteral("lblName"));
    label->setBuddy(edtName_);
    edtName_->setObjectName(QStringLiteral("edtName"));
    edtName_->setValidator(new Cp932LengthValidator(kNameBytes, edtName_));
    edtName_->installEventFilter(this);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btnOK"));
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(edtName_);
    layout->addWidget(buttons);
    setFixedWidth(300);
}

void SetupNameDialog::SetNames(const QStringList& names, int selected)
{
    names_ = names;
    selected_ = selected;
}

QString SetupNameDialog::Name() const { return edtName_->text(); }

void SetupNameDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    edtName_->setText(names_.value(selected_));
    edtName_->setFocus();
    edtName_->selectAll();
}

bool SetupNameDialog::eventFilter(QObject* watched, QEvent* event)
{
    // Entering the field by mouse selects all of it as well (after the click placed the cursor).
    if (watched == edtName_ && event->type() == QEvent::FocusIn)
        QTimer::singleShot(0, edtName_, &QLineEdit::selectAll);
    return QDialog::eventFilter(watched, event);
}

QString SetupNameDialog::Validate(const QString& name) const
{
    if (name.isEmpty())
        return QStringLiteral("編集中の設定名が入力されていません");
    for (int slot = 0; slot < names_.size(); ++slot) {
        if (slot != selected_ && names_[slot] == name)
            return QStringLiteral("編集中の設定名は既に登録済みです．\r\n新しい設定名を指定してください．");
    }
    return {};
}

void SetupNameDialog::done(int result)
{
    if (result == Accepted) {
        const QString name = edtName_->text().trimmed();
        if (const QString error = Validate(name); !error.isEmpty()) {
            QMessageBox::critical(this, kProductTitle, error);
            return;
        }
        edtName_->setText(name);
    } else {
        // Cancel and the close box leave the name as it was.
        edtName_->setText(names_.value(selected_));
    }
    QDialog::done(result);
}

} // namespace tz
