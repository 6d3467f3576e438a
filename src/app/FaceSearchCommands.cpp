// Commands that search the faces of the rows: the character search and the
// duplicate search. Both select the rows found and report them in the status
// bar; a stopped search leaves the selection as it was.
#include "app/AppWindows.h"
#include "app/MainWindow.h"
#include "fontlist/CharSearchDialog.h"
#include "fontlist/CharacterSearch.h"
#include "fontlist/DuplicateFaces.h"
#include "fontlist/FaceScanWindow.h"
#include "fontlist/FontListView.h"
#include "fontlist/RowFaceScan.h"

namespace tz {

void MainWindow::smnFindCharsClick()
{
    if (!windows_)
        return;
    const std::optional<QString> text = windows_->CharSearch->Ask();
    if (!text)
        return;
    const std::vector<CharacterNeed> needs = CharactersOf(*text);
    RowFaceScan scan(list_, workFolder_.Path(), Environment().Formats());
    std::vector<int> rows;
    windows_->FaceScan->Run(QStringLiteral("Search Characters..."), scan, [&] { rows = RowsCovering(scan, needs); });
    ShowFaceSearchResult(scan, rows, QStringLiteral("%1書体が該当しました"));
}

void MainWindow::smnFindDuplicatesClick()
{
    if (!windows_)
        return;
    RowFaceScan scan(list_, workFolder_.Path(), Environment().Formats());
    std::vector<int> rows;
    windows_->FaceScan->Run(
        QStringLiteral("Compare Faces..."), scan, [&] { rows = RepeatingRows(DuplicateGroups(scan)); });
    ShowFaceSearchResult(scan, rows, QStringLiteral("%1書体が重複しています"));
}

void MainWindow::ShowFaceSearchResult(const RowFaceScan& scan, const std::vector<int>& rows, const QString& countText)
{
    if (scan.Stopped()) {
        SetStatusText(QStringLiteral("検索を中止しました．"));
        return;
    }
    list_.SelectOnly(rows);
    if (!rows.empty())
        view_->MakeVisible(rows.front());
    QString text = countText.arg(rows.size());
    if (scan.SkippedRows() > 0)
        text += QStringLiteral("（ファイルが見つからない%1書体を除く）").arg(scan.SkippedRows());
    SetStatusText(text);
}

} // namespace tz
