#pragma once
// A list-view control in memory: what each row and column shows, and how
// many cells and images the list wrote, so that tests see what the control
// would show and whether a refresh touched only what changed.

#include <algorithm>
#include <string>
#include <vector>

#include "views/report_list.h"
#include "views/report_view.h"

class FakeReportView : public ReportView {
  public:
    struct Row {
        int param = -1;
        std::vector<std::string> texts;
        int image = -1;
        bool selected = false;
        bool focused = false;
    };
    struct Column {
        int width = 0;
        int position = 0;
        int headerImage = -1;
        int autoSized = 0;
    };

    // The list's columns as the main window inserts them: id order, default widths.
    void InsertColumns(const ReportList& list) {
        columns.clear();
        for (const ColumnDef& def : list.Columns()) columns.push_back({def.defaultWidth, def.id, -1, 0});
    }

    int RowCount() override { return static_cast<int>(rows.size()); }
    int InsertRow(int row, const char* firstText, int image, int param) override {
        ++inserts;
        Row r{param, std::vector<std::string>(std::max<size_t>(columns.size(), 1)), image};
        r.texts[0] = firstText;
        row = std::clamp(row, 0, RowCount());
        rows.insert(rows.begin() + row, r);
        return row;
    }
    void DeleteRow(int row) override { rows.erase(rows.begin() + row); }
    void DeleteAllRows() override { rows.clear(); }
    int RowParam(int row) override { return rows.at(static_cast<size_t>(row)).param; }
    void SetCellText(int row, int column, const char* text) override {
        ++textWrites;
        rows.at(static_cast<size_t>(row)).texts.at(static_cast<size_t>(column)) = text;
    }
    void SetRowImage(int row, int image) override {
        ++imageWrites;
        rows.at(static_cast<size_t>(row)).image = image;
    }

    bool IsRowSelected(int row) override { return row >= 0 && row < RowCount() && rows[row].selected; }
    int SelectedCount() override {
        return static_cast<int>(std::count_if(rows.begin(), rows.end(), [](const Row& r) { return r.selected; }));
    }
    int NextSelectedRow(int after) override {
        for (int row = after + 1; row < RowCount(); ++row) {
            if (rows[row].selected) return row;
        }
        return -1;
    }
    void SetRowState(int row, unsigned state, unsigned mask) override {
        for (int r = 0; r < RowCount(); ++r) {
            if (row != -1 && r != row) continue;
            if (mask & kRowSelected) rows[r].selected = (state & kRowSelected) != 0;
            if ((mask & kRowFocused) && (state & kRowFocused)) {
                for (Row& other : rows) other.focused = false;
            }
            if (mask & kRowFocused) rows[r].focused = (state & kRowFocused) != 0;
        }
    }
    void EnsureVisible(int) override {}

    bool ColumnInfo(int column, int* width, int* position) override {
        if (column < 0 || column >= static_cast<int>(columns.size())) return false;
        *width = columns[column].width;
        *position = columns[column].position;
        return true;
    }
    void SetColumnWidth(int column, int width) override { columns.at(static_cast<size_t>(column)).width = width; }
    void SetColumnPosition(int column, int position) override {
        columns.at(static_cast<size_t>(column)).position = position;
    }
    void AutoSizeColumn(int column) override { ++columns.at(static_cast<size_t>(column)).autoSized; }
    void SetHeaderImage(int column, int image) override { columns.at(static_cast<size_t>(column)).headerImage = image; }
    void SortRows(RowComparer& comparer) override {
        std::stable_sort(rows.begin(), rows.end(),
                         [&](const Row& a, const Row& b) { return comparer.CompareRows(a.param, b.param) < 0; });
    }

    // The texts of one column, row by row.
    std::vector<std::string> ColumnOfRows(int column) const {
        std::vector<std::string> out;
        for (const Row& r : rows) out.push_back(r.texts.at(static_cast<size_t>(column)));
        return out;
    }

    std::vector<Row> rows;
    std::vector<Column> columns;
    int inserts = 0;
    int textWrites = 0;
    int imageWrites = 0;
};
