#include "fontlist/FontListView.h"

#include "fontlist/FontList.h"
#include "fontlist/RowToolTip.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextDocument>
#include <QToolTip>

namespace tz {

namespace {
    const QString kRowsMime = QStringLiteral("application/x-typoscan-zindel-rows");
}

FontListView::FontListView(FontList& list, QWidget* parent)
    : QTreeView(parent)
    , list_(list)
{
    setObjectName(QStringLiteral("lsvFontNames"));
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(false);
    setAutoScroll(false);
    setTextElideMode(Qt::ElideRight);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(false);
    header()->setSectionsClickable(true);
    setMouseTracking(true);

    // The scroll position is noted before the view hears of a reset and put
    // back after the view has handled it.
    connect(&list_, &QAbstractItemModel::modelAboutToBeReset, this, &FontListView::RememberScroll);
    setModel(&list_);
    connect(&list_, &QAbstractItemModel::modelReset, this, &FontListView::RestoreScroll);
    connect(&list_, &FontList::SelectionFlagsChanged, this, &FontListView::SelectFromFlags);
    for (int c = 0; c < 5; ++c)
        setColumnWidth(c, kDesignedWidths[c]);
    clock_.start();
    connect(this, &FontListView::DragMoving, this, &FontListView::ClearHint);
    // A changed row under the pointer needs a new tip.
    connect(&list_, &QAbstractItemModel::modelReset, this, &FontListView::ClearHint);
}

int FontListView::RowAt(const QPoint& viewportPos) const
{
    const QModelIndex index = indexAt(viewportPos);
    return index.isValid() ? index.row() : FontList::kNone;
}

void FontListView::MakeVisible(int row)
{
    if (row >= 0 && row < model()->rowCount())
        scrollTo(model()->index(row, 0), QAbstractItemView::EnsureVisible);
}

// --- selection: the flags of the list are the truth ---------------------------

void FontListView::SelectFromFlags()
{
    if (!selectionModel())
        return;
    QItemSelection selection;
    const int count = model()->rowCount();
    const int lastColumn = FontList::kColumnCount - 1;
    for (int row = list_.FirstSelected(); row != FontList::kNone && row < count;) {
        int end = row;
        while (end + 1 < count && list_.IsSelected(end + 1))
            ++end;
        selection.append(QItemSelectionRange(model()->index(row, 0), model()->index(end, lastColumn)));
        row = list_.NextBelow(end, true);
    }
    syncing_ = true;
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    syncing_ = false;
    viewport()->update();
}

void FontListView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    QTreeView::selectionChanged(selected, deselected);
    if (syncing_)
        return;
    for (const QItemSelectionRange& range : deselected)
        list_.SetSelectedFromView(range.top(), range.bottom(), false);
    for (const QItemSelectionRange& range : selected)
        list_.SetSelectedFromView(range.top(), range.bottom(), true);
}

void FontListView::RememberScroll()
{
    savedScroll_ = verticalScrollBar()->value();
    savedCurrentRow_ = currentIndex().row();
}

void FontListView::RestoreScroll()
{
    // The scroll range is known only after the view laid the rows out again.
    executeDelayedItemsLayout();
    verticalScrollBar()->setValue(savedScroll_);
    if (savedCurrentRow_ >= 0 && savedCurrentRow_ < model()->rowCount())
        selectionModel()->setCurrentIndex(model()->index(savedCurrentRow_, 0), QItemSelectionModel::NoUpdate);
}

// --- mouse and keys -----------------------------------------------------------

void FontListView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::RightButton) {
        QTreeView::mousePressEvent(event);
        return;
    }
    // The row under the pointer joins the selection; empty space clears it.
    const int row = RowAt(event->position().toPoint());
    if (row == FontList::kNone) {
        list_.DeselectAll();
    } else {
        list_.SetSelected(row, true);
        selectionModel()->setCurrentIndex(model()->index(row, 0), QItemSelectionModel::NoUpdate);
    }
    emit RightButtonPressed();
}

void FontListView::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (event->modifiers() & Qt::AltModifier)
            emit PropertiesRequested();
        else
            emit OpenRequested();
        event->accept();
        return;
    }
    QTreeView::keyPressEvent(event);
}

// --- row tool tips --------------------------------------------------------------
// The text is built once when the pointer enters a row; the tool-tip event
// then only shows it.

void FontListView::mouseMoveEvent(QMouseEvent* event)
{
    TrackHint(event->position().toPoint());
    QTreeView::mouseMoveEvent(event);
}

void FontListView::TrackHint(const QPoint& viewportPos)
{
    const int row = RowAt(viewportPos);
    if (row == FontList::kNone) {
        ClearHint();
        return;
    }
    if (row == hintRow_)
        return;
    QToolTip::hideText();
    hintText_ = RowToolTipText(list_.Entry(row), list_.ShownPath(row));
    hintRow_ = row;
}

void FontListView::ClearHint()
{
    if (hintRow_ != FontList::kNone)
        QToolTip::hideText();
    hintRow_ = FontList::kNone;
    hintText_.clear();
}

bool FontListView::viewportEvent(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QTreeView::viewportEvent(event);
    auto* help = static_cast<QHelpEvent*>(event);
    TrackHint(help->pos());
    if (hintRow_ == FontList::kNone) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    // Shown as plain text: a face name is never markup.
    const QRect cell = visualRect(model()->index(hintRow_, 0));
    QToolTip::showText(help->globalPos(), Qt::convertFromPlainText(hintText_, Qt::WhiteSpaceNoWrap), viewport(),
        QRect(0, cell.top(), viewport()->width(), cell.height()), kHintShowMs);
    return true;
}

// --- dragging rows and dropping files ----------------------------------------

void FontListView::startDrag(Qt::DropActions)
{
    if (list_.SelectedCount() == 0)
        return;
    auto* mime = new QMimeData;
    mime->setData(kRowsMime, QByteArray());
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    drag->exec(Qt::MoveAction);
}

bool FontListView::IsRowDrag(const QDropEvent* event) const
{
    return event->source() == this && event->mimeData()->hasFormat(kRowsMime);
}

void FontListView::dragEnterEvent(QDragEnterEvent* event)
{
    autoScroll_.Reset();
    if (IsRowDrag(event) || event->mimeData()->hasUrls())
        event->acceptProposedAction();
    else
        event->ignore();
}

void FontListView::dragMoveEvent(QDragMoveEvent* event)
{
    if (!IsRowDrag(event)) {
        if (event->mimeData()->hasUrls())
            event->acceptProposedAction();
        else
            event->ignore();
        return;
    }
    event->acceptProposedAction();
    emit DragMoving();
    const int step = autoScroll_.Step(event->position().toPoint().y(), viewport()->height(), clock_.elapsed());
    if (step != 0) {
        verticalScrollBar()->triggerAction(step < 0 ? QAbstractSlider::SliderSingleStepSub
                                                    : QAbstractSlider::SliderSingleStepAdd);
        if (list_.SelectedCount() == 1)
            viewport()->update();
    }
}

void FontListView::dragLeaveEvent(QDragLeaveEvent* event)
{
    autoScroll_.Reset();
    QTreeView::dragLeaveEvent(event);
}

void FontListView::dropEvent(QDropEvent* event)
{
    autoScroll_.Reset();
    if (IsRowDrag(event)) {
        event->setDropAction(Qt::MoveAction);
        event->accept();
        emit RowsDropped(RowAt(event->position().toPoint()));
        return;
    }
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
        emit FilesDropped(event->mimeData()->urls());
        return;
    }
    event->ignore();
}

} // namespace tz
