// Commands on the rows of the list: delete, select, find, sort.
#include "app/AppWindows.h"
#include "widgets/MessageText.h"
#include "app/MainWindow.h"
#include "fontlist/FontListView.h"
#include "fontlist/FontSort.h"
#include "widgets/BusyCursor.h"

#include <QApplication>
#include <QHeaderView>
#include <QMessageBox>

namespace tz {

void MainWindow::ConnectListView()
{
    connect(view_->header(), &QHeaderView::sectionClicked, this, &MainWindow::lsvFontNamesColumnClick);
    // The context menu that follows the press shows the states of the new selection.
    connect(view_, &FontListView::RightButtonPressed, this, &MainWindow::UpdateCommandStates);
    connect(view_, &FontListView::OpenRequested, this, &MainWindow::lsvFontNamesDblClick);
    connect(view_, &FontListView::PropertiesRequested, this, &MainWindow::fmnPropertyClick);
}

void MainWindow::emnDeleteClick()
{
    if (list_.SelectedCount() == 0)
        return;
    QMessageBox ask(QMessageBox::Question, kProductTitle,
        QStringLiteral("選択した書体をリストから削除しますか."), QMessageBox::Ok | QMessageBox::Cancel, this);
    ask.setDefaultButton(QMessageBox::Cancel);
    if (ask.exec() == QMessageBox::Ok)
        emnDeleteOKClick();
}

void MainWindow::emnDeleteOKClick()
{
    if (list_.SelectedCount() == 0)
        return;
    {
        BusyCursor busy;
        list_.DeleteSelected();
    }
    ShowCount();
    document_.SetModified(true);
}

void MainWindow::emnSelectAllClick() { list_.SelectAll(); }

void MainWindow::emnSelectInvertClick() { list_.InvertSelection(); }

void MainWindow::smnFindClick()
{
    if (windows_ && windows_->Find)
        windows_->Find->exec();
}

void MainWindow::vmnSortByPathClick()
{
    if (const auto* item = qobject_cast<QAction*>(sender()))
        SortByColumn(item->data().toInt());
}

void MainWindow::lsvFontNamesColumnClick(int section) { SortByColumn(section + 1); }

void MainWindow::SortByColumn(int column)
{
    SortFontList(list_, column);
    document_.SetModified(true);
    const int first = list_.FirstSelected();
    if (first != FontList::kNone)
        view_->MakeVisible(first);
}

} // namespace tz
