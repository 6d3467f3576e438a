#pragma once
// A modal progress window whose work runs while it is shown: Esc and closing
// the window press its Stop button; the window only closes once the work is
// over.
#include <QCloseEvent>
#include <QDialog>

namespace tz {

class StopWindow : public QDialog {
public:
    using QDialog::QDialog;

    void reject() override
    {
        if (WorkRunning())
            RequestStop();
        else
            QDialog::reject();
    }

protected:
    virtual bool WorkRunning() const = 0;
    // What the Stop button does.
    virtual void RequestStop() = 0;

    void closeEvent(QCloseEvent* event) override
    {
        if (WorkRunning()) {
            RequestStop();
            event->ignore();
            return;
        }
        QDialog::closeEvent(event);
    }
};

} // namespace tz
