#include "DialogHelpers.h"

#include <QAbstractButton>
#include <QApplication>

namespace tz::test {

namespace {

    QMessageBox* ModalMessageBox() { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); }

    SeenMessage Answer(QMessageBox* box, QMessageBox::StandardButton button)
    {
        SeenMessage seen { box->icon(), box->windowTitle(), box->text() };
        if (QAbstractButton* target = box->button(button))
            target->click();
        else
            box->done(button);
        return seen;
    }

} // namespace

MessageBoxAnswerer::MessageBoxAnswerer(QMessageBox::StandardButton button)
    : button_(button)
{
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, &MessageBoxAnswerer::Poll);
    timer_.start();
}

void MessageBoxAnswerer::Poll()
{
    if (QMessageBox* box = ModalMessageBox(); box && box->isVisible())
        seen_ << Answer(box, button_);
}

void AnswerNextMessageBox(QMessageBox::StandardButton button)
{
    auto* timer = new QTimer(qApp);
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, button] {
        if (QMessageBox* box = ModalMessageBox(); box && box->isVisible()) {
            timer->stop();
            timer->deleteLater();
            Answer(box, button);
        }
    });
    timer->start();
}

} // namespace tz::test
