#include "fontlist/FaceScanWindow.h"

#include "fontlist/RowFaceScan.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace tz {

FaceScanWindow::FaceScanWindow(QWidget* parent)
    : SearchProgressWindow(parent, QStringLiteral("FaceScanWindow"), QStringLiteral("ProgressBar1"))
{
}

void FaceScanWindow::Run(const QString& phase, RowFaceScan& scan, std::function<void()> search)
{
    lblStatus_->setText(phase);
    scan.GoOn = [this](int done, int count, const QString& file) { return Progress(done, count, file); };
    search_ = std::move(search);
    exec();
    search_ = nullptr;
    scan.GoOn = nullptr;
}

void FaceScanWindow::Work()
{
    if (!search_)
        return;
    stopRequested_ = false;
    btnCancel_->setEnabled(true);
    bar_->setValue(0);
    memo_->clear();
    search_();
    search_ = nullptr;
}

bool FaceScanWindow::Progress(int done, int count, const QString& file)
{
    if (EventsDue()) {
        bar_->setRange(0, count);
        bar_->setValue(done);
        memo_->setText(file);
        LetEventsRun();
    }
    return !stopRequested_;
}

} // namespace tz
