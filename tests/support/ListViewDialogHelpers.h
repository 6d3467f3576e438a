#pragma once
// Answers modal dialogs opened by the code under test: a zero timer polls for
// the active modal widget and hands each new one to a callback.
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <functional>

namespace tz::test {

class ModalWatcher : public QObject {
public:
    // Called once for every modal widget that opens while the watcher lives
    // (a modal dialog shown before counts too); the callback closes it.
    explicit ModalWatcher(std::function<void(QWidget*)> handle);
    int Count() const { return count_; }

private:
    void Poll();

    std::function<void(QWidget*)> handle_;
    QTimer timer_;
    QList<QPointer<QWidget>> seen_;
    int count_ = 0;
};

// Answers every message box with one button and records what the last one
// showed.
class MessageBoxAnswerer {
public:
    explicit MessageBoxAnswerer(QMessageBox::StandardButton answer);
    // The message boxes answered.
    int Count() const { return count_; }

    QString Title;
    QString Text;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    QMessageBox::StandardButton DefaultButton = QMessageBox::NoButton;
    QMessageBox::StandardButtons Buttons;

private:
    int count_ = 0;
    ModalWatcher watcher_;
};

} // namespace tz::test
