#pragma once
// Helpers for tests of modal dialogs: message boxes that a window under test
// opens with exec() are answered from a zero-interval timer, which runs inside
// the message box's own event loop.
#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QPointer>
#include <QTimer>
#include <functional>

namespace tz::test {

struct SeenMessage {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    QString text;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QStringList listed; // the rows of a list below the text, "name: note"
};

// While it lives, answers every modal QMessageBox with the given button and
// records what it showed.
//
//     MessageBoxAnswerer answerer;
//     dialog.accept();
//     QCOMPARE(answerer.Count(), 1);
//     QCOMPARE(answerer.Last().text, u"...");
class MessageBoxAnswerer : public QObject {
    Q_OBJECT
public:
    explicit MessageBoxAnswerer(QMessageBox::StandardButton button = QMessageBox::Ok);

    int Count() const { return static_cast<int>(seen_.size()); }
    const QList<SeenMessage>& Seen() const { return seen_; }
    // The last message answered; an empty one when none was.
    SeenMessage Last() const { return seen_.isEmpty() ? SeenMessage() : seen_.last(); }

private:
    void Poll();

    QMessageBox::StandardButton button_;
    QList<SeenMessage> seen_;
    QTimer timer_;
};

// Answers the next modal QMessageBox with the button, then stops. For a test
// that only needs the box out of the way.
void AnswerNextMessageBox(QMessageBox::StandardButton button = QMessageBox::Ok);

// Hands every modal widget that opens while it lives (one shown before counts
// too) to a callback, which closes it.
class ModalWatcher : public QObject {
public:
    explicit ModalWatcher(std::function<void(QWidget*)> handle);
    int Count() const { return count_; }

private:
    void Poll();

    std::function<void(QWidget*)> handle_;
    QTimer timer_;
    QList<QPointer<QWidget>> seen_;
    int count_ = 0;
};

} // namespace tz::test
