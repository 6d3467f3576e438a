#include "DialogHelpers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>
#include <QTreeWidget>

namespace tz::test {

namespace {

    QMessageBox* ModalMessageBox() { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); }

    SeenMessage Answer(QMessageBox* box, QMessageBox::StandardButton button)
    {
        SeenMessage seen { box->icon(), box->windowTitle(), box->text(), box->standardButtons(),
            box->defaultButton() ? box->standardButton(box->defaultButton()) : QMessageBox::NoButton, {} };
        if (const auto* list = box->findChild<QTreeWidget*>()) {
            for (int i = 0; i < list->topLevelItemCount(); ++i)
                seen.listed << list->topLevelItem(i)->text(0) + QStringLiteral(": ") + list->topLevelItem(i)->text(1);
        }
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

ModalWatcher::ModalWatcher(std::function<void(QWidget*)> handle)
    : handle_(std::move(handle))
{
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, &ModalWatcher::Poll);
    timer_.start();
}

void ModalWatcher::Poll()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible() || seen_.contains(modal))
        return;
    seen_.removeAll(nullptr);
    seen_.append(modal);
    ++count_;
    handle_(modal);
}

} // namespace tz::test
