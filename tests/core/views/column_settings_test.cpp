// The column settings dialog's working layout: rows, defaults, the width
// field and what OK makes of the rows.
#include <gtest/gtest.h>

#include <vector>

#include "views/column_settings.h"

namespace {

const std::vector<int> kDefaults = {50,  100, 80,  100, 80,  150, 100, 100, 80,
                                    140, 250, 130, 130, 150, 150, 120, 120, 150};

ColumnLayout DefaultLayout() {
    ColumnLayout layout = {};
    for (int c = 0; c < kLayoutColumns; ++c)
        layout.entries[c] = {static_cast<int16_t>(kDefaults[c]), static_cast<int16_t>(c)};
    return layout;
}

std::vector<int> RowColumns(const std::vector<ColumnSettings::Row>& rows) {
    std::vector<int> columns;
    for (const auto& r : rows) columns.push_back(r.column);
    return columns;
}

}  // namespace

TEST(ColumnSettings, RowsFollowTheDisplayOrderAndHiddenColumnsGetTheirDefaultWidth) {
    ColumnLayout layout = DefaultLayout();
    // Columns 0 and 10 swapped; column 10 ("地址") hidden.
    layout.entries[0].position = 10;
    layout.entries[10] = {0, 0};
    ColumnSettings settings(layout, kDefaults);
    const auto rows = settings.FillRows();
    ASSERT_EQ(rows.size(), 18u);
    EXPECT_EQ(rows[0].column, 10);
    EXPECT_FALSE(rows[0].checked);
    EXPECT_EQ(rows[10].column, 0);
    EXPECT_TRUE(rows[10].checked);
    EXPECT_EQ(settings.Width(10), 250);
    // Shown again and confirmed, it comes back with that width.
    auto confirmed = rows;
    confirmed[0].checked = true;
    settings.Accept(confirmed);
    EXPECT_EQ(settings.layout.entries[10].width, 250);
    EXPECT_EQ(settings.layout.entries[10].position, 0);
}

TEST(ColumnSettings, OkGivesPositionsByRowAndHidesUncheckedRows) {
    ColumnLayout layout = DefaultLayout();
    layout.entries[5].width = 2400;  // wider than a layout applies; kept as it is
    ColumnSettings settings(layout, kDefaults);
    auto rows = settings.FillRows();
    std::swap(rows[0], rows[1]);
    rows[2].checked = false;
    settings.Accept(rows);
    EXPECT_EQ(settings.layout.entries[1].position, 0);
    EXPECT_EQ(settings.layout.entries[0].position, 1);
    EXPECT_EQ(settings.layout.entries[2].width, 0);
    EXPECT_EQ(settings.layout.entries[2].position, 2);
    EXPECT_EQ(settings.layout.entries[5].width, 2400);
    // Every column hidden.
    for (auto& r : rows) r.checked = false;
    settings.Accept(rows);
    for (const ColumnLayoutEntry& e : settings.layout.entries) EXPECT_EQ(e.width, 0);
}

TEST(ColumnSettings, DefaultRestoresIdOrderAndDefaultWidths) {
    ColumnLayout layout = DefaultLayout();
    for (int c = 0; c < kLayoutColumns; ++c)
        layout.entries[c] = {static_cast<int16_t>(c == 3 ? 0 : 7), static_cast<int16_t>(17 - c)};
    ColumnSettings settings(layout, kDefaults);
    EXPECT_EQ(RowColumns(settings.FillRows()).front(), 17);
    settings.Reset();
    const auto rows = settings.FillRows();
    for (int c = 0; c < kLayoutColumns; ++c) {
        EXPECT_EQ(rows[static_cast<size_t>(c)].column, c);
        EXPECT_TRUE(rows[static_cast<size_t>(c)].checked);
        EXPECT_EQ(settings.Width(c), kDefaults[static_cast<size_t>(c)]);
    }
}

TEST(ColumnSettings, WidthFieldTakesOneTo999) {
    ColumnSettings settings(DefaultLayout(), kDefaults);
    EXPECT_FALSE(settings.SetWidthText(4, "0"));
    EXPECT_FALSE(settings.SetWidthText(4, ""));
    EXPECT_FALSE(settings.SetWidthText(4, "1000"));
    EXPECT_FALSE(settings.SetWidthText(4, "12a"));
    EXPECT_FALSE(settings.SetWidthText(18, "5"));
    EXPECT_EQ(settings.Width(4), 80);
    EXPECT_TRUE(settings.SetWidthText(4, "1"));
    EXPECT_EQ(settings.Width(4), 1);
    EXPECT_TRUE(settings.SetWidthText(4, "999"));
    EXPECT_EQ(settings.Width(4), 999);
    EXPECT_TRUE(settings.SetWidthText(4, "007"));
    EXPECT_EQ(settings.Width(4), 7);
}

TEST(ColumnSettings, ImpossiblePositionsStillGiveEveryColumnARow) {
    ColumnLayout layout = DefaultLayout();
    layout.entries[3].position = 40;
    layout.entries[4].position = -2;
    ColumnSettings settings(layout, kDefaults);
    const auto columns = RowColumns(settings.FillRows());
    ASSERT_EQ(columns.size(), 18u);
    EXPECT_EQ(columns[16], 3);
    EXPECT_EQ(columns[17], 4);
}
