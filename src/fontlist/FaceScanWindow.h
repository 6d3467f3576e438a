#pragma once
// The modal progress window of the searches over the faces of the rows: the
// search runs while the window is shown, the window closes itself when it
// ends, and "&Stop" (also Enter and Esc) ends it before the next file.
#include "widgets/StopWindow.h"

#include <QElapsedTimer>
#include <functional>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace tz {

class RowFaceScan;

class FaceScanWindow : public StopWindow {
    Q_OBJECT
public:
    explicit FaceScanWindow(QWidget* parent = nullptr);

    // Shows the window with the phase text and runs search, which runs scan;
    // returns when the window has closed.
    void Run(const QString& phase, RowFaceScan& scan, std::function<void()> search);

public slots:
    void btnCancelClick();

protected:
    void showEvent(QShowEvent* event) override;
    bool WorkRunning() const override { return running_; }
    void RequestStop() override { btnCancelClick(); }

private:
    void RunSearch();
    bool Progress(int done, int count, const QString& file);

    static constexpr qint64 kEventIntervalMs = 10;
    QElapsedTimer sinceEvents_;
    std::function<void()> search_;
    bool running_ = false;
    bool stopRequested_ = false;
    QPushButton* btnCancel_;
    QLabel* lblStatus_;
    QProgressBar* progressBar_;
    QLineEdit* memo_;
};

} // namespace tz
