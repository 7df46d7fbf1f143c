#pragma once
// The column settings dialog: which result columns are shown, in which
// order and how wide, applied to the result list on OK.

#include <windows.h>

#include <vector>

#include "resources/resource_ids.h"
#include "framework/dialog_base.h"
#include "views/column_settings.h"

class ReportList;

class ColumnDialog : public StandardDialog {
  public:
    // The result list, its list-view window, and the working layout read
    // from it.
    ColumnDialog(ReportList& list, HWND listWindow);

    // Runs the dialog over owner; on OK the layout goes to the result list
    // as a "Columns" setting would. The focus returns to the result list.
    static bool Open(HWND owner, ReportList& list, HWND listWindow);

    INT_PTR OnInitDialog() override;
    INT_PTR OnCommand(int code, WPARAM wParam, LPARAM lParam) override;
    INT_PTR OnNotify(WPARAM wParam, LPARAM lParam) override;
    void ExchangeData(bool toControls) override;

    ColumnSettings settings;

  private:
    HWND Rows() const { return GetDlgItem(hdlg, IDC_COLUMNS_LIST); }
    int SelectedRow() const;
    int RowColumn(int row) const;
    bool RowChecked(int row) const;
    void FillRows();
    void SwapRows(int a, int b);
    void MoveSelected(int step);
    void OnRowSelected(int row);
    void UpdateShowHide(int row);
    void OnWidthEdited();

    ReportList& list;
    HWND listWindow;
    bool writingWidth = false;
};
