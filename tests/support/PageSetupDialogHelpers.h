#pragma once
// Answers the modal windows the page setup tests open: a zero-interval timer
// waits for the next modal window of a class and hands it to a function, which
// closes it.
#include <QMessageBox>
#include <QPointer>
#include <functional>
#include <memory>

namespace tz::test::pagesetup {

// Calls answer with the next modal window that inherits className (within
// five seconds). The answer must close it.
void OnNextModal(const char* className, std::function<void(QWidget*)> answer);

// What the answered message box showed; shown stays false when none appeared.
struct ShownMessage {
    bool shown = false;
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Closes the next message box with its first button and records it.
std::shared_ptr<ShownMessage> AnswerNextMessage();

} // namespace tz::test::pagesetup
