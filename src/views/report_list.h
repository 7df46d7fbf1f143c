#pragma once
// The list framework behind the result list: column table, rows of the list
// view, sorting, searching, the saved column layout and what the report
// writers read. A derived list owns the items; the rows live in a ReportView.
//
// The list remembers, per item with a row, the texts and the image it last
// wrote into that row, and which items changed since the last refresh, so
// that a refresh touches only the rows of changed items and writes only the
// cells whose text differs.

#include <cstdint>
#include <string>
#include <vector>

#include "base/lock.h"
#include "views/column_def.h"
#include "views/column_layout.h"
#include "views/find_request.h"
#include "views/report_format.h"
#include "views/report_item.h"
#include "views/report_view.h"
#include "views/sort_state.h"

class ReportList {
  public:
    ReportList();
    virtual ~ReportList();
    ReportList(const ReportList&) = delete;
    ReportList& operator=(const ReportList&) = delete;

    virtual int ItemCount() const = 0;
    // The item at a storage index; null outside 0 to ItemCount() - 1.
    virtual ReportItem* Item(int index) = 0;
    virtual const ReportItem* Item(int index) const = 0;
    // The static column table (count rows, in column id order).
    virtual const ColumnRow* ColumnRows(int* count) const = 0;
    // Image of the row icon strip for an item.
    virtual int ItemImage(const ReportItem& item) const;
    virtual bool IsColumnSearchable(int column) const;
    bool IsItemShown(const ReportItem& item, int index) const;
    // The item's own comparison, or kCompareAsText.
    int CompareItems(int column, const ReportItem& a, const ReportItem& b) const;
    uint32_t HeaderBackColor() const;  // red in the low byte
    int32_t HeaderTextColor() const;   // -1: none
    const char* ReportTitle() const;
    const char* ReportTitleRaw() const;
    // Background colours of the HTML cells, spread as a gradient across the
    // report columns (red in the low byte).
    virtual const uint32_t* CellColors(int format, int* count) const;
    // Gives an escaped HTML cell text its final form (links); base: as it is.
    virtual void DecorateCell(std::string& cell, const ReportItem& item, int column) const;

    // Binds the list to its view (null detaches) and builds the column table,
    // resolving the header texts. The caller then inserts one view column per
    // ColumnDef, in column id order.
    void Attach(ReportView* target);
    ReportView* View() const { return view; }
    const std::vector<ColumnDef>& Columns() const { return columns; }
    int ColumnCount() const { return static_cast<int>(columns.size()); }

    // Options that a derived list sets after Attach.
    bool resortAfterRebuild = true;
    bool selectFirstRowAfterRebuild = true;
    bool checkboxMode = false;
    int32_t reportTitleId = 0;
    int headerImageAscending = 0;
    int headerImageDescending = 1;

    // Makes the rows match the items: rows of vanished items go, kept rows are
    // refreshed, items without a row get one at the end; then re-sorts.
    void Rebuild(bool resort);
    // Refreshes the texts and icons of the rows whose items changed.
    void RefreshRows();
    // Refreshes the texts and icons of every row.
    void RefreshAllRows();
    // The text a row's cell shows (column = column id), NUL-terminated and
    // cut to size bytes; "" for a cell or row that does not exist.
    void CopyShownText(int row, int column, char* out, size_t size) const;
    // The image a row shows; -1 for a row that does not exist.
    int ShownImage(int row) const;
    // Deletes every row of the view.
    void DeleteAllRows();
    // Notes that an item's visible content changed (status, record, names).
    // Safe from any thread.
    void MarkItemChanged(int index);
    // Number of items waiting for a refresh.
    size_t PendingChanges() const;

    // Sorts by a header click's column (keep false) or a whole state (keep
    // true), sets the header arrows and persists the state.
    void Sort(SortState value, bool keep);
    // The comparison of two items under a sort state: <0, 0 or >0.
    int CompareForSort(SortState sortState, const ReportItem& a, const ReportItem& b) const;
    SortState sortInEffect = 0;
    SortState persistedSort = 0;  // the "Sort" setting

    bool MatchesFind(const ReportItem& item, const FindRequest& request) const;
    // Selects the next matching row; false when none matched.
    bool FindNext(const FindRequest& request);
    char findText[255] = {};  // the Find dialog's search text buffer

    void AutoSizeColumns();
    // The report columns: shown columns in display order; also kept for the
    // writers in ReportColumns().
    const std::vector<int>& VisibleColumns();
    const std::vector<int>& ReportColumns() const { return reportColumns; }
    // "Columns" exchange: fill before writing, apply after reading.
    void FillColumnLayout();
    void ApplyColumnLayout(const ColumnLayout& layout);
    ColumnLayout columnLayout = {};

    int RowCount() const { return static_cast<int>(rowItems.size()); }
    // Storage index of a row's item, -1 for no such row.
    int ItemIndexOfRow(int row) const;
    ReportItem* ItemOfRow(int row);
    // Row of an item, -1 when it has none.
    int RowOfItem(int index) const;
    int SelectedCount() const;
    bool IsRowSelected(int row) const;
    // The selected item when exactly one row is selected, else null.
    ReportItem* SingleSelectedItem();
    // State bits on one row, or on every row for -1.
    void SetRowState(int row, unsigned rowState, unsigned mask);

    ReportFormat OutputFormat() const { return outputFormat; }
    void SetOutputFormat(ReportFormat format) { outputFormat = format; }

    // Buffers column texts are produced into (kTextBufferSize bytes each).
    char* Scratch(int i) const { return scratch[i]; }

  private:
    struct ShownRow {
        int row = -1;
        int image = -1;     // image written into the row
        std::string texts;  // each column's text, each followed by a NUL
    };
    class SortComparer;

    void SyncRow(int index, const ReportItem& item, int row);
    void SyncImage(int index, ReportItem& item, int row);
    std::vector<int> TakeChanges();
    void ReloadRowOrder();
    ShownRow& Shown(int index);

    ReportView* view = nullptr;
    std::vector<ColumnDef> columns;
    std::vector<int> reportColumns;
    ReportFormat outputFormat = FormatScreen;
    mutable char scratch[4][kTextBufferSize] = {};

    std::vector<int> rowItems;    // storage index of each row's item
    std::vector<ShownRow> shown;  // by storage index
    std::string syncBuffer;       // reused by SyncRow

    mutable Lock changeLock;  // guards changed and changedFlags
    std::vector<int> changed;
    std::vector<uint8_t> changedFlags;
};
