#pragma once
// The list-view control as the report list sees it. The shell binds it to a
// report-style list view; tests fake it. Rows are numbered in the order shown;
// each row carries the storage index of its item as its parameter.

#include <cstdint>

// Row state bits for SetRowState.
constexpr unsigned kRowSelected = 1;
constexpr unsigned kRowFocused = 2;

class RowComparer {
  public:
    // <0, 0 or >0 for the rows whose parameters are a and b.
    virtual int CompareRows(int a, int b) = 0;

  protected:
    ~RowComparer() = default;
};

class ReportView {
  public:
    virtual ~ReportView() = default;

    // Number of rows.
    virtual int RowCount() = 0;
    // Inserts a row at `row` with the text of column 0, an image of the row
    // icon strip and the item parameter; returns the new row or -1.
    virtual int InsertRow(int row, const char* firstText, int image, int param) = 0;
    // Deletes one row; the rows below move up.
    virtual void DeleteRow(int row) = 0;
    // Deletes every row.
    virtual void DeleteAllRows() = 0;
    // The item parameter of a row.
    virtual int RowParam(int row) = 0;
    // Replaces the text of one cell (column = column id).
    virtual void SetCellText(int row, int column, const char* text) = 0;
    // Follows the SetCellText calls of one row. A view that asks the list for
    // its texts when it paints (ReportList::CopyShownText) ignores those and
    // only redraws the row here.
    virtual void RowTextsChanged(int row) { (void)row; }
    // Replaces the image of a row.
    virtual void SetRowImage(int row, int image) = 0;

    // Whether a row is selected.
    virtual bool IsRowSelected(int row) = 0;
    // Number of selected rows.
    virtual int SelectedCount() = 0;
    // The first selected row after `after` (-1 starts at the top); -1 when none.
    virtual int NextSelectedRow(int after) = 0;
    // Sets the state bits of `mask` (kRowSelected, kRowFocused) to those of
    // `state` on one row, or on every row when row is -1.
    virtual void SetRowState(int row, unsigned state, unsigned mask) = 0;
    // Scrolls a row into view.
    virtual void EnsureVisible(int row) = 0;

    // Width in pixels and display position (0 = leftmost) of a column;
    // false when the control cannot say.
    virtual bool ColumnInfo(int column, int* width, int* position) = 0;
    // Sets a column's width in pixels (0 hides it).
    virtual void SetColumnWidth(int column, int width) = 0;
    // Sets the display order of every column at once: order[i] is the column
    // id shown at position i. Moving columns one by one would shift the
    // others under earlier moves.
    virtual void SetColumnOrder(const int* order, int count) = 0;
    // Sizes a column to its widest text.
    virtual void AutoSizeColumn(int column) = 0;
    // Header image of a column: -1 none, else an image of the arrow strip,
    // shown right of the text.
    virtual void SetHeaderImage(int column, int image) = 0;
    // Reorders the rows with the comparison, which receives row parameters.
    virtual void SortRows(RowComparer& comparer) = 0;
};
