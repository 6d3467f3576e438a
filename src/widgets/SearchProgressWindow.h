#pragma once
// The modal progress window of a search: the product name as caption, the
// busy pointer, a phase text (lblStatus), a bar, the item being searched
// (Memo1) and "&Stop" (btnCancel, also Enter and Esc). The search runs once
// the window is shown and the window closes itself when it is over.
#include "widgets/StopWindow.h"

#include <QElapsedTimer>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace tz {

class SearchProgressWindow : public StopWindow {
    Q_OBJECT
public:
    // barName: the object name of the bar.
    SearchProgressWindow(QWidget* parent, const QString& name, const QString& barName);

public slots:
    // Asks the search to stop and disables the button.
    void btnCancelClick();

protected:
    // The search itself; runs while the window is shown.
    virtual void Work() = 0;
    // What Stop asks of the search.
    virtual void StopSearch() = 0;

    void showEvent(QShowEvent* event) override;
    bool WorkRunning() const override { return running_; }
    void RequestStop() override { btnCancelClick(); }

    // The window is brought up to date and pending events run at most every
    // few milliseconds: often enough for Stop and the window to answer at
    // once, rarely enough not to slow the search down. True when that time
    // has come (then call LetEventsRun).
    bool EventsDue() const;
    void LetEventsRun();

    QLabel* lblStatus_;
    QProgressBar* bar_;
    QLineEdit* memo_;
    QPushButton* btnCancel_;

private:
    void RunSearch();

    static constexpr qint64 kEventIntervalMs = 10;
    QElapsedTimer sinceEvents_;
    bool running_ = false;
};

} // namespace tz
