#include "sample/GenerationWindow.h"

#include "settings/SettingsStore.h"
#include "widgets/MessageText.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace tz {

GenerationWindow::GenerationWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , lblStatus_(new QLabel(this))
    , ProgressBar1_(new QProgressBar(this))
    , btnCancel_(new QPushButton(QStringLiteral("&Stop"), this))
{
    setObjectName(QStringLiteral("TForm5"));
    setWindowTitle(kProductTitle);
    setModal(true);
    setFixedSize(291, 111);
    setCursor(Qt::WaitCursor);
    lblStatus_->setObjectName(QStringLiteral("lblStatus"));
    lblStatus_->setGeometry(16, 12, 259, 17);
    ProgressBar1_->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1_->setGeometry(16, 36, 259, 17);
    ProgressBar1_->setTextVisible(false);
    btnCancel_->setObjectName(QStringLiteral("btnCancel"));
    btnCancel_->setGeometry(108, 70, 75, 25);
    btnCancel_->setDefault(true);
    btnCancel_->setAutoDefault(true);
    btnCancel_->setCursor(Qt::ArrowCursor);
    connect(btnCancel_, &QPushButton::clicked, this, &GenerationWindow::btnCancelClick);
    SettingsStore store(SettingsStore::kReadOnly);
    workers_ = LoadSampleWorkers(store);
}

const SampleResult& GenerationWindow::Generate(SampleSheets& sheets)
{
    pending_ = &sheets;
    sheets.Input().workers = workers_;
    sheets.Input().promptStop = true;
    exec();
    return sheets.Result();
}

void GenerationWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The run starts once the window is up and active.
    QMetaObject::invokeMethod(this, &GenerationWindow::StartRun, Qt::QueuedConnection);
}

void GenerationWindow::StartRun()
{
    if (!pending_)
        return;
    SampleSheets& sheets = *std::exchange(pending_, nullptr);
    btnCancel_->setEnabled(true);
    btnCancel_->setFocus();
    running_ = true;
    sheets.Generate(*this);
    running_ = false;
    QMetaObject::invokeMethod(this, [this] { done(QDialog::Accepted); }, Qt::QueuedConnection);
}

void GenerationWindow::btnCancelClick()
{
    running_ = false;
    btnCancel_->setEnabled(false);
}

// Esc presses Stop; the window closes only when the run has ended.
void GenerationWindow::reject()
{
    if (btnCancel_->isEnabled())
        btnCancel_->click();
}

void GenerationWindow::closeEvent(QCloseEvent* event) { event->ignore(); }

void GenerationWindow::Status(const QString& text)
{
    lblStatus_->setText(text);
    lblStatus_->repaint();
}

void GenerationWindow::Progress(int position, int maximum)
{
    ProgressBar1_->setMaximum(std::max(maximum, 1));
    ProgressBar1_->setValue(std::min(position, ProgressBar1_->maximum()));
    ProgressBar1_->repaint();
}

bool GenerationWindow::GoOn()
{
    HandleEvents();
    return running_;
}

void GenerationWindow::HandleEvents() { QCoreApplication::processEvents(); }

} // namespace tz
