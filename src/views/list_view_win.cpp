#include "views/list_view_win.h"

#include <commctrl.h>

#include "resources/resource_ids.h"
#include "framework/app.h"

#include <initializer_list>

namespace {
int CALLBACK CompareParams(LPARAM a, LPARAM b, LPARAM comparer) {
    return reinterpret_cast<RowComparer*>(comparer)->CompareRows(static_cast<int>(a), static_cast<int>(b));
}

UINT ToListState(unsigned bits) {
    return ((bits & kRowSelected) ? LVIS_SELECTED : 0) | ((bits & kRowFocused) ? LVIS_FOCUSED : 0);
}
}  // namespace

void ListViewBinding::CreateImageLists() {
    HIMAGELIST rows = ImageList_LoadImageA(AppInstance(), MAKEINTRESOURCEA(IDB_ROW_ICONS), 16, 1, RGB(0, 128, 128),
                                           IMAGE_BITMAP, LR_CREATEDIBSECTION);
    if (rows) ListView_SetImageList(list, rows, LVSIL_SMALL);

    headerImages = ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, 2, 0);
    for (int id : {IDB_SORT_UP, IDB_SORT_DOWN}) {
        HBITMAP arrow = static_cast<HBITMAP>(
            LoadImageA(AppInstance(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        if (arrow) {
            ImageList_AddMasked(headerImages, arrow, GetSysColor(COLOR_BTNFACE));
            DeleteObject(arrow);
        }
    }
    HWND header = ListView_GetHeader(list);
    if (header) Header_SetImageList(header, headerImages);
}

void ListViewBinding::DestroyImageLists() {
    HWND header = list ? ListView_GetHeader(list) : nullptr;
    if (header) Header_SetImageList(header, nullptr);
    if (headerImages) ImageList_Destroy(headerImages);
    headerImages = nullptr;
}

int ListViewBinding::RowCount() {
    return ListView_GetItemCount(list);
}

int ListViewBinding::InsertRow(int row, const char* firstText, int image, int param) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = row;
    // Every cell asks for its text and the row for its image when painted
    // (LVN_GETDISPINFO): a changed row is redrawn once, where setting each
    // cell cost a trip through the control, its notifications and, under
    // Wine, the window server per cell.
    (void)firstText;
    item.pszText = LPSTR_TEXTCALLBACKA;
    (void)image;
    item.iImage = I_IMAGECALLBACK;
    item.lParam = param;
    return static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

void ListViewBinding::DeleteRow(int row) {
    ListView_DeleteItem(list, row);
}

void ListViewBinding::DeleteAllRows() {
    ListView_DeleteAllItems(list);
}

int ListViewBinding::RowParam(int row) {
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return -1;
    return static_cast<int>(item.lParam);
}

void ListViewBinding::SetCellText(int, int, const char*) {
    // The control asks the list (LVN_GETDISPINFO) for the texts.
}

void ListViewBinding::RowTextsChanged(int row) {
    // Rows out of sight are painted with their texts when they come into it,
    // and a hidden list (a headless run) is painted whole when it is shown.
    if (!IsWindowVisible(list)) return;
    const int top = ListView_GetTopIndex(list);
    if (row < top || row > top + ListView_GetCountPerPage(list)) return;
    ListView_RedrawItems(list, row, row);
}

void ListViewBinding::SetRowImage(int row, int) {
    RowTextsChanged(row);
}

bool ListViewBinding::IsRowSelected(int row) {
    return ListView_GetItemState(list, row, LVIS_SELECTED) != 0;
}

int ListViewBinding::SelectedCount() {
    return static_cast<int>(ListView_GetSelectedCount(list));
}

int ListViewBinding::NextSelectedRow(int after) {
    return ListView_GetNextItem(list, after, LVNI_SELECTED);
}

void ListViewBinding::SetRowState(int row, unsigned state, unsigned mask) {
    ListView_SetItemState(list, row, ToListState(state), ToListState(mask));
}

void ListViewBinding::EnsureVisible(int row) {
    ListView_EnsureVisible(list, row, FALSE);
}

bool ListViewBinding::ColumnInfo(int column, int* width, int* position) {
    LVCOLUMNA c = {};
    c.mask = LVCF_WIDTH | LVCF_ORDER;
    if (!SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&c))) return false;
    *width = c.cx;
    *position = c.iOrder;
    return true;
}

void ListViewBinding::SetColumnWidth(int column, int width) {
    ListView_SetColumnWidth(list, column, width);
}

void ListViewBinding::SetColumnOrder(const int* order, int count) {
    SendMessageA(list, LVM_SETCOLUMNORDERARRAY, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(order));
}

void ListViewBinding::AutoSizeColumn(int column) {
    ListView_SetColumnWidth(list, column, LVSCW_AUTOSIZE);
}

void ListViewBinding::SetHeaderImage(int column, int image) {
    HWND header = ListView_GetHeader(list);
    if (!header) return;
    HDITEMA h = {};
    h.mask = HDI_FORMAT;
    if (!SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&h))) return;
    h.mask = HDI_FORMAT | HDI_IMAGE;
    h.fmt &= ~(HDF_IMAGE | HDF_BITMAP_ON_RIGHT);
    h.fmt |= HDF_STRING;
    if (image >= 0) {
        h.fmt |= HDF_IMAGE | HDF_BITMAP_ON_RIGHT;
        h.iImage = image;
    }
    SendMessageA(header, HDM_SETITEMA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&h));
}

void ListViewBinding::SortRows(RowComparer& comparer) {
    ListView_SortItems(list, CompareParams, reinterpret_cast<LPARAM>(&comparer));
}
