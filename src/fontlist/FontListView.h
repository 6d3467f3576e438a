#pragma once
// The main window's list view lsvFontNames: a report-style view over the
// FontList. The highlighted rows are always exactly the rows whose Selected
// flag is set; dragging selected rows inside the view moves them, files
// dropped from outside are handed on.
#include "fontlist/DragAutoScroll.h"

#include <QElapsedTimer>
#include <QTreeView>
#include <QUrl>

namespace tz {

class FontList;

class FontListView : public QTreeView {
    Q_OBJECT
public:
    static constexpr int kDesignedWidths[5] = { 162, 128, 54, 74, 54 };
    static constexpr int kHintShowMs = 5000; // a row tool tip hides after this

    explicit FontListView(FontList& list, QWidget* parent = nullptr);

    FontList& List() const { return list_; }
    // The row under a point of the viewport, or -1.
    int RowAt(const QPoint& viewportPos) const;
    // Scrolls until the whole row is visible.
    void MakeVisible(int row);

    // The row whose tool tip is current (-1: none) and its text.
    int HintRow() const { return hintRow_; }
    const QString& HintText() const { return hintText_; }
    void ClearHint();

signals:
    // Selected rows were dropped before row target (-1: below the last row).
    void RowsDropped(int target);
    // Files or folders were dropped from outside.
    void FilesDropped(const QList<QUrl>& urls);
    // A drag moves over the list (the row tool tip is cleared meanwhile).
    void DragMoving();
    // The right button was pressed and the selection adjusted; the context
    // menu follows.
    void RightButtonPressed();
    // Enter: open the selected fonts; Alt+Enter: show their properties.
    void OpenRequested();
    void PropertiesRequested();

protected:
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    bool IsRowDrag(const QDropEvent* event) const;
    void SelectFromFlags();
    void RememberScroll();
    void RestoreScroll();
    void TrackHint(const QPoint& viewportPos);

    FontList& list_;
    DragAutoScroll autoScroll_;
    QElapsedTimer clock_;
    bool syncing_ = false;
    int savedScroll_ = 0;
    int savedCurrentRow_ = -1;
    int hintRow_ = -1;
    QString hintText_;
};

} // namespace tz
