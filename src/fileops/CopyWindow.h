#pragma once
// TForm9: the small modal window of a copy run. The copy starts when the
// window is shown and the window closes itself when the run ends; "&Stop"
// (also Enter and Esc) ends the run before the next row. The run's messages
// stay for the main window to show.
#include "fileops/CopyRun.h"

#include "widgets/StopWindow.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace tz {

class FontList;

class CopyWindow : public StopWindow {
    Q_OBJECT
public:
    CopyWindow(FontList& list, const QString& workFolder, QWidget* parent = nullptr);

    // Copies the selected rows into destination modally; returns when the
    // window has closed.
    void Copy(const QString& destination, bool addExtension, FontFormats formats = FontFormats::Designed);
    const QStringList& Messages() const { return run_.Messages(); }
    CopyRun& Run() { return run_; }

public slots:
    void btnCancelClick();

protected:
    void showEvent(QShowEvent* event) override;
    bool WorkRunning() const override { return run_.Running(); }
    void RequestStop() override { btnCancelClick(); }

private:
    void StartRun();
    std::optional<QString> AskTargetName(const QString& target);
    void SetAnimation(bool running);

    CopyRun run_;
    bool started_ = false;
    QLabel* lblStatus_;
    QProgressBar* progressBar_;
    QProgressBar* animate_;
    QPushButton* btnCancel_;
};

} // namespace tz
