// Report columns, auto size and the "Columns" layout of the result list.

#include "views/column_layout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "fake_report_view.h"
#include "input/address_list.h"
#include "test_ui_strings.h"

namespace {

class ColumnsTest : public ::testing::Test {
  protected:
    ColumnsTest() {
        list.Attach(&view);
        view.InsertColumns(list);
    }
    ColumnLayout Defaults() {
        ColumnLayout layout{};
        for (int i = 0; i < kLayoutColumns; ++i) {
            layout.entries[i].width = static_cast<int16_t>(list.Columns()[i].defaultWidth);
            layout.entries[i].position = static_cast<int16_t>(i);
        }
        return layout;
    }

    TestUiStrings strings;
    FakeReportView view;
    AddressList list;
};

TEST_F(ColumnsTest, VisibleColumnsFollowTheDisplayOrder) {
    std::vector<int> all;
    for (int i = 0; i < 18; ++i) all.push_back(i);
    EXPECT_EQ(list.VisibleColumns(), all);

    view.columns[2].width = 0;   // hidden
    view.columns[5].width = -3;  // as good as hidden
    view.columns[0].position = 4;
    view.columns[4].position = 0;
    view.columns[17].position = -2;  // before the first: counts as 0
    view.columns[1].position = 40;   // beyond the last: counts as the last
    view.columns[3].position = 17;
    // 4 and 17 at 0 (in id order), 0 at 4, the rest at their ids, 1 and 3 at 17.
    const std::vector<int> expected = {4, 17, 0, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 1, 3};
    EXPECT_EQ(list.VisibleColumns(), expected);
    EXPECT_EQ(list.ReportColumns(), expected);

    for (auto& column : view.columns) column.width = 0;
    EXPECT_TRUE(list.VisibleColumns().empty());
}

TEST_F(ColumnsTest, AutoSizeLeavesHiddenColumnsHidden) {
    view.columns[3].width = 0;
    list.AutoSizeColumns();
    for (int i = 0; i < 18; ++i) EXPECT_EQ(view.columns[i].autoSized, i == 3 ? 0 : 1) << i;
}

TEST_F(ColumnsTest, LayoutIsFilledFromTheView) {
    view.columns[10].width = 0;
    view.columns[10].position = 2;
    view.columns[2].position = 10;
    list.FillColumnLayout();
    const ColumnLayout& layout = list.columnLayout;
    EXPECT_EQ(layout.entries[0].width, 50);
    EXPECT_EQ(layout.entries[10].width, 0);
    EXPECT_EQ(layout.entries[10].position, 2);
    EXPECT_EQ(layout.entries[2].position, 10);
    // The setting's bytes: width then position, 16 bits each, little-endian.
    unsigned char bytes[72];
    std::memcpy(bytes, &layout, sizeof bytes);
    EXPECT_EQ(bytes[0], 50);
    EXPECT_EQ(bytes[1], 0);
    EXPECT_EQ(bytes[2], 0);
    EXPECT_EQ(bytes[40 + 2], 2);
    EXPECT_EQ(bytes[4 * 5], 150);
}

TEST_F(ColumnsTest, ApplyingALayout) {
    // Never stored (all zero), or two columns at 0: the defaults stay.
    list.ApplyColumnLayout(ColumnLayout{});
    ColumnLayout twoAtZero = Defaults();
    twoAtZero.entries[1].position = 0;
    twoAtZero.entries[5].width = 7;
    list.ApplyColumnLayout(twoAtZero);
    for (int i = 0; i < 18; ++i) {
        EXPECT_EQ(view.columns[i].width, list.Columns()[i].defaultWidth);
        EXPECT_EQ(view.columns[i].position, i);
    }

    // Out-of-range entries keep their column's defaults; the others apply.
    ColumnLayout layout = Defaults();
    layout.entries[0] = {60, 1};
    layout.entries[1] = {120, 0};
    layout.entries[4] = {2000, 9};
    layout.entries[5] = {0, 5};  // hidden
    layout.entries[6] = {90, 18};
    layout.entries[7] = {90, -4};
    layout.entries[8] = {-5, 8};
    list.ApplyColumnLayout(layout);
    EXPECT_EQ(view.columns[0].width, 60);
    EXPECT_EQ(view.columns[0].position, 1);
    EXPECT_EQ(view.columns[1].width, 120);
    EXPECT_EQ(view.columns[1].position, 0);
    EXPECT_EQ(view.columns[4].width, 80);
    EXPECT_EQ(view.columns[4].position, 4);
    EXPECT_EQ(view.columns[5].width, 0);
    for (int i : {6, 7, 8}) {
        EXPECT_EQ(view.columns[i].width, list.Columns()[i].defaultWidth) << i;
        EXPECT_EQ(view.columns[i].position, i) << i;
    }
    EXPECT_EQ(list.VisibleColumns().front(), 1);
}

}  // namespace
