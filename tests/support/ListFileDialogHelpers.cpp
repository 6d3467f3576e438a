#include "ListFileDialogHelpers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QPushButton>

namespace tz::test {

ModalAnswers::ModalAnswers()
{
    timer_.setInterval(5);
    connect(&timer_, &QTimer::timeout, this, [this] { Poll(); });
    timer_.start();
}

ModalAnswers& ModalAnswers::Message(QMessageBox::StandardButton button)
{
    answers_.append({ false, button, {}, false });
    return *this;
}

ModalAnswers& ModalAnswers::File(const QString& path, bool ignoreDriveLetter)
{
    answers_.append({ true, QMessageBox::NoButton, path, ignoreDriveLetter });
    return *this;
}

QStringList ModalAnswers::MessageTexts() const
{
    QStringList texts;
    for (const AnsweredMessage& m : messages_)
        texts << m.text;
    return texts;
}

void ModalAnswers::Poll()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == handled_ || !modal->isVisible())
        return;
    auto* box = qobject_cast<QMessageBox*>(modal);
    auto* dialog = qobject_cast<QFileDialog*>(modal);
    if (!box && !dialog)
        return;
    handled_ = modal;
    const bool expected = !answers_.isEmpty() && answers_.first().file == (dialog != nullptr);
    const Answer answer = expected ? answers_.takeFirst() : Answer {};
    if (!expected)
        ++unexpected_;
    if (box) {
        messages_.append({ box->windowTitle(), box->text(), box->icon(),
            box->defaultButton() ? box->standardButton(box->defaultButton()) : QMessageBox::NoButton });
        QAbstractButton* button = expected ? box->button(answer.button) : nullptr;
        if (button)
            button->click();
        else
            box->reject();
        return;
    }
    if (answer.path.isEmpty()) {
        dialog->reject();
        return;
    }
    if (auto* check = dialog->findChild<QCheckBox*>(QStringLiteral("chkDriveLetter")))
        check->setChecked(answer.ignoreDriveLetter);
    dialog->selectFile(answer.path);
    static_cast<QDialog*>(dialog)->accept(); // QFileDialog::accept, checks included
}

} // namespace tz::test
