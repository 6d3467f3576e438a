#pragma once
// The font list: the rows of the program's document (its file, name and
// modified state are ListDocument's). Rows in display order, the selection as
// a flag per row, and the last sort. It is the model behind the main window's
// list view; bulk changes inside BeginUpdate/EndUpdate reach the view as one
// change.
#include "fontlist/FontEntry.h"
#include "platform/PathResolver.h"

#include <QAbstractTableModel>
#include <QIcon>
#include <vector>

namespace tz {

class FontList : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { kColFace, kColFamily, kColPath, kColMember, kColSize, kColumnCount };
    static constexpr int kNone = -1; // "no row"

    explicit FontList(QObject* parent = nullptr);

    int SortKey = -1; // last sort: column 1-5, negative descending, 0 none

    // Appends a row (paths upper-cased), selected. Returns its index.
    int AddEntry(const QString& face, const QString& family, const QString& path, const QString& member,
        const QString& size, int kind);
    // Copies the six data fields of row source to a new, unselected row before
    // row `before` (at the end for kNone). Returns the new row's index.
    int InsertCopy(int before, int source);
    void DeleteSelected();
    void DeselectAll();
    void SelectAll();
    // Selected rows become unselected and the others selected.
    void InvertSelection();
    // Selects exactly the given rows.
    void SelectOnly(const std::vector<int>& rows);
    void Clear();
    // Moves the selected rows, in order, before row target (to the end for
    // kNone); the moved rows end up selected. Returns false when none was
    // selected. Sets SortKey to -1.
    bool MoveSelectedBefore(int target);
    // Puts the rows in the given order: order[i] is the old index of new row i.
    void Reorder(const std::vector<int>& order);

    int Count() const { return int(rows_.size()); }
    int SelectedCount() const { return selectedCount_; }
    int FirstSelected() const;
    int NextBelow(int row, bool selectedOnly) const;
    const FontEntry& Entry(int row) const { return rows_[size_t(row)]; }
    // The row's file path as the file system has it (the stored form when the
    // file is gone), for showing; each folder is looked up once.
    QString ShownPath(int row) const { return shownPaths_.Resolve(Entry(row).FilePath); }
    // Files may have been renamed, removed or mounted meanwhile: the shown
    // paths are looked up again when next asked for.
    void ForgetShownPaths() { shownPaths_.Forget(); }
    bool IsSelected(int row) const { return rows_[size_t(row)].Selected; }
    void SetSelected(int row, bool selected);

    void BeginUpdate();
    void EndUpdate();
    bool InUpdate() const { return updateDepth_ > 0; }

    // Sets the selection flags from the view without signalling back.
    void SetSelectedFromView(int first, int last, bool selected);

    // QAbstractItemModel
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The four row icons, by Kind.
    void SetKindIcons(const QList<QIcon>& icons) { kindIcons_ = icons; }

signals:
    // The selection flags changed by an operation of the list (not by the view).
    void SelectionFlagsChanged();
    // The number of rows changed.
    void CountChanged(int count);

private:
    void StructureChanging();
    void Flush();

    std::vector<FontEntry> rows_;
    int selectedCount_ = 0;
    int updateDepth_ = 0;
    int reportedRows_ = 0; // rows the view knows, while appends are pending
    bool resetting_ = false;
    bool selectionDirty_ = false;
    int countAtBegin_ = 0;
    QList<QIcon> kindIcons_;
    PathResolverCache shownPaths_;
};

// Batch-update guard.
class FontListUpdate {
public:
    explicit FontListUpdate(FontList& list) : list_(list) { list_.BeginUpdate(); }
    ~FontListUpdate() { list_.EndUpdate(); }
    FontListUpdate(const FontListUpdate&) = delete;
    FontListUpdate& operator=(const FontListUpdate&) = delete;

private:
    FontList& list_;
};

} // namespace tz
