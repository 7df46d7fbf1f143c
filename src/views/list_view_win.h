#pragma once
// The report list's rows on a real report-style list view control.

#include <windows.h>
#include <commctrl.h>

#include "views/report_view.h"

class ListViewBinding : public ReportView {
  public:
    void Bind(HWND listView) { list = listView; }
    HWND Window() const { return list; }

    // Row icons (bitmap 113) and header sort arrows (bitmaps 133, 134).
    void CreateImageLists();
    // The header's image list is not owned by the control: freed here.
    void DestroyImageLists();

    int RowCount() override;
    int InsertRow(int row, const char* firstText, int image, int param) override;
    void DeleteRow(int row) override;
    void DeleteAllRows() override;
    int RowParam(int row) override;
    void SetCellText(int row, int column, const char* text) override;
    void RowTextsChanged(int row) override;
    void SetRowImage(int row, int image) override;
    bool IsRowSelected(int row) override;
    int SelectedCount() override;
    int NextSelectedRow(int after) override;
    void SetRowState(int row, unsigned state, unsigned mask) override;
    void EnsureVisible(int row) override;
    bool ColumnInfo(int column, int* width, int* position) override;
    void SetColumnWidth(int column, int width) override;
    void SetColumnOrder(const int* order, int count) override;
    void AutoSizeColumn(int column) override;
    void SetHeaderImage(int column, int image) override;
    void SortRows(RowComparer& comparer) override;

  private:
    HWND list = nullptr;
    HIMAGELIST headerImages = nullptr;
};
