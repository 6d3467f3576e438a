// Commands of sample generation, viewing, printing and page setup.
#include "app/AppWindows.h"
#include "app/MainWindow.h"
#include "pagesetup/PageSetupDialog.h"
#include "sample/GenerationWindow.h"
#include "settings/EnvironmentDialog.h"
#include "settings/SampleTextDialog.h"
#include "viewer/PrintInfoWindow.h"
#include "viewer/PrinterJob.h"
#include "viewer/QtPrinters.h"
#include "viewer/SampleViewer.h"

#include <QGuiApplication>
#include <QScreen>

namespace tz {

SampleInput MainWindow::SampleInputFor(RunMode mode) const
{
    SampleInput input = SampleInputOf(mode, list_, windows_->Environment->Settings(), windows_->SampleTexts->Texts(),
        windows_->PageSetup->Settings(), ProgramPrinters());
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    input.previewResolution = screen ? qRound(screen->logicalDotsPerInchY()) : 96;
    input.workFolder = workFolder_.Path();
    return input;
}

void MainWindow::fmnPrintPreviewClick()
{
    // The reset closes an open viewer, which empties the work folder.
    SampleViewer& viewer = *windows_->Viewer;
    viewer.ResetViewer();
    windows_->PageSetup->PutSettingIntoPrinter();
    viewer.Sheets().Reset(SampleInputFor(RunMode::Preview));
    windows_->Generation->Generate(viewer.Sheets());
    raise();
    activateWindow();
    viewer.ShowRun();
}

void MainWindow::fmnPrintClick()
{
    // The dialog starts from the page setting; what is chosen in it holds
    // for this print.
    windows_->PageSetup->PutSettingIntoPrinter();
    QPrinter& printer = SystemPrinter();
    if (!RunPrintDialog(printer, this))
        return;
    SampleSheets sheets(SampleInputFor(RunMode::Print));
    // The pages are laid out for the printer and paper the dialog chose.
    sheets.Input().printer = MetricsOf(printer);
    PrinterJob job(printer);
    sheets.Input().printJob = &job;
    windows_->Generation->Generate(sheets);
    raise();
    activateWindow();
    if (!sheets.Log().IsEmpty())
        windows_->PrintInfo->ShowText(sheets.Log().Lines().join(u'\n'));
}

void MainWindow::fmnSetupClick() { windows_->PageSetup->exec(); }
void MainWindow::pmnJumpPreviewClick()
{
    const int row = list_.FirstSelected();
    if (ViewerVisible() && row >= 0)
        windows_->Viewer->JumpToFace(list_.Entry(row).FaceName);
}

void MainWindow::wmnActivePreviewWindowClick()
{
    if (!ViewerVisible())
        return;
    windows_->Viewer->raise();
    windows_->Viewer->activateWindow();
}

} // namespace tz
