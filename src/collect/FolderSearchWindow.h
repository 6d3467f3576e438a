#pragma once
// TForm6: the modal window of the folder search. The walk starts when the
// window is shown and the window closes itself when the walk ends; "&Stop"
// (also Enter and Esc) ends the walk after the file being analysed.
#include "collect/FolderSearch.h"

#include "widgets/StopWindow.h"
#include <QElapsedTimer>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace tz {

class FolderSearchWindow : public StopWindow {
    Q_OBJECT
public:
    explicit FolderSearchWindow(QWidget* parent = nullptr);

    // Runs a search of folder modally; returns when the window has closed.
    // The search's callbacks (settings, adding) must be set before.
    void Search(const QString& folder);
    FolderSearch& Walk() { return search_; }
    const QString& StartFolder() const { return startFolder_; }
    bool Running() const { return running_; }

public slots:
    void btnCancelClick();

protected:
    void showEvent(QShowEvent* event) override;
    bool WorkRunning() const override { return running_; }
    void RequestStop() override { btnCancelClick(); }

private:
    void RunSearch();
    void ShowProgress(const QString& phase, const QString& path);
    void LetEventsRun();

    static constexpr qint64 kEventIntervalMs = 10;
    QElapsedTimer sinceEvents_;
    FolderSearch search_;
    QString startFolder_;
    bool running_ = false;
    QPushButton* btnCancel_;
    QLabel* lblStatus_;
    QProgressBar* animate_;
    QLineEdit* memo_;
};

} // namespace tz
