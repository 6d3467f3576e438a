#pragma once
// Answers the modal dialogs of the list commands while a test runs them: each
// message box that appears gets the next queued button, each file dialog the
// next queued file (and the drive-letter check box of the list open dialog).
// Dialogs beyond the queue are cancelled and counted.
#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QTimer>

namespace tz::test {

struct AnsweredMessage {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

class ModalAnswers : public QObject {
public:
    ModalAnswers();

    // The next message box is answered with button.
    ModalAnswers& Message(QMessageBox::StandardButton button);
    // The next file dialog chooses path (cancelled when path is empty).
    ModalAnswers& File(const QString& path, bool ignoreDriveLetter = false);

    const QList<AnsweredMessage>& Messages() const { return messages_; }
    QStringList MessageTexts() const;
    // Queued answers not used yet.
    int Pending() const { return int(answers_.size()); }
    // Dialogs that found no queued answer.
    int Unexpected() const { return unexpected_; }

private:
    struct Answer {
        bool file = false;
        QMessageBox::StandardButton button = QMessageBox::NoButton;
        QString path;
        bool ignoreDriveLetter = false;
    };
    void Poll();

    QTimer timer_;
    QList<Answer> answers_;
    QList<AnsweredMessage> messages_;
    QPointer<QWidget> handled_;
    int unexpected_ = 0;
};

} // namespace tz::test
