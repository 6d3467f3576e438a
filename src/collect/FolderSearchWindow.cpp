#include "collect/FolderSearchWindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace tz {

// The running search is shown by a busy bar.
FolderSearchWindow::FolderSearchWindow(QWidget* parent)
    : SearchProgressWindow(parent, QStringLiteral("TForm6"), QStringLiteral("Animate1"))
{
    search_.Progress = [this](const QString& phase, const QString& path) { ShowProgress(phase, path); };
    search_.LetEventsRun = [this] { LetEventsRun(); };
}

void FolderSearchWindow::Search(const QString& folder)
{
    startFolder_ = folder;
    exec();
}

void FolderSearchWindow::Work()
{
    if (startFolder_.isEmpty())
        return;
    memo_->clear();
    btnCancel_->setEnabled(true);
    bar_->setRange(0, 0);
    search_.Run(startFolder_);
    bar_->setRange(0, 1);
    memo_->clear();
}

void FolderSearchWindow::ShowProgress(const QString& phase, const QString& path)
{
    if (!EventsDue())
        return;
    lblStatus_->setText(phase);
    memo_->setText(path);
    LetEventsRun();
}

} // namespace tz
