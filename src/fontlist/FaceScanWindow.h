#pragma once
// The modal progress window of the searches over the faces of the rows: the
// search runs while the window is shown, the window closes itself when it
// ends, and "&Stop" (also Enter and Esc) ends it before the next file.
#include "widgets/SearchProgressWindow.h"

#include <functional>

namespace tz {

class RowFaceScan;

class FaceScanWindow : public SearchProgressWindow {
    Q_OBJECT
public:
    explicit FaceScanWindow(QWidget* parent = nullptr);

    // Shows the window with the phase text and runs search, which runs scan;
    // returns when the window has closed.
    void Run(const QString& phase, RowFaceScan& scan, std::function<void()> search);

protected:
    void Work() override;
    void StopSearch() override { stopRequested_ = true; }

private:
    bool Progress(int done, int count, const QString& file);

    std::function<void()> search_;
    bool stopRequested_ = false;
};

} // namespace tz
