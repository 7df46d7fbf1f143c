#pragma once
// A list-view control in memory, and helpers shared by the tests of the
// address list, the result list and the reports.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "base/address_helpers.h"
#include "input/address_list.h"
#include "views/result_columns.h"
#include "views/report_view.h"

// What each row and column of the control shows, and how many cells and
// images the list wrote, to see that a refresh touches only what changed.
class FakeReportView : public ReportView {
  public:
    struct Row {
        int param = -1;
        std::vector<std::string> texts;
        int image = -1;
        bool selected = false, focused = false;
    };
    struct Column {
        int width = 0, position = 0, headerImage = -1, autoSized = 0;
    };
    // The list's columns as the main window inserts them: id order, default widths.
    void InsertColumns(const ReportList& list) {
        columns.clear();
        for (const ColumnDef& def : list.Columns()) columns.push_back({def.defaultWidth, def.id});
    }
    std::vector<std::string> ColumnOfRows(int column) const {
        std::vector<std::string> out;
        for (const Row& r : rows) out.push_back(r.texts.at(static_cast<size_t>(column)));
        return out;
    }

    int RowCount() override { return static_cast<int>(rows.size()); }
    int InsertRow(int row, const char* firstText, int image, int param) override {
        ++inserts;
        row = std::clamp(row, 0, RowCount());
        rows.insert(rows.begin() + row,
                    Row{param, std::vector<std::string>(std::max<size_t>(columns.size(), 1)), image});
        rows[static_cast<size_t>(row)].texts[0] = firstText;
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
        for (int row = after + 1; row < RowCount(); ++row)
            if (rows[row].selected) return row;
        return -1;
    }
    void SetRowState(int row, unsigned state, unsigned mask) override {
        for (int r = 0; r < RowCount(); ++r) {
            if (row != -1 && r != row) continue;
            if (mask & kRowSelected) rows[r].selected = (state & kRowSelected) != 0;
            if (mask & state & kRowFocused)
                for (Row& other : rows) other.focused = false;
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
    void SetColumnOrder(const int* order, int count) override {  // the whole order at once, as the control
        for (int i = 0; i < count; ++i) columns.at(static_cast<size_t>(order[i])).position = i;
    }
    void AutoSizeColumn(int column) override { ++columns.at(static_cast<size_t>(column)).autoSized; }
    void SetHeaderImage(int column, int image) override { columns.at(static_cast<size_t>(column)).headerImage = image; }
    void SortRows(RowComparer& comparer) override {
        std::stable_sort(rows.begin(), rows.end(),
                         [&](const Row& a, const Row& b) { return comparer.CompareRows(a.param, b.param) < 0; });
    }

    std::vector<Row> rows;
    std::vector<Column> columns;
    int inserts = 0, textWrites = 0, imageWrites = 0;
};

inline uint32_t Ip(const char* text) {
    uint32_t ip = 0;
    EXPECT_EQ(ParseDottedQuad(text, &ip, 0), 1) << text;
    return ip;
}

inline std::string Dotted(uint32_t ip) {
    char buffer[16];
    FormatDottedQuad(ip, buffer);
    return buffer;
}

// Every row shows exactly its item's texts and icon.
inline void ExpectRowsShowItems(AddressList& list, const FakeReportView& view) {
    ASSERT_EQ(static_cast<int>(view.rows.size()), list.ItemCount());
    char buffer[kTextBufferSize], shown[kTextBufferSize];
    for (const FakeReportView::Row& row : view.rows) {
        const LookupItem* item = list.At(row.param);
        const int at = static_cast<int>(&row - view.rows.data());
        ASSERT_NE(item, nullptr);
        for (int column = 0; column < list.ColumnCount(); ++column) {
            EXPECT_EQ(row.texts[static_cast<size_t>(column)], item->ColumnText(column, buffer)) << column;
            // What a view that asks when it paints is given.
            list.CopyShownText(at, column, shown, sizeof shown);
            EXPECT_EQ(row.texts[static_cast<size_t>(column)], shown) << column;
        }
        EXPECT_EQ(row.image, list.ItemImage(*item)) << row.param;
        EXPECT_EQ(list.ShownImage(at), row.image) << row.param;
    }
    list.CopyShownText(list.RowCount(), 0, shown, 4);  // no such row; a cut text below
    std::string cut = shown;
    if (list.RowCount() > 0) list.CopyShownText(0, ColumnIp, shown, 4);
    EXPECT_EQ(cut + "|" + shown + "|" + std::to_string(list.ShownImage(-1)),
              "|" + (list.RowCount() > 0 ? view.rows[0].texts[ColumnIp].substr(0, 3) : std::string()) + "|-1");
}
