#pragma once
// TForm6: the modal window of the folder search. The walk starts when the
// window is shown and the window closes itself when the walk ends; "&Stop"
// (also Enter and Esc) ends the walk after the file being analysed.
#include "collect/FolderSearch.h"

#include "widgets/SearchProgressWindow.h"

namespace tz {

class FolderSearchWindow : public SearchProgressWindow {
    Q_OBJECT
public:
    explicit FolderSearchWindow(QWidget* parent = nullptr);

    // Runs a search of folder modally; returns when the window has closed.
    // The search's callbacks (settings, adding) must be set before.
    void Search(const QString& folder);
    FolderSearch& Walk() { return search_; }
    const QString& StartFolder() const { return startFolder_; }

protected:
    void Work() override;
    void StopSearch() override { search_.Stop(); }

private:
    void ShowProgress(const QString& phase, const QString& path);

    FolderSearch search_;
    QString startFolder_;
};

} // namespace tz
