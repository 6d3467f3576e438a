#pragma once
// The generation window: a small modal window with the status, the progress
// and Stop, which runs the generation once it is shown and closes itself at
// the end. Enter and Esc press Stop.
#include "sample/SampleSheets.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace tz {

class GenerationWindow final : public QDialog, private RunObserver {
    Q_OBJECT
public:
    explicit GenerationWindow(QWidget* parent = nullptr);

    // Shows the window modally and runs the sheets' input; returns when it
    // has closed.
    const SampleResult& Generate(SampleSheets& sheets);

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void StartRun();
    void btnCancelClick();
    void Status(const QString& text) override;
    void Progress(int position, int maximum) override;
    bool GoOn() override;
    void HandleEvents() override;

    QLabel* lblStatus_;
    QProgressBar* ProgressBar1_;
    QPushButton* btnCancel_;
    SampleSheets* pending_ = nullptr;
    int workers_ = 0; // the settings' page workers, 0 for the machine's cores
    bool running_ = false;
};

} // namespace tz
