// The shown columns, auto size, the saved "Columns" layout of the result list
// and the column settings dialog's working copy of it.

#include "views/column_layout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "fake_report_view.h"
#include "input/address_list.h"
#include "program_strings.h"
#include "views/column_settings.h"

namespace {

class ColumnsTest : public ::testing::Test {
  protected:
    ColumnsTest() {
        list.Attach(&view);
        view.InsertColumns(list);
        for (int i = 0; i < kLayoutColumns; ++i) {
            defaultWidths.push_back(list.Columns()[i].defaultWidth);
            defaults.entries[i] = {static_cast<int16_t>(defaultWidths.back()), static_cast<int16_t>(i)};
        }
    }
    std::vector<int> Columns(const std::vector<ColumnSettings::Row>& rows) {
        std::vector<int> columns;
        for (const auto& r : rows) columns.push_back(r.checked ? r.column : -r.column - 1);
        return columns;
    }

    TestUiStrings strings;
    FakeReportView view;
    AddressList list;
    ColumnLayout defaults{};
    std::vector<int> defaultWidths;
};

TEST_F(ColumnsTest, ShownColumnsFollowTheDisplayOrder) {
    // id, width, position; 4 and 17 at 0 (in id order), 0 at 4, 1 and 3 beyond the last.
    const int changes[][3] = {{2, 0, 2}, {5, -3, 5}, {0, 50, 4}, {4, 80, 0}, {17, 150, -2}, {1, 100, 40}, {3, 80, 17}};
    for (const auto& c : changes) view.columns[c[0]] = {c[1], c[2]};
    const std::vector<int> expected = {4, 17, 0, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 1, 3};
    EXPECT_EQ(list.VisibleColumns(), expected);
    EXPECT_EQ(list.ReportColumns(), expected);
    list.AutoSizeColumns();  // leaves hidden columns hidden
    for (int i = 0; i < 18; ++i) EXPECT_EQ(view.columns[i].autoSized, i == 2 || i == 5 ? 0 : 1) << i;
    for (auto& column : view.columns) column.width = 0;
    EXPECT_TRUE(list.VisibleColumns().empty());
    EXPECT_EQ(list.HeaderTextColor(), -1);
}

TEST_F(ColumnsTest, LayoutIsFilledFromTheViewAsWidthAndPositionPairs) {
    view.columns[10] = {0, 2};
    view.columns[2].position = 10;
    list.FillColumnLayout();
    // The setting's bytes: width then position, 16 bits each, little-endian.
    unsigned char bytes[72];
    std::memcpy(bytes, &list.columnLayout, sizeof bytes);
    const int expected[][2] = {{0, 50}, {1, 0}, {2, 0}, {4 * 2 + 2, 10}, {4 * 10, 0}, {4 * 10 + 2, 2}, {4 * 5, 150}};
    for (const auto& e : expected) EXPECT_EQ(bytes[e[0]], e[1]) << e[0];
}

TEST_F(ColumnsTest, ApplyingALayoutTakesOnlyUsableEntries) {
    // Never stored (all zero), or two columns at 0: the defaults stay.
    list.ApplyColumnLayout(ColumnLayout{});
    ColumnLayout twoAtZero = defaults;
    twoAtZero.entries[1].position = 0;
    twoAtZero.entries[5].width = 7;
    list.ApplyColumnLayout(twoAtZero);
    for (int i = 0; i < 18; ++i)
        EXPECT_EQ(view.columns[i].width * 100 + view.columns[i].position, defaultWidths[i] * 100 + i);

    // Out-of-range entries keep their column's defaults; the others apply.
    ColumnLayout layout = defaults;
    const ColumnLayoutEntry entries[][2] = {// given, applied
                                            {{60, 1}, {60, 1}}, {{120, 0}, {120, 0}}, {{2000, 9}, {80, 4}},
                                            {{0, 5}, {0, 5}},   {{90, 18}, {100, 6}}, {{90, -4}, {100, 7}},
                                            {{-5, 8}, {80, 8}}};
    const int ids[] = {0, 1, 4, 5, 6, 7, 8};
    for (int i = 0; i < 7; ++i) layout.entries[ids[i]] = entries[i][0];
    list.ApplyColumnLayout(layout);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(view.columns[ids[i]].width, entries[i][1].width) << ids[i];
        EXPECT_EQ(view.columns[ids[i]].position, entries[i][1].position) << ids[i];
    }
}

TEST_F(ColumnsTest, SettingsRowsFollowTheDisplayOrderAndOkGivesPositionsByRow) {
    ColumnLayout layout = defaults;
    layout.entries[0].position = 10;  // columns 0 and 10 swapped, 10 hidden
    layout.entries[10] = {0, 0};
    layout.entries[3].position = 40;  // impossible positions still give a row
    layout.entries[4].position = -2;
    layout.entries[5].width = 2400;  // wider than a layout applies; kept as it is
    ColumnSettings settings(layout, defaultWidths);
    auto rows = settings.FillRows();
    EXPECT_EQ(Columns(rows), (std::vector<int>{-11, 1, 2, 5, 6, 7, 8, 9, 0, 11, 12, 13, 14, 15, 16, 17, 3, 4}));
    EXPECT_EQ(settings.Width(10), 250);  // a hidden column gets its default width
    rows[0].checked = true;              // shown again and confirmed
    std::swap(rows[1], rows[2]);
    rows[4].checked = false;
    settings.Accept(rows);
    const ColumnLayoutEntry expected[] = {{250, 0}, {100, 2}, {80, 1}, {2400, 3}, {0, 4}};
    const int ids[] = {10, 1, 2, 5, 6};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(settings.layout.entries[ids[i]].width, expected[i].width) << ids[i];
        EXPECT_EQ(settings.layout.entries[ids[i]].position, expected[i].position) << ids[i];
    }
    for (auto& r : rows) r.checked = false;
    settings.Accept(rows);
    for (const ColumnLayoutEntry& e : settings.layout.entries) EXPECT_EQ(e.width, 0);

    settings.Reset();  // "Default": id order, default widths
    rows = settings.FillRows();
    for (int c = 0; c < kLayoutColumns; ++c) {
        EXPECT_EQ(Columns(rows)[c], c);
        EXPECT_EQ(settings.Width(c), defaultWidths[c]);
    }
}

TEST_F(ColumnsTest, SettingsWidthFieldTakesOneTo999) {
    ColumnSettings settings(defaults, defaultWidths);
    const std::pair<const char*, int> texts[] = {{"0", 80}, {"", 80},     {"1000", 80}, {"12a", 80},
                                                 {"1", 1},  {"999", 999}, {"007", 7}};
    for (const auto& [text, width] : texts) {
        EXPECT_EQ(settings.SetWidthText(4, text), width != 80) << text;
        EXPECT_EQ(settings.Width(4), width) << text;
    }
    EXPECT_FALSE(settings.SetWidthText(18, "5"));
    EXPECT_FALSE(settings.SetWidthText(-1, "5"));
}

}  // namespace
