#include "PageSetupDialogHelpers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QTimer>

namespace tz::test::pagesetup {

void OnNextModal(const char* className, std::function<void(QWidget*)> answer)
{
    auto* timer = new QTimer(qApp);
    timer->setInterval(0);
    const QDeadlineTimer deadline(5000);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, deadline, className, answer = std::move(answer)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->inherits(className) && modal->isVisible()) {
            timer->deleteLater();
            timer->stop();
            answer(modal);
        } else if (deadline.hasExpired()) {
            timer->deleteLater();
            timer->stop();
        }
    });
    timer->start();
}

std::shared_ptr<ShownMessage> AnswerNextMessage()
{
    auto message = std::make_shared<ShownMessage>();
    OnNextModal("QMessageBox", [message](QWidget* widget) {
        auto* box = static_cast<QMessageBox*>(widget);
        message->shown = true;
        message->title = box->windowTitle();
        message->text = box->text();
        message->icon = box->icon();
        const auto buttons = box->buttons();
        if (buttons.isEmpty())
            box->reject();
        else
            buttons.first()->click();
    });
    return message;
}

} // namespace tz::test::pagesetup
