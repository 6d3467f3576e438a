#include "ListViewDialogHelpers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QPushButton>

namespace tz::test {

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

MessageBoxAnswerer::MessageBoxAnswerer(QMessageBox::StandardButton answer)
    : watcher_([this, answer](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box)
            return;
        ++count_;
        Title = box->windowTitle();
        Text = box->text();
        Icon = box->icon();
        Buttons = box->standardButtons();
        DefaultButton = box->defaultButton() ? box->standardButton(box->defaultButton()) : QMessageBox::NoButton;
        if (QAbstractButton* button = box->button(answer))
            button->click();
        else
            box->reject();
    })
{
}

} // namespace tz::test
