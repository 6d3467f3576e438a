#include "fontlist/FontList.h"

#include "platform/Text.h"

#include <algorithm>

namespace tz {

FontList::FontList(QObject* parent)
    : QAbstractTableModel(parent)
{
}

// --- batch updates ---------------------------------------------------------
// Appends inside a batch reach the view as one row insertion at the end; any
// other change turns the batch into one model reset.

void FontList::BeginUpdate()
{
    if (updateDepth_++ == 0)
        countAtBegin_ = Count();
}

void FontList::EndUpdate()
{
    if (updateDepth_ > 0 && --updateDepth_ == 0)
        Flush();
}

void FontList::StructureChanging()
{
    if (!resetting_) {
        beginResetModel();
        resetting_ = true;
    }
    selectionDirty_ = true;
}

void FontList::Flush()
{
    if (resetting_) {
        resetting_ = false;
        reportedRows_ = Count();
        endResetModel();
    } else if (Count() > reportedRows_) {
        beginInsertRows({}, reportedRows_, Count() - 1);
        reportedRows_ = Count();
        endInsertRows();
    }
    if (selectionDirty_) {
        selectionDirty_ = false;
        emit SelectionFlagsChanged();
    }
    if (Count() != countAtBegin_)
        emit CountChanged(Count());
}

// --- operations --------------------------------------------------------------

int FontList::AddEntry(const QString& face, const QString& family, const QString& path, const QString& member,
    const QString& size, int kind)
{
    FontListUpdate update(*this);
    rows_.push_back(FontEntry { face, family, UpperAscii(path), UpperAscii(member), size, kind, true });
    ++selectedCount_;
    selectionDirty_ = true;
    return Count() - 1;
}

int FontList::InsertCopy(int before, int source)
{
    FontListUpdate update(*this);
    FontEntry copy = rows_[size_t(source)];
    copy.Selected = false;
    if (before == kNone || before >= Count()) {
        rows_.push_back(std::move(copy));
        return Count() - 1;
    }
    StructureChanging();
    rows_.insert(rows_.begin() + before, std::move(copy));
    return before;
}

void FontList::DeleteSelected()
{
    if (selectedCount_ == 0)
        return;
    FontListUpdate update(*this);
    StructureChanging();
    rows_.erase(std::remove_if(rows_.begin(), rows_.end(), [](const FontEntry& e) { return e.Selected; }), rows_.end());
    selectedCount_ = 0;
}

void FontList::DeselectAll()
{
    if (selectedCount_ == 0)
        return;
    FontListUpdate update(*this);
    for (FontEntry& e : rows_)
        e.Selected = false;
    selectedCount_ = 0;
    selectionDirty_ = true;
}

void FontList::SelectAll()
{
    if (rows_.empty())
        return;
    FontListUpdate update(*this);
    for (FontEntry& e : rows_)
        e.Selected = true;
    selectedCount_ = Count();
    selectionDirty_ = true;
}

void FontList::InvertSelection()
{
    if (rows_.empty())
        return;
    FontListUpdate update(*this);
    for (FontEntry& e : rows_)
        e.Selected = !e.Selected;
    selectedCount_ = Count() - selectedCount_;
    selectionDirty_ = true;
}

void FontList::SelectOnly(const std::vector<int>& rows)
{
    FontListUpdate update(*this);
    DeselectAll();
    for (int row : rows)
        SetSelected(row, true);
}

void FontList::Clear()
{
    FontListUpdate update(*this);
    StructureChanging();
    rows_.clear();
    selectedCount_ = 0;
    shownPaths_.Forget();
}

bool FontList::MoveSelectedBefore(int target)
{
    if (selectedCount_ == 0)
        return false;
    SortKey = -1;
    FontListUpdate update(*this);
    StructureChanging();
    // The selected rows keep their order and land together before the target;
    // a selected target moves with them, so the block stands where it stood.
    std::vector<FontEntry> moved;
    std::vector<FontEntry> rest;
    moved.reserve(size_t(selectedCount_));
    rest.reserve(rows_.size() - size_t(selectedCount_));
    size_t insertAt = std::string::npos;
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (int(i) == target)
            insertAt = rest.size();
        (rows_[i].Selected ? moved : rest).push_back(std::move(rows_[i]));
    }
    if (insertAt == std::string::npos)
        insertAt = rest.size();
    rows_.clear();
    rows_.reserve(moved.size() + rest.size());
    std::move(rest.begin(), rest.begin() + std::ptrdiff_t(insertAt), std::back_inserter(rows_));
    std::move(moved.begin(), moved.end(), std::back_inserter(rows_));
    std::move(rest.begin() + std::ptrdiff_t(insertAt), rest.end(), std::back_inserter(rows_));
    return true;
}

void FontList::Reorder(const std::vector<int>& order)
{
    FontListUpdate update(*this);
    StructureChanging();
    std::vector<FontEntry> sorted;
    sorted.reserve(order.size());
    for (int from : order)
        sorted.push_back(std::move(rows_[size_t(from)]));
    rows_ = std::move(sorted);
}

int FontList::FirstSelected() const { return selectedCount_ == 0 ? kNone : NextBelow(kNone, true); }

int FontList::NextBelow(int row, bool selectedOnly) const
{
    for (int i = row + 1; i < Count(); ++i) {
        if (!selectedOnly || rows_[size_t(i)].Selected)
            return i;
    }
    return kNone;
}

void FontList::SetSelected(int row, bool selected)
{
    FontEntry& e = rows_[size_t(row)];
    if (e.Selected == selected)
        return;
    FontListUpdate update(*this);
    e.Selected = selected;
    selectedCount_ += selected ? 1 : -1;
    selectionDirty_ = true;
}

void FontList::SetSelectedFromView(int first, int last, bool selected)
{
    first = std::max(first, 0);
    last = std::min(last, Count() - 1);
    for (int i = first; i <= last; ++i) {
        FontEntry& e = rows_[size_t(i)];
        if (e.Selected != selected) {
            e.Selected = selected;
            selectedCount_ += selected ? 1 : -1;
        }
    }
}

// --- model -------------------------------------------------------------------

int FontList::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return resetting_ ? 0 : std::min(reportedRows_, Count());
}

int FontList::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnCount; }

QVariant FontList::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= kColumnCount)
        return {};
    const FontEntry& e = rows_[size_t(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case kColFace:
            return e.FaceName;
        case kColFamily:
            return e.FamilyName;
        case kColPath:
            return shownPaths_.Resolve(e.FilePath);
        case kColMember:
            return e.MemberName;
        default:
            return e.Size;
        }
    case Qt::DecorationRole:
        if (index.column() == kColFace && e.Kind >= 0 && e.Kind < kindIcons_.size())
            return kindIcons_[e.Kind];
        return {};
    case Qt::TextAlignmentRole:
        return index.column() == kColSize ? int(Qt::AlignRight | Qt::AlignVCenter) : int(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant FontList::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumnCount)
        return {};
    static const char16_t* const captions[kColumnCount] = { u"フォント名", u"ファミリ名", u"ファイル", u"書庫内ファイル", u"サイズ" };
    if (role == Qt::DisplayRole)
        return QString::fromUtf16(captions[section]);
    if (role == Qt::TextAlignmentRole)
        return section == kColSize ? int(Qt::AlignRight | Qt::AlignVCenter) : int(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

Qt::ItemFlags FontList::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
}

} // namespace tz
