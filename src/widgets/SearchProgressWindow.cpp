#include "widgets/SearchProgressWindow.h"

#include "widgets/MessageText.h"

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace tz {

SearchProgressWindow::SearchProgressWindow(QWidget* parent, const QString& name, const QString& barName)
    : StopWindow(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(name);
    setWindowTitle(kProductTitle);
    setModal(true);
    setCursor(Qt::WaitCursor);
    lblStatus_ = new QLabel;
    lblStatus_->setObjectName(QStringLiteral("lblStatus"));
    bar_ = new QProgressBar;
    bar_->setObjectName(barName);
    bar_->setTextVisible(false);
    bar_->setRange(0, 1);
    memo_ = new QLineEdit;
    memo_->setObjectName(QStringLiteral("Memo1"));
    memo_->setReadOnly(true);
    btnCancel_ = new QPushButton(QStringLiteral("&Stop"));
    btnCancel_->setObjectName(QStringLiteral("btnCancel"));
    btnCancel_->setDefault(true);
    btnCancel_->setCursor(Qt::ArrowCursor);
    connect(btnCancel_, &QPushButton::clicked, this, &SearchProgressWindow::btnCancelClick);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblStatus_);
    layout->addWidget(bar_);
    layout->addWidget(memo_);
    layout->addWidget(btnCancel_, 0, Qt::AlignHCenter);
    setFixedSize(360, 150);
}

void SearchProgressWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    QTimer::singleShot(0, this, &SearchProgressWindow::RunSearch);
}

void SearchProgressWindow::RunSearch()
{
    if (running_)
        return;
    running_ = true;
    Work();
    running_ = false;
    // The window closes itself once the search is over.
    QMetaObject::invokeMethod(this, &QDialog::accept, Qt::QueuedConnection);
}

bool SearchProgressWindow::EventsDue() const
{
    return !sinceEvents_.isValid() || sinceEvents_.elapsed() >= kEventIntervalMs;
}

void SearchProgressWindow::LetEventsRun()
{
    if (!EventsDue())
        return;
    QCoreApplication::processEvents();
    sinceEvents_.start();
}

void SearchProgressWindow::btnCancelClick()
{
    StopSearch();
    btnCancel_->setEnabled(false);
}

} // namespace tz
