#include "collect/FolderSearchWindow.h"
#include "widgets/MessageText.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace tz {

FolderSearchWindow::FolderSearchWindow(QWidget* parent)
    : StopWindow(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("TForm6"));
    setWindowTitle(kProductTitle);
    setModal(true);
    setCursor(Qt::WaitCursor);
    lblStatus_ = new QLabel;
    lblStatus_->setObjectName(QStringLiteral("lblStatus"));
    // The running search is shown by a busy bar.
    animate_ = new QProgressBar;
    animate_->setObjectName(QStringLiteral("Animate1"));
    animate_->setTextVisible(false);
    animate_->setRange(0, 1);
    memo_ = new QLineEdit;
    memo_->setObjectName(QStringLiteral("Memo1"));
    memo_->setReadOnly(true);
    btnCancel_ = new QPushButton(QStringLiteral("&Stop"));
    btnCancel_->setObjectName(QStringLiteral("btnCancel"));
    btnCancel_->setDefault(true);
    btnCancel_->setCursor(Qt::ArrowCursor);
    connect(btnCancel_, &QPushButton::clicked, this, &FolderSearchWindow::btnCancelClick);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblStatus_);
    layout->addWidget(animate_);
    layout->addWidget(memo_);
    layout->addWidget(btnCancel_, 0, Qt::AlignHCenter);
    setFixedSize(360, 150);

    search_.Progress = [this](const QString& phase, const QString& path) { ShowProgress(phase, path); };
    search_.LetEventsRun = [this] { LetEventsRun(); };
}

void FolderSearchWindow::Search(const QString& folder)
{
    startFolder_ = folder;
    exec();
}

void FolderSearchWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    QTimer::singleShot(0, this, &FolderSearchWindow::RunSearch);
}

void FolderSearchWindow::RunSearch()
{
    if (running_)
        return;
    if (!startFolder_.isEmpty()) {
        running_ = true;
        memo_->clear();
        btnCancel_->setEnabled(true);
        animate_->setRange(0, 0);
        search_.Run(startFolder_);
        animate_->setRange(0, 1);
        memo_->clear();
        running_ = false;
    }
    // The window closes itself once the walk is over.
    QMetaObject::invokeMethod(this, &QDialog::accept, Qt::QueuedConnection);
}

// Pending events run at most every few milliseconds: often enough for Stop
// and the window to answer at once, rarely enough not to slow the walk down.
void FolderSearchWindow::LetEventsRun()
{
    if (sinceEvents_.isValid() && sinceEvents_.elapsed() < kEventIntervalMs)
        return;
    QCoreApplication::processEvents();
    sinceEvents_.start();
}

void FolderSearchWindow::ShowProgress(const QString& phase, const QString& path)
{
    if (sinceEvents_.isValid() && sinceEvents_.elapsed() < kEventIntervalMs)
        return;
    lblStatus_->setText(phase);
    memo_->setText(path);
    LetEventsRun();
}

void FolderSearchWindow::btnCancelClick()
{
    search_.Stop();
    btnCancel_->setEnabled(false);
}

} // namespace tz
