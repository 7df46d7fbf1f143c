#include "views/report_list.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "lang/ui_strings.h"
#include "views/text_match.h"

class ReportList::SortComparer final : public RowComparer {
  public:
    SortComparer(const ReportList& list, SortState state) : list_(list), state_(state) {}
    int CompareRows(int a, int b) override {
        const ReportItem* x = list_.Item(a);
        const ReportItem* y = list_.Item(b);
        if (!x || !y) return 0;
        return list_.CompareForSort(state_, *x, *y);
    }

  private:
    const ReportList& list_;
    SortState state_;
};

ReportList::ReportList() = default;
ReportList::~ReportList() = default;

int ReportList::ItemImage(const ReportItem&) const {
    return 2;
}

bool ReportList::IsColumnSearchable(int column) const {
    return column == 0;
}

bool ReportList::IsItemShown(const ReportItem&, int) const {
    return true;
}

int ReportList::CompareItems(int column, const ReportItem& a, const ReportItem& b) const {
    return a.Compare(column, b);
}

uint32_t ReportList::HeaderBackColor() const {
    return 0xE0E0E0;
}

int32_t ReportList::HeaderTextColor() const {
    return -1;
}

const char* ReportList::ReportTitle() const {
    return reportTitleId ? GetUiString(static_cast<uint32_t>(reportTitleId)) : "";
}

const char* ReportList::ReportTitleRaw() const {
    return reportTitleId ? GetUiString(static_cast<uint32_t>(reportTitleId) | UISTR_BUILTIN) : ReportTitle();
}

const uint32_t* ReportList::CellColors(int, int* count) const {
    static const uint32_t kWhite = 0xFFFFFF;
    *count = 1;
    return &kWhite;
}

void ReportList::DecorateCell(std::string&, const ReportItem&, int) const {}

void ReportList::Attach(ReportView* view) {
    view_ = view;
    columns_.clear();
    int count = 0;
    const ColumnRow* rows = ColumnRows(&count);
    for (int i = 0; i < count; ++i) {
        ColumnDef def;
        def.id = i;
        def.defaultWidth = rows[i].defaultWidth;
        def.header = GetUiString(static_cast<uint32_t>(rows[i].stringId));
        def.reportWidth = rows[i].reportWidth;
        def.noWrap = true;
        def.rawHeader = GetUiString(static_cast<uint32_t>(rows[i].stringId) | UISTR_BUILTIN);
        columns_.push_back(def);
    }
    // A new view starts without rows; what was shown elsewhere is forgotten.
    rowItems_.clear();
    shown_.clear();
    TakeChanges();
}

ReportList::ShownRow& ReportList::Shown(int index) {
    if (static_cast<size_t>(index) >= shown_.size()) shown_.resize(static_cast<size_t>(index) + 1);
    return shown_[static_cast<size_t>(index)];
}

// Writes the cells of a row whose text differs from what the row shows.
void ReportList::SyncRow(int index, const ReportItem& item, int row) {
    ShownRow& shown = Shown(index);
    std::string& next = syncBuffer_;
    next.clear();
    size_t pos = 0;
    for (int column = 0; column < ColumnCount(); ++column) {
        const char* live = item.ColumnText(column, scratch_[0]);
        // A name resolver may rewrite a member text while it is read here:
        // compare, write and remember one copy, so the view and what was
        // last written never differ (the resolver's change mark follows).
        const char* text = live;
        if (live != scratch_[0]) {
            std::strncpy(scratch_[1], live, kTextBufferSize - 1);
            scratch_[1][kTextBufferSize - 1] = '\0';
            text = scratch_[1];
        }
        const size_t length = std::strlen(text);
        const char* old = pos < shown.texts.size() ? shown.texts.c_str() + pos : "";
        const size_t oldLength = std::strlen(old);
        if (oldLength != length || std::memcmp(old, text, length) != 0) view_->SetCellText(row, column, text);
        next.append(text, length);
        next.push_back('\0');
        pos += oldLength + 1;
    }
    shown.texts.swap(next);
}

void ReportList::SyncImage(int index, ReportItem& item, int row) {
    ShownRow& shown = Shown(index);
    const int image = ItemImage(item);
    item.image = image;
    if (image != shown.image) {
        view_->SetRowImage(row, image);
        shown.image = image;
    }
}

std::vector<int> ReportList::TakeChanges() {
    std::vector<int> taken;
    std::lock_guard<std::mutex> lock(changeLock_);
    taken.swap(changed_);
    for (int index : taken) changedFlags_[static_cast<size_t>(index)] = 0;
    return taken;
}

void ReportList::MarkItemChanged(int index) {
    if (index < 0) return;
    std::lock_guard<std::mutex> lock(changeLock_);
    const size_t i = static_cast<size_t>(index);
    if (i >= changedFlags_.size()) changedFlags_.resize(std::max(i + 1, changedFlags_.size() * 2));
    if (changedFlags_[i]) return;
    changedFlags_[i] = 1;
    changed_.push_back(index);
}

size_t ReportList::PendingChanges() const {
    std::lock_guard<std::mutex> lock(changeLock_);
    return changed_.size();
}

void ReportList::Rebuild(bool resort) {
    outputFormat_ = FormatScreen;
    if (!view_) return;
    const std::vector<int> pending = TakeChanges();
    const int count = ItemCount();
    std::vector<uint8_t> needsRow(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const ReportItem* item = Item(i);
        needsRow[static_cast<size_t>(i)] = item && !(item->flags & kFreeSlot) && IsItemShown(*item, i);
    }

    // Last to first, so that deleting a row moves none of those still to visit.
    bool removed = false;
    for (int row = RowCount() - 1; row >= 0; --row) {
        const int index = rowItems_[static_cast<size_t>(row)];
        if (index < 0 || index >= count || !needsRow[static_cast<size_t>(index)]) {
            view_->DeleteRow(row);
            if (index >= 0 && static_cast<size_t>(index) < shown_.size() && shown_[index].row == row) {
                shown_[static_cast<size_t>(index)] = ShownRow();
                if (ReportItem* gone = Item(index)) gone->image = -1;
            }
            rowItems_[static_cast<size_t>(row)] = -1;
            removed = true;
            continue;
        }
        needsRow[static_cast<size_t>(index)] = 0;
        SyncRow(index, *Item(index), row);
    }
    if (removed) {
        rowItems_.erase(std::remove(rowItems_.begin(), rowItems_.end(), -1), rowItems_.end());
        for (int row = 0; row < RowCount(); ++row) Shown(rowItems_[static_cast<size_t>(row)]).row = row;
    }

    for (int i = 0; i < count; ++i) {
        if (!needsRow[static_cast<size_t>(i)]) continue;
        ReportItem& item = *Item(i);
        item.image = ItemImage(item);
        const char* first = ColumnCount() > 0 ? item.ColumnText(0, scratch_[0]) : "";
        const int end = RowCount();
        const int row = view_->InsertRow(end, first, item.image, i);
        if (row < 0) {
            item.image = -1;
            continue;
        }
        ShownRow& shown = Shown(i);
        shown.row = row;
        shown.image = item.image;
        shown.texts.assign(first);
        shown.texts.append(static_cast<size_t>(std::max(ColumnCount(), 1)), '\0');
        if (row >= end) {
            rowItems_.push_back(i);
        } else {
            rowItems_.insert(rowItems_.begin() + row, i);
            for (int r = row + 1; r < RowCount(); ++r) Shown(rowItems_[static_cast<size_t>(r)]).row = r;
        }
        SyncRow(i, item, row);
    }

    // Texts are now current everywhere; a kept row whose icon is out of date
    // still waits for the next refresh.
    for (int index : pending) {
        if (index >= count || static_cast<size_t>(index) >= shown_.size()) continue;
        const ShownRow& shown = shown_[static_cast<size_t>(index)];
        if (shown.row >= 0 && shown.image != ItemImage(*Item(index))) MarkItemChanged(index);
    }

    if (resort) {
        if (resortAfterRebuild) Sort(persistedSort, true);
        if (selectFirstRowAfterRebuild && RowCount() > 0)
            SetRowState(0, kRowSelected | kRowFocused, kRowSelected | kRowFocused);
    }
}

void ReportList::RefreshRows() {
    const std::vector<int> changed = TakeChanges();
    if (!view_) return;
    const int count = ItemCount();
    for (int index : changed) {
        if (index >= count || static_cast<size_t>(index) >= shown_.size()) continue;
        const int row = shown_[static_cast<size_t>(index)].row;
        if (row < 0) continue;
        ReportItem& item = *Item(index);
        SyncRow(index, item, row);
        SyncImage(index, item, row);
    }
}

void ReportList::RefreshAllRows() {
    TakeChanges();
    if (!view_) return;
    for (int row = 0; row < RowCount(); ++row) {
        const int index = rowItems_[static_cast<size_t>(row)];
        if (ReportItem* item = Item(index)) SyncRow(index, *item, row);
    }
    for (int row = 0; row < RowCount(); ++row) {
        const int index = rowItems_[static_cast<size_t>(row)];
        if (ReportItem* item = Item(index)) SyncImage(index, *item, row);
    }
}

void ReportList::RefreshRowTexts(const ReportItem& item, int row) {
    const int index = ItemIndexOfRow(row);
    if (index < 0 || !view_) return;
    SyncRow(index, item, row);
}

void ReportList::DeleteAllRows() {
    if (view_) view_->DeleteAllRows();
    const int count = ItemCount();
    for (int index : rowItems_) {
        if (index < count) {
            if (ReportItem* item = Item(index)) item->image = -1;
        }
    }
    rowItems_.clear();
    shown_.clear();
}

void ReportList::ReloadRowOrder() {
    const int rows = view_->RowCount();
    rowItems_.resize(static_cast<size_t>(std::max(rows, 0)));
    for (int row = 0; row < rows; ++row) {
        const int index = view_->RowParam(row);
        rowItems_[static_cast<size_t>(row)] = index;
        if (index >= 0) Shown(index).row = row;
    }
}

void ReportList::Sort(SortState value, bool keep) {
    const SortState next = NextSortState(persistedSort, value, keep);
    persistedSort = next;
    if (view_) {
        const int sorted = SortColumn(next);
        const int arrow = SortIsDescending(next) ? headerImageDescending : headerImageAscending;
        for (int column = 0; column < ColumnCount(); ++column) {
            view_->SetHeaderImage(column, column == sorted ? arrow : -1);
        }
        SortComparer comparer(*this, next);
        view_->SortRows(comparer);
        ReloadRowOrder();
    }
    sortInEffect = next;
}

int ReportList::CompareForSort(SortState state, const ReportItem& a, const ReportItem& b) const {
    const int column = SortColumn(state);
    int result = CompareItems(column, a, b);
    if (result == kCompareAsText) {
        result = CompareNoCase(a.ColumnText(column, scratch_[0]), b.ColumnText(column, scratch_[1]));
    }
    return SortIsDescending(state) ? -result : result;
}

bool ReportList::MatchesFind(const ReportItem& item, const FindRequest& request) const {
    const char* wanted = request.text ? request.text : "";
    for (int column = 0; column < ColumnCount(); ++column) {
        if (!IsColumnSearchable(column)) continue;
        const char* text = item.ColumnText(column, scratch_[2]);
        bool match;
        if (request.wholeWord) {
            match = request.matchCase ? std::strcmp(text, wanted) == 0 : EqualsNoCase(text, wanted);
        } else {
            match = ContainsText(text, wanted, request.matchCase);
        }
        if (match) return true;
    }
    return false;
}

bool ReportList::FindNext(const FindRequest& request) {
    if (!view_) return false;
    const int rows = RowCount();
    const int step = request.down ? 1 : -1;
    const int selected = view_->NextSelectedRow(-1);
    int row = selected >= 0 ? selected + step : 0;
    // The search goes round the list once and stops at its second wrap.
    for (int wraps = 0;;) {
        if (row >= 0 && row < rows) {
            const ReportItem* item = ItemOfRow(row);
            if (item && MatchesFind(*item, request)) {
                view_->SetRowState(-1, 0, kRowSelected);
                view_->EnsureVisible(row);
                view_->SetRowState(row, kRowSelected | kRowFocused, kRowSelected | kRowFocused);
                return true;
            }
        }
        row += step;
        if (row >= rows) {
            row = 0;
            ++wraps;
        } else if (row < 0) {
            row = rows - 1;
            ++wraps;
        }
        if (wraps >= 2) return false;
    }
}

void ReportList::AutoSizeColumns() {
    if (!view_) return;
    for (int column = 0; column < ColumnCount(); ++column) {
        int width = 0, position = 0;
        if (view_->ColumnInfo(column, &width, &position) && width > 0) view_->AutoSizeColumn(column);
    }
}

const std::vector<int>& ReportList::VisibleColumns() {
    reportColumns_.clear();
    if (!view_) return reportColumns_;
    const int last = ColumnCount() - 1;
    std::vector<std::pair<int, int>> shown;  // display position, column id
    for (int column = 0; column < ColumnCount(); ++column) {
        int width = 0, position = 0;
        if (!view_->ColumnInfo(column, &width, &position) || width <= 0) continue;
        shown.emplace_back(std::clamp(position, 0, last), column);
    }
    std::sort(shown.begin(), shown.end());
    for (const auto& entry : shown) reportColumns_.push_back(entry.second);
    return reportColumns_;
}

void ReportList::FillColumnLayout() {
    columnLayout = ColumnLayout{};
    if (!view_) return;
    const int count = std::min(ColumnCount(), kLayoutColumns);
    for (int column = 0; column < count; ++column) {
        int width = 0, position = 0;
        if (!view_->ColumnInfo(column, &width, &position)) continue;
        columnLayout.entries[column].width = static_cast<int16_t>(width);
        columnLayout.entries[column].position = static_cast<int16_t>(position);
    }
}

void ReportList::ApplyColumnLayout(const ColumnLayout& layout) {
    if (!view_ || !IsColumnLayoutUsable(layout)) return;
    const int count = std::min(ColumnCount(), kLayoutColumns);
    for (int column = 0; column < count; ++column) {
        const ColumnLayoutEntry& entry = layout.entries[column];
        if (!ColumnLayoutEntryApplies(entry, ColumnCount())) continue;
        view_->SetColumnWidth(column, entry.width);
        view_->SetColumnPosition(column, entry.position);
    }
}

int ReportList::ItemIndexOfRow(int row) const {
    if (row < 0 || row >= RowCount()) return -1;
    return rowItems_[static_cast<size_t>(row)];
}

ReportItem* ReportList::ItemOfRow(int row) {
    return Item(ItemIndexOfRow(row));
}

int ReportList::RowOfItem(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= shown_.size()) return -1;
    return shown_[static_cast<size_t>(index)].row;
}

int ReportList::SelectedCount() const {
    return view_ ? view_->SelectedCount() : 0;
}

bool ReportList::IsRowSelected(int row) const {
    return view_ && view_->IsRowSelected(row);
}

ReportItem* ReportList::SingleSelectedItem() {
    if (SelectedCount() != 1) return nullptr;
    return ItemOfRow(view_->NextSelectedRow(-1));
}

void ReportList::SetRowState(int row, unsigned state, unsigned mask) {
    if (view_) view_->SetRowState(row, state, mask);
}
