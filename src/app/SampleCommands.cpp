// Commands of sample generation, viewing, printing and page setup.
#include "app/AppWindows.h"
#include "app/MainWindow.h"
#include "pagesetup/PageSetupDialog.h"
#include "sample/GenerationWindow.h"
#include "settings/EnvironmentDialog.h"
#include "settings/SampleTextDialog.h"
#include "viewer/QtPrinters.h"

#include <QGuiApplication>
#include <QScreen>

namespace tz {

SampleInput MainWindow::SampleInputFor(RunMode mode) const
{
    SampleInput input;
    input.mode = mode;
    input.rows.reserve(list_.Count());
    for (int row = 0; row < list_.Count(); ++row)
        input.rows.append(list_.Entry(row));
    input.environment = windows_->Environment->Settings();
    input.texts = windows_->SampleTexts->Texts();
    TakePageSetting(input, windows_->PageSetup->Settings(), ProgramPrinters());
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    input.previewResolution = screen ? qRound(screen->logicalDotsPerInchY()) : 96;
    input.workFolder = workFolder_.Path();
    return input;
}

void MainWindow::fmnPrintPreviewClick()
{
    // A new run closes the viewer, which empties the work folder.
    if (ViewerVisible())
        windows_->Viewer->close();
    preview_.Reset(workFolder_.Path());
    preview_.result = windows_->Generation->Generate(SampleInputFor(RunMode::Preview), preview_.log, preview_.index);
    raise();
    activateWindow();
    windows_->Viewer->show();
}

void MainWindow::fmnPrintClick() { }
void MainWindow::fmnSetupClick() { windows_->PageSetup->exec(); }
void MainWindow::pmnJumpPreviewClick() { }
void MainWindow::wmnActivePreviewWindowClick() { }

} // namespace tz
