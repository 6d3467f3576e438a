#include "fontlist/FaceScanWindow.h"

#include "fontlist/RowFaceScan.h"
#include "widgets/MessageText.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace tz {

FaceScanWindow::FaceScanWindow(QWidget* parent)
    : StopWindow(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("FaceScanWindow"));
    setWindowTitle(kProductTitle);
    setModal(true);
    setCursor(Qt::WaitCursor);
    lblStatus_ = new QLabel;
    lblStatus_->setObjectName(QStringLiteral("lblStatus"));
    progressBar_ = new QProgressBar;
    progressBar_->setObjectName(QStringLiteral("ProgressBar1"));
    progressBar_->setTextVisible(false);
    memo_ = new QLineEdit;
    memo_->setObjectName(QStringLiteral("Memo1"));
    memo_->setReadOnly(true);
    btnCancel_ = new QPushButton(QStringLiteral("&Stop"));
    btnCancel_->setObjectName(QStringLiteral("btnCancel"));
    btnCancel_->setDefault(true);
    btnCancel_->setCursor(Qt::ArrowCursor);
    connect(btnCancel_, &QPushButton::clicked, this, &FaceScanWindow::btnCancelClick);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblStatus_);
    layout->addWidget(progressBar_);
    layout->addWidget(memo_);
    layout->addWidget(btnCancel_, 0, Qt::AlignHCenter);
    setFixedSize(360, 150);
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

void FaceScanWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    QTimer::singleShot(0, this, &FaceScanWindow::RunSearch);
}

void FaceScanWindow::RunSearch()
{
    if (running_ || !search_)
        return;
    running_ = true;
    stopRequested_ = false;
    btnCancel_->setEnabled(true);
    progressBar_->setValue(0);
    memo_->clear();
    search_();
    search_ = nullptr;
    running_ = false;
    // The window closes itself once the search is over.
    QMetaObject::invokeMethod(this, &QDialog::accept, Qt::QueuedConnection);
}

// The window is brought up to date and pending events run at most every few
// milliseconds: Stop answers at once without slowing the search down.
bool FaceScanWindow::Progress(int done, int count, const QString& file)
{
    if (!sinceEvents_.isValid() || sinceEvents_.elapsed() >= kEventIntervalMs) {
        progressBar_->setRange(0, count);
        progressBar_->setValue(done);
        memo_->setText(file);
        QCoreApplication::processEvents();
        sinceEvents_.start();
    }
    return !stopRequested_;
}

void FaceScanWindow::btnCancelClick()
{
    stopRequested_ = true;
    btnCancel_->setEnabled(false);
}

} // namespace tz
