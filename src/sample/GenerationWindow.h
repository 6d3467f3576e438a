#pragma once
// The generation window: a small modal window with the status, the progress
// and Stop, which runs the generation once it is shown and closes itself at
// the end. Enter and Esc press Stop.
#include "sample/SampleRun.h"

#include <QDialog>
#include <optional>

class QLabel;
class QProgressBar;
class QPushButton;

namespace tz {

class GenerationWindow final : public QDialog, private RunObserver {
    Q_OBJECT
public:
    explicit GenerationWindow(QWidget* parent = nullptr);

    // Shows the window modally and runs the input; returns when it has closed.
    SampleResult Generate(SampleInput input, GenerationLog& log, PageIndex& index);

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

    QLabel* lblStatus_;
    QProgressBar* ProgressBar1_;
    QPushButton* btnCancel_;
    struct Pending {
        SampleInput input;
        GenerationLog* log;
        PageIndex* index;
    };
    std::optional<Pending> pending_;
    SampleResult result_;
    bool running_ = false;
};

} // namespace tz
