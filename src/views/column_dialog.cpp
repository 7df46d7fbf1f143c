#include "views/column_dialog.h"

#include <commctrl.h>

#include <cstring>

#include "resources/resource_ids.h"
#include "views/report_list.h"

namespace {

ColumnLayout CurrentLayout(ReportList& list) {
    ColumnLayout layout = {};
    ReportView* view = list.View();
    for (int column = 0; view && column < list.ColumnCount() && column < kLayoutColumns; ++column) {
        int width = 0, position = 0;
        if (!view->ColumnInfo(column, &width, &position)) continue;
        layout.entries[column].width = static_cast<int16_t>(width);
        layout.entries[column].position = static_cast<int16_t>(position);
    }
    return layout;
}

std::vector<int> DefaultWidths(const ReportList& list) {
    std::vector<int> widths;
    for (const ColumnDef& def : list.Columns()) widths.push_back(def.defaultWidth);
    return widths;
}

struct RowData {
    char text[256];
    LPARAM column;
    UINT state;  // selection, focus and check box
};

RowData ReadRow(HWND rows, int row) {
    RowData data = {};
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_STATE;
    item.iItem = row;
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED | LVIS_STATEIMAGEMASK;
    item.pszText = data.text;
    item.cchTextMax = sizeof data.text;
    SendMessageA(rows, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    data.text[sizeof data.text - 1] = '\0';
    data.column = item.lParam;
    data.state = item.state & (LVIS_SELECTED | LVIS_FOCUSED | LVIS_STATEIMAGEMASK);
    return data;
}

void WriteRow(HWND rows, int row, RowData& data) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = row;
    item.pszText = data.text;
    item.lParam = data.column;
    SendMessageA(rows, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void WriteRowState(HWND rows, int row, UINT state, UINT mask) {
    LVITEMA item = {};
    item.stateMask = mask;
    item.state = state;
    SendMessageA(rows, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

ColumnDialog::ColumnDialog(ReportList& list, HWND listWindow)
    : StandardDialog(IDD_COLUMNS),
      settings(CurrentLayout(list), DefaultWidths(list)),
      list(list),
      listWindow(listWindow) {}

bool ColumnDialog::Open(HWND owner, ReportList& list, HWND listWindow) {
    ColumnDialog dialog(list, listWindow);
    const bool ok = dialog.DoModal(owner);
    if (ok) {
        list.ApplyColumnLayout(dialog.settings.layout);
        InvalidateRect(listWindow, nullptr, TRUE);
    }
    SetFocus(listWindow);
    return ok;
}

INT_PTR ColumnDialog::OnInitDialog() {
    SendDlgItemMessageA(hdlg, IDC_COLUMNS_WIDTH, EM_LIMITTEXT, 3, 0);
    FillRows();
    return StandardDialog::OnInitDialog();
}

void ColumnDialog::FillRows() {
    HWND rows = Rows();
    SendMessageA(rows, LVM_DELETEALLITEMS, 0, 0);
    while (SendMessageA(rows, LVM_DELETECOLUMN, 0, 0)) {
    }
    LVCOLUMNA column = {};
    column.mask = LVCF_WIDTH;
    column.cx = 200;
    SendMessageA(rows, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    ListView_SetExtendedListViewStyleEx(rows, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
                                        LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    int row = 0;
    for (const ColumnSettings::Row& r : settings.FillRows()) {
        char header[256] = {};
        LVCOLUMNA info = {};
        info.mask = LVCF_TEXT;
        info.pszText = header;
        info.cchTextMax = sizeof header;
        SendMessageA(listWindow, LVM_GETCOLUMNA, static_cast<WPARAM>(r.column), reinterpret_cast<LPARAM>(&info));
        header[sizeof header - 1] = '\0';
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = row;
        item.pszText = header;
        item.lParam = r.column;
        const int inserted = static_cast<int>(SendMessageA(rows, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        if (inserted >= 0) ListView_SetCheckState(rows, inserted, r.checked ? TRUE : FALSE);
        ++row;
    }
    WriteRowState(rows, 0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SetFocus(rows);
}

int ColumnDialog::SelectedRow() const {
    return static_cast<int>(SendMessageA(Rows(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

int ColumnDialog::RowColumn(int row) const {
    return static_cast<int>(ReadRow(Rows(), row).column);
}

bool ColumnDialog::RowChecked(int row) const {
    return ListView_GetCheckState(Rows(), row) != FALSE;
}

void ColumnDialog::UpdateShowHide(int row) {
    const bool checked = RowChecked(row);
    EnableControl(hdlg, IDC_COLUMNS_SHOW, !checked);
    EnableControl(hdlg, IDC_COLUMNS_HIDE, checked);
}

void ColumnDialog::OnRowSelected(int row) {
    const int count = ListView_GetItemCount(Rows());
    EnableControl(hdlg, IDC_COLUMNS_UP, row > 0);
    EnableControl(hdlg, IDC_COLUMNS_DOWN, row < count - 1);
    const int column = RowColumn(row);
    writingWidth = true;
    if (column >= 0 && column < settings.ColumnCount()) {
        SetDlgItemInt(hdlg, IDC_COLUMNS_WIDTH, static_cast<UINT>(static_cast<uint16_t>(settings.Width(column))), FALSE);
    }
    writingWidth = false;
}

// Everything of the two rows changes places: text, check box, selection,
// focus and column.
void ColumnDialog::SwapRows(int a, int b) {
    HWND rows = Rows();
    RowData first = ReadRow(rows, a);
    RowData second = ReadRow(rows, b);
    WriteRow(rows, a, second);
    WriteRow(rows, b, first);
    const UINT mask = LVIS_SELECTED | LVIS_FOCUSED | LVIS_STATEIMAGEMASK;
    // The row that loses the selection first, so that the one gaining it is
    // the last to report.
    const bool firstSelected = (first.state & LVIS_SELECTED) != 0;
    WriteRowState(rows, firstSelected ? a : b, firstSelected ? second.state : first.state, mask);
    WriteRowState(rows, firstSelected ? b : a, firstSelected ? first.state : second.state, mask);
}

void ColumnDialog::MoveSelected(int step) {
    HWND rows = Rows();
    const int count = ListView_GetItemCount(rows);
    if (step < 0) {
        for (int row = 1; row < count; ++row) {
            if (ListView_GetItemState(rows, row, LVIS_SELECTED)) SwapRows(row, row - 1);
        }
    } else {
        for (int row = count - 2; row >= 0; --row) {
            if (ListView_GetItemState(rows, row, LVIS_SELECTED)) SwapRows(row, row + 1);
        }
    }
    const int selected = SelectedRow();
    if (selected >= 0) {
        ListView_EnsureVisible(rows, selected, FALSE);
        OnRowSelected(selected);
        UpdateShowHide(selected);
    }
}

void ColumnDialog::OnWidthEdited() {
    if (writingWidth) return;
    if (ListView_GetSelectedCount(Rows()) != 1) return;
    char text[16] = {};
    GetDlgItemTextA(hdlg, IDC_COLUMNS_WIDTH, text, sizeof text);
    settings.SetWidthText(RowColumn(SelectedRow()), text);
}

INT_PTR ColumnDialog::OnCommand(int code, WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    if (code == BN_CLICKED) {
        const int selected = SelectedRow();
        switch (id) {
            case IDC_COLUMNS_UP:
                MoveSelected(-1);
                break;
            case IDC_COLUMNS_DOWN:
                MoveSelected(1);
                break;
            case IDC_COLUMNS_SHOW:
            case IDC_COLUMNS_HIDE:
                if (selected >= 0) ListView_SetCheckState(Rows(), selected, id == IDC_COLUMNS_SHOW ? TRUE : FALSE);
                break;
            case IDC_COLUMNS_DEFAULT:
                settings.Reset();
                FillRows();
                break;
            default:
                break;
        }
    } else if (code == EN_CHANGE && id == IDC_COLUMNS_WIDTH) {
        OnWidthEdited();
    }
    return StandardDialog::OnCommand(code, wParam, lParam);
}

INT_PTR ColumnDialog::OnNotify(WPARAM, LPARAM lParam) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (!header || header->idFrom != IDC_COLUMNS_LIST) return 0;
    if (header->code == LVN_ITEMCHANGED) {
        const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
        if (!(change->uChanged & LVIF_STATE) || change->iItem < 0) return 0;
        const bool nowSelected = (change->uNewState & LVIS_SELECTED) != 0;
        const bool becameSelected = nowSelected && !(change->uOldState & LVIS_SELECTED);
        const bool checkChanged = ((change->uNewState ^ change->uOldState) & LVIS_STATEIMAGEMASK) != 0;
        if (becameSelected || (checkChanged && nowSelected)) UpdateShowHide(change->iItem);
        if (becameSelected) OnRowSelected(change->iItem);
    } else if (header->code == NM_DBLCLK) {
        const int row = reinterpret_cast<const NMITEMACTIVATE*>(lParam)->iItem;
        if (row >= 0) ListView_SetCheckState(Rows(), row, RowChecked(row) ? FALSE : TRUE);
    }
    return 0;
}

void ColumnDialog::ExchangeData(bool toControls) {
    if (toControls) return;
    std::vector<ColumnSettings::Row> rows;
    const int count = ListView_GetItemCount(Rows());
    for (int row = 0; row < count; ++row) rows.push_back({RowColumn(row), RowChecked(row)});
    settings.Accept(rows);
}
