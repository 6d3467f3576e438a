// Commands on the rows of the list: delete, select, find, sort.
#include "app/MainWindow.h"

namespace tz {

void MainWindow::emnDeleteClick() { }
void MainWindow::emnDeleteOKClick() { }
void MainWindow::emnSelectAllClick() { }
void MainWindow::smnFindClick() { }
void MainWindow::vmnSortByPathClick() { }

} // namespace tz
