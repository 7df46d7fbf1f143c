#include "views/report_list.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "lang/ui_strings.h"
#include "views/text_match.h"

class ReportList::SortComparer final : public RowComparer {
  public:
    SortComparer(const ReportList& list_, SortState state_) : list(list_), state(state_) {}
    int CompareRows(int a, int b) override {
        const ReportItem* x = list.Item(a);
        const ReportItem* y = list.Item(b);
        if (!x || !y) return 0;
        return list.CompareForSort(state, *x, *y);
    }

  private:
    const ReportList& list;
    SortState state;
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

void ReportList::Attach(ReportView* target) {
    view = target;
    columns.clear();
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
        columns.push_back(def);
    }
    // A new view starts without rows; what was shown elsewhere is forgotten.
    rowItems.clear();
    shown.clear();
    TakeChanges();
}

ReportList::ShownRow& ReportList::Shown(int index) {
    if (static_cast<size_t>(index) >= shown.size()) shown.resize(static_cast<size_t>(index) + 1);
    return shown[static_cast<size_t>(index)];
}

// Writes the cells of a row whose text differs from what the row shows.
void ReportList::SyncRow(int index, const ReportItem& item, int row) {
    ShownRow& slot = Shown(index);
    std::string& next = syncBuffer;
    next.clear();
    size_t pos = 0;
    bool changed = false;
    for (int column = 0; column < ColumnCount(); ++column) {
        const char* live = item.ColumnText(column, scratch[0]);
        // A name resolver may rewrite a member text while it is read here:
        // compare, write and remember one copy, so the view and what was
        // last written never differ (the resolver's change mark follows).
        const char* text = live;
        if (live != scratch[0]) {
            // Only the text's own bytes: strncpy would fill the rest of the
            // 8 KiB with zeros, for every cell of every refresh.
            size_t copied = 0;
            while (copied < static_cast<size_t>(kTextBufferSize) - 1 && (scratch[1][copied] = live[copied]) != '\0')
                ++copied;
            scratch[1][copied] = '\0';
            text = scratch[1];
        }
        const size_t length = std::strlen(text);
        const char* old = pos < slot.texts.size() ? slot.texts.c_str() + pos : "";
        const size_t oldLength = std::strlen(old);
        if (oldLength != length || std::memcmp(old, text, length) != 0) {
            view->SetCellText(row, column, text);
            changed = true;
        }
        next.append(text, length);
        next.push_back('\0');
        pos += oldLength + 1;
    }
    slot.texts.swap(next);
    if (changed) view->RowTextsChanged(row);
}

int ReportList::ShownImage(int row) const {
    const int index = ItemIndexOfRow(row);
    return index >= 0 && static_cast<size_t>(index) < shown.size() ? shown[static_cast<size_t>(index)].image : -1;
}

void ReportList::CopyShownText(int row, int column, char* out, size_t size) const {
    if (!out || size == 0) return;
    out[0] = '\0';
    const int index = ItemIndexOfRow(row);
    if (index < 0 || static_cast<size_t>(index) >= shown.size() || column < 0) return;
    const std::string& texts = shown[static_cast<size_t>(index)].texts;
    size_t pos = 0;
    for (int c = 0; c < column; ++c) {
        const size_t end = texts.find('\0', pos);
        if (end == std::string::npos) return;
        pos = end + 1;
    }
    if (pos >= texts.size()) return;
    const size_t length = std::min(std::strlen(texts.c_str() + pos), size - 1);
    std::memcpy(out, texts.c_str() + pos, length);
    out[length] = '\0';
}

void ReportList::SyncImage(int index, ReportItem& item, int row) {
    ShownRow& slot = Shown(index);
    const int image = ItemImage(item);
    item.image = image;
    if (image != slot.image) {
        view->SetRowImage(row, image);
        slot.image = image;
    }
}

std::vector<int> ReportList::TakeChanges() {
    std::vector<int> taken;
    Locked lock(changeLock);
    taken.swap(changed);
    for (int index : taken) changedFlags[static_cast<size_t>(index)] = 0;
    return taken;
}

void ReportList::MarkItemChanged(int index) {
    if (index < 0) return;
    Locked lock(changeLock);
    const size_t i = static_cast<size_t>(index);
    if (i >= changedFlags.size()) changedFlags.resize(std::max(i + 1, changedFlags.size() * 2));
    if (changedFlags[i]) return;
    changedFlags[i] = 1;
    changed.push_back(index);
}

size_t ReportList::PendingChanges() const {
    Locked lock(changeLock);
    return changed.size();
}

void ReportList::Rebuild(bool resort) {
    outputFormat = FormatScreen;
    if (!view) return;
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
        const int index = rowItems[static_cast<size_t>(row)];
        if (index < 0 || index >= count || !needsRow[static_cast<size_t>(index)]) {
            view->DeleteRow(row);
            if (index >= 0 && static_cast<size_t>(index) < shown.size() && shown[index].row == row) {
                shown[static_cast<size_t>(index)] = ShownRow();
                if (ReportItem* gone = Item(index)) gone->image = -1;
            }
            rowItems[static_cast<size_t>(row)] = -1;
            removed = true;
            continue;
        }
        needsRow[static_cast<size_t>(index)] = 0;
        SyncRow(index, *Item(index), row);
    }
    if (removed) {
        rowItems.erase(std::remove(rowItems.begin(), rowItems.end(), -1), rowItems.end());
        for (int row = 0; row < RowCount(); ++row) Shown(rowItems[static_cast<size_t>(row)]).row = row;
    }

    for (int i = 0; i < count; ++i) {
        if (!needsRow[static_cast<size_t>(i)]) continue;
        ReportItem& item = *Item(i);
        item.image = ItemImage(item);
        const char* first = ColumnCount() > 0 ? item.ColumnText(0, scratch[0]) : "";
        const int end = RowCount();
        const int row = view->InsertRow(end, first, item.image, i);
        if (row < 0) {
            item.image = -1;
            continue;
        }
        ShownRow& slot = Shown(i);
        slot.row = row;
        slot.image = item.image;
        slot.texts.assign(first);
        slot.texts.append(static_cast<size_t>(std::max(ColumnCount(), 1)), '\0');
        if (row >= end) {
            rowItems.push_back(i);
        } else {
            rowItems.insert(rowItems.begin() + row, i);
            for (int r = row + 1; r < RowCount(); ++r) Shown(rowItems[static_cast<size_t>(r)]).row = r;
        }
        SyncRow(i, item, row);
    }

    // Texts are now current everywhere; a kept row whose icon is out of date
    // still waits for the next refresh.
    for (int index : pending) {
        if (index >= count || static_cast<size_t>(index) >= shown.size()) continue;
        const ShownRow& slot = shown[static_cast<size_t>(index)];
        if (slot.row >= 0 && slot.image != ItemImage(*Item(index))) MarkItemChanged(index);
    }

    if (resort) {
        if (resortAfterRebuild) Sort(persistedSort, true);
        if (selectFirstRowAfterRebuild && RowCount() > 0)
            SetRowState(0, kRowSelected | kRowFocused, kRowSelected | kRowFocused);
    }
}

void ReportList::RefreshRows() {
    const std::vector<int> changes = TakeChanges();
    if (!view) return;
    const int count = ItemCount();
    for (int index : changes) {
        if (index >= count || static_cast<size_t>(index) >= shown.size()) continue;
        const int row = shown[static_cast<size_t>(index)].row;
        if (row < 0) continue;
        ReportItem& item = *Item(index);
        SyncRow(index, item, row);
        SyncImage(index, item, row);
    }
}

void ReportList::RefreshAllRows() {
    TakeChanges();
    if (!view) return;
    for (int row = 0; row < RowCount(); ++row) {
        const int index = rowItems[static_cast<size_t>(row)];
        if (ReportItem* item = Item(index)) SyncRow(index, *item, row);
    }
    for (int row = 0; row < RowCount(); ++row) {
        const int index = rowItems[static_cast<size_t>(row)];
        if (ReportItem* item = Item(index)) SyncImage(index, *item, row);
    }
}

void ReportList::DeleteAllRows() {
    if (view) view->DeleteAllRows();
    const int count = ItemCount();
    for (int index : rowItems) {
        if (index < count) {
            if (ReportItem* item = Item(index)) item->image = -1;
        }
    }
    rowItems.clear();
    shown.clear();
}

void ReportList::ReloadRowOrder() {
    const int rows = view->RowCount();
    rowItems.resize(static_cast<size_t>(std::max(rows, 0)));
    for (int row = 0; row < rows; ++row) {
        const int index = view->RowParam(row);
        rowItems[static_cast<size_t>(row)] = index;
        if (index >= 0) Shown(index).row = row;
    }
}

void ReportList::Sort(SortState value, bool keep) {
    const SortState next = NextSortState(persistedSort, value, keep);
    persistedSort = next;
    if (view) {
        const int sorted = SortColumn(next);
        const int arrow = SortIsDescending(next) ? headerImageDescending : headerImageAscending;
        for (int column = 0; column < ColumnCount(); ++column) {
            view->SetHeaderImage(column, column == sorted ? arrow : -1);
        }
        SortComparer comparer(*this, next);
        view->SortRows(comparer);
        ReloadRowOrder();
    }
    sortInEffect = next;
}

int ReportList::CompareForSort(SortState sortState, const ReportItem& a, const ReportItem& b) const {
    const int column = SortColumn(sortState);
    int result = CompareItems(column, a, b);
    if (result == kCompareAsText) {
        result = CompareNoCase(a.ColumnText(column, scratch[0]), b.ColumnText(column, scratch[1]));
    }
    return SortIsDescending(sortState) ? -result : result;
}

bool ReportList::MatchesFind(const ReportItem& item, const FindRequest& request) const {
    const char* wanted = request.text ? request.text : "";
    for (int column = 0; column < ColumnCount(); ++column) {
        if (!IsColumnSearchable(column)) continue;
        const char* text = item.ColumnText(column, scratch[2]);
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
    if (!view) return false;
    const int rows = RowCount();
    const int step = request.down ? 1 : -1;
    const int selected = view->NextSelectedRow(-1);
    int row = selected >= 0 ? selected + step : 0;
    // The search goes round the list once and stops at its second wrap.
    for (int wraps = 0;;) {
        if (row >= 0 && row < rows) {
            const ReportItem* item = ItemOfRow(row);
            if (item && MatchesFind(*item, request)) {
                view->SetRowState(-1, 0, kRowSelected);
                view->EnsureVisible(row);
                view->SetRowState(row, kRowSelected | kRowFocused, kRowSelected | kRowFocused);
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
    if (!view) return;
    for (int column = 0; column < ColumnCount(); ++column) {
        int width = 0, position = 0;
        if (view->ColumnInfo(column, &width, &position) && width > 0) view->AutoSizeColumn(column);
    }
}

const std::vector<int>& ReportList::VisibleColumns() {
    reportColumns.clear();
    if (!view) return reportColumns;
    const int last = ColumnCount() - 1;
    std::vector<std::pair<int, int>> order;  // display position, column id
    for (int column = 0; column < ColumnCount(); ++column) {
        int width = 0, position = 0;
        if (!view->ColumnInfo(column, &width, &position) || width <= 0) continue;
        order.emplace_back(std::clamp(position, 0, last), column);
    }
    std::sort(order.begin(), order.end());
    for (const auto& entry : order) reportColumns.push_back(entry.second);
    return reportColumns;
}

void ReportList::FillColumnLayout() {
    columnLayout = ColumnLayout{};
    if (!view) return;
    const int count = std::min(ColumnCount(), kLayoutColumns);
    for (int column = 0; column < count; ++column) {
        int width = 0, position = 0;
        if (!view->ColumnInfo(column, &width, &position)) continue;
        columnLayout.entries[column].width = static_cast<int16_t>(width);
        columnLayout.entries[column].position = static_cast<int16_t>(position);
    }
}

void ReportList::ApplyColumnLayout(const ColumnLayout& layout) {
    if (!view || !IsColumnLayoutUsable(layout)) return;
    // The whole order is derived first and set at once; a column whose entry
    // does not apply keeps its place, and equal positions go in column id
    // order, as VisibleColumns reads them.
    std::vector<std::pair<int, int>> order;  // display position, column id
    for (int column = 0; column < ColumnCount(); ++column) {
        int width = 0, position = column;
        if (!view->ColumnInfo(column, &width, &position)) position = column;
        if (column < kLayoutColumns && ColumnLayoutEntryApplies(layout.entries[column], ColumnCount())) {
            view->SetColumnWidth(column, layout.entries[column].width);
            position = layout.entries[column].position;
        }
        order.emplace_back(position, column);
    }
    std::sort(order.begin(), order.end());
    std::vector<int> ids;
    for (const auto& entry : order) ids.push_back(entry.second);
    view->SetColumnOrder(ids.data(), static_cast<int>(ids.size()));
}

int ReportList::ItemIndexOfRow(int row) const {
    if (row < 0 || row >= RowCount()) return -1;
    return rowItems[static_cast<size_t>(row)];
}

ReportItem* ReportList::ItemOfRow(int row) {
    return Item(ItemIndexOfRow(row));
}

int ReportList::RowOfItem(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= shown.size()) return -1;
    return shown[static_cast<size_t>(index)].row;
}

int ReportList::SelectedCount() const {
    return view ? view->SelectedCount() : 0;
}

bool ReportList::IsRowSelected(int row) const {
    return view && view->IsRowSelected(row);
}

ReportItem* ReportList::SingleSelectedItem() {
    if (SelectedCount() != 1) return nullptr;
    return ItemOfRow(view->NextSelectedRow(-1));
}

void ReportList::SetRowState(int row, unsigned rowState, unsigned mask) {
    if (view) view->SetRowState(row, rowState, mask);
}
