#include "fileops/CopyWindow.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace tz {

CopyWindow::CopyWindow(FontList& list, const QString& workFolder, QWidget* parent)
    : StopWindow(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , run_(list, workFolder)
{
    setObjectName(QStringLiteral("TForm9"));
    setWindowTitle(QStringLiteral("Copy TrueType Files..."));
    setModal(true);
    lblStatus_ = new QLabel(QStringLiteral("Ready..."));
    lblStatus_->setObjectName(QStringLiteral("lblStatus"));
    progressBar_ = new QProgressBar;
    progressBar_->setObjectName(QStringLiteral("ProgressBar1"));
    progressBar_->setTextVisible(false);
    // The running copy is shown by a busy bar.
    animate_ = new QProgressBar;
    animate_->setObjectName(QStringLiteral("Animate1"));
    animate_->setTextVisible(false);
    animate_->setRange(0, 1);
    btnCancel_ = new QPushButton(QStringLiteral("&Stop"));
    btnCancel_->setObjectName(QStringLiteral("btnCancel"));
    btnCancel_->setDefault(true);
    connect(btnCancel_, &QPushButton::clicked, this, &CopyWindow::btnCancelClick);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(animate_);
    layout->addWidget(lblStatus_);
    layout->addWidget(progressBar_);
    layout->addWidget(btnCancel_, 0, Qt::AlignHCenter);
    setFixedSize(340, 140);

    run_.Progress = [this](int index, int count) {
        progressBar_->setRange(0, std::max(count - 1, 0));
        progressBar_->setValue(index);
    };
    run_.Status = [this](const QString& name) { lblStatus_->setText(name); };
    run_.LetEventsRun = [] { QCoreApplication::processEvents(); };
    run_.AskTargetName = [this](const QString& target) { return AskTargetName(target); };
}

void CopyWindow::Copy(const QString& destination, bool addExtension, FontFormats formats)
{
    run_.Destination = destination;
    run_.AddExtension = addExtension;
    run_.Formats = formats;
    started_ = false;
    exec();
}

void CopyWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Centred on the screen.
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    QTimer::singleShot(0, this, &CopyWindow::StartRun);
}

void CopyWindow::StartRun()
{
    if (started_)
        return;
    started_ = true;
    btnCancel_->setEnabled(true);
    SetAnimation(true);
    progressBar_->setValue(0);
    lblStatus_->setText(QStringLiteral("Ready..."));
    repaint();
    run_.Run();
    SetAnimation(false);
    // The window closes itself once the run is over.
    QMetaObject::invokeMethod(this, &QDialog::accept, Qt::QueuedConnection);
}

void CopyWindow::SetAnimation(bool running) { animate_->setRange(0, running ? 0 : 1); }

std::optional<QString> CopyWindow::AskTargetName(const QString& target)
{
    SetAnimation(false);
    QApplication::beep();
    QFileDialog dialog(this);
    dialog.setObjectName(QStringLiteral("SaveDialog1"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setNameFilters(
        { QStringLiteral("TrueTypeファイル (*.ttf *.ttc *.mtt)"), QStringLiteral("すべてのファイル(*.*)") });
    dialog.selectFile(target);
    const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    SetAnimation(true);
    if (!chosen)
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

void CopyWindow::btnCancelClick()
{
    run_.Stop();
    btnCancel_->setEnabled(false);
}

} // namespace tz
