// The result list through the address list and a list view in memory:
// sorting, finding, rows and their incremental refresh, the shown columns and
// the saved "Columns" layout with the settings dialog's working copy of it.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "list_test_support.h"
#include "program_strings.h"
#include "base/options.h"
#include "views/column_settings.h"
#include "views/result_columns.h"
#include "views/text_match.h"

namespace {

using Strings = std::vector<std::string>;
using Column = FakeReportView::Column;

class ResultListTest : public ::testing::Test {
  protected:
    ResultListTest() : list(&options) {
        options.ResolveIPAddr = 0;
        list.Attach(&view);
        view.InsertColumns(list);
        for (int i = 0; i < kLayoutColumns; ++i) {
            widths.push_back(list.Columns()[i].defaultWidth);
            defaults.entries[i] = {static_cast<int16_t>(widths.back()), static_cast<int16_t>(i)};
        }
    }
    void Add(const char* text, bool rebuild = true) {
        options.addressText.SetText(text);
        list.AddAddressesFromText();
        if (rebuild) list.Rebuild(true);
    }

    // Width and position of each column of the view, or of a layout.
    std::string Shown() {
        ColumnLayout layout{};
        for (int i = 0; i < kLayoutColumns; ++i)
            layout.entries[i] = {int16_t(view.columns[i].width), int16_t(view.columns[i].position)};
        return Text(layout);
    }
    static std::string Text(const ColumnLayout& layout) {
        std::string out;
        for (const auto& e : layout.entries) out += std::to_string(e.width) + ":" + std::to_string(e.position) + " ";
        return out;
    }

    TestUiStrings strings;
    Options options;
    FakeReportView view;
    AddressList list;
    ColumnLayout defaults{};
    std::vector<int> widths;
};

TEST_F(ResultListTest, SortingByOrderIsNumericByOtherColumnsTextualAndArrowsFollow) {
    Add("11.0.0.1 9.0.0.1 100.0.0.1 20.0.0.1 3.0.0.1 12.0.0.1 4.0.0.1 8.0.0.1 5.0.0.1 6.0.0.1");
    EXPECT_EQ(view.ColumnOfRows(ColumnOrder), (Strings{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
    const struct {
        SortState state;
        bool keep;
        SortState persisted;
        const char* first;
    } steps[] = {
        {ColumnIp, false, ColumnIp, "100.0.0.1"},
        {ColumnIp, false, ColumnIp | kSortDescending, "9.0.0.1"},  // the same header again
        {ColumnIp, false, ColumnIp, "100.0.0.1"},
        {ColumnOrder | kSortDescending, true, ColumnOrder | kSortDescending, "6.0.0.1"},
        {ColumnIp, false, ColumnIp, "100.0.0.1"},  // another column starts ascending
    };
    for (const auto& s : steps) {
        list.Sort(s.state, s.keep);
        EXPECT_EQ(list.persistedSort, s.persisted);
        EXPECT_EQ(view.ColumnOfRows(ColumnIp).front(), s.first);
        const int sorted = static_cast<int>(s.persisted & ~kSortDescending);
        for (int column = 0; column < 18; ++column)
            EXPECT_EQ(view.columns[column].headerImage, column != sorted ? -1 : sorted != s.persisted) << column;
    }
    EXPECT_EQ(view.ColumnOfRows(ColumnIp), (Strings{"100.0.0.1", "11.0.0.1", "12.0.0.1", "20.0.0.1", "3.0.0.1",
                                                    "4.0.0.1", "5.0.0.1", "6.0.0.1", "8.0.0.1", "9.0.0.1"}));
    ExpectRowsShowItems(list, view);
    EXPECT_EQ(list.RowOfItem(list.FindAddress(Ip("100.0.0.1"))), 0);
    EXPECT_EQ(list.RowOfItem(0), 1);  // 11.0.0.1, the first item, as the sort left it
    list.Sort(0xFFF, true);           // a stored state naming no column: no arrow
    for (const auto& column : view.columns) EXPECT_EQ(column.headerImage, -1);
}

TEST_F(ResultListTest, TextComparisonAndFind) {
    for (const auto& [a, b] :
         {std::pair{"10.0.0.1", "9.0.0.1"}, {"_x", "Ax"}, {"z", "\xB0"}, {"ab", "abc"}, {"Y", "z"}, {"a", "B"}})
        EXPECT_LT(CompareNoCase(a, b), 0) << a << " " << b;
    EXPECT_EQ(CompareNoCase("ARIN-AZ", "arin-az"), 0);

    Add("198.51.100.1 198.51.100.2");
    list.At(0)->record.whoisSource = 1;  // "ARIN"
    std::strcpy(list.At(1)->record.ownerName, "ARIN Test");
    view.columns[ColumnOwnerName].width = 0;  // hidden columns are searched too
    const struct {
        const char* text;
        bool wholeWord, matchCase, first, second;
    } finds[] = {{"ARIN", true, false, true, false},   {"arin", true, false, true, false},
                 {"arin", true, true, false, false},   {"RIN T", false, true, false, true},
                 {"rin t", false, true, false, false}, {"rin t", false, false, false, true},
                 {"", false, false, true, true}};
    for (const auto& f : finds) {
        const FindRequest request{f.text, true, f.wholeWord, f.matchCase};
        EXPECT_EQ(list.MatchesFind(*list.At(0), request), f.first) << f.text;
        EXPECT_EQ(list.MatchesFind(*list.At(1), request), f.second) << f.text;
    }
}

TEST_F(ResultListTest, FindNextWrapsAroundOnce) {
    Add("198.51.100.1 198.51.100.2 198.51.100.3 198.51.100.4");
    const struct {
        const char* text;
        bool down;
        std::vector<int> selectedBefore;
        int selectedAfter;  // -1: no match, the selection stays
    } steps[] = {
        {"198.51.100.", true, {}, 0},                         // nothing selected: from row 0
        {"198.51.100.", true, {0}, 1}, {".4", true, {3}, 3},  // past the end, round to the same row
        {".2", false, {0}, 1},                                // upwards from row 0 wraps to the last row
        {"nowhere", true, {0, 2}, -1},
    };
    for (const auto& s : steps) {
        list.SetRowState(-1, 0, kRowSelected);
        for (int row : s.selectedBefore) list.SetRowState(row, kRowSelected, kRowSelected);
        EXPECT_EQ(list.FindNext(FindRequest{s.text, s.down}), s.selectedAfter >= 0) << s.text;
        EXPECT_EQ(view.NextSelectedRow(-1), std::max(s.selectedAfter, 0)) << s.text;
        EXPECT_EQ(list.SingleSelectedItem(), list.ItemOfRow(s.selectedAfter)) << s.text;
    }
    EXPECT_TRUE(view.rows[1].focused);
    list.Clear();
    list.Rebuild(true);
    EXPECT_FALSE(list.FindNext(FindRequest{}));
}

TEST_F(ResultListTest, RebuildAddsRowsKeepsRowsAndDropsVanishedOnes) {
    list.persistedSort = ColumnIp | kSortDescending;
    Add("198.51.100.1 198.51.100.3 198.51.100.2");
    Add("198.51.100.9 198.51.100.0", false);
    list.Rebuild(false);  // without re-sorting new rows come at the end
    EXPECT_EQ(view.ColumnOfRows(ColumnIp),
              (Strings{"198.51.100.3", "198.51.100.2", "198.51.100.1", "198.51.100.9", "198.51.100.0"}));
    EXPECT_EQ(view.inserts, 5);
    ExpectRowsShowItems(list, view);

    list.Clear();
    Add("203.0.113.5 203.0.113.6", false);  // a new run over fewer items
    list.Rebuild(false);
    EXPECT_EQ(view.ColumnOfRows(ColumnIp), (Strings{"203.0.113.6", "203.0.113.5"}));
    list.SetItemStatus(0, LookupStatus::Failed);  // a kept row still knows where it is
    list.RefreshRows();
    ExpectRowsShowItems(list, view);
    list.selectFirstRowAfterRebuild = true;
    list.Rebuild(true);
    EXPECT_TRUE(view.rows[0].selected && view.rows[0].focused);
    list.DeleteAllRows();
    EXPECT_EQ(list.At(0)->image, -1);
    list.Rebuild(false);
    ExpectRowsShowItems(list, view);
}

TEST_F(ResultListTest, RefreshTouchesOnlyTheCellsThatChanged) {
    Add("198.51.100.1 198.51.100.2 198.51.100.3");
    list.RefreshRows();
    const int texts = view.textWrites, images = view.imageWrites;
    list.RefreshAllRows();
    EXPECT_EQ(view.textWrites, texts);  // nothing changed, nothing written
    list.SetItemStatus(1, LookupStatus::Succeeded);
    list.RefreshRows();
    list.RefreshAllRows();
    EXPECT_EQ(view.textWrites, texts + 1);  // the status cell
    EXPECT_EQ(view.imageWrites, images + 1);
    EXPECT_EQ(list.PendingChanges(), 0u);
    std::strcpy(list.At(2)->record.ownerName, "Example Org");
    list.At(2)->record.whoisSource = 1;
    list.SetItemStatus(2, LookupStatus::Failed);
    list.SetResolvedName(Ip("198.51.100.1"), "one.example.net");
    list.RefreshRows();
    EXPECT_EQ(view.textWrites, texts + 5);  // status, owner name, WHOIS source; the resolved name
    ExpectRowsShowItems(list, view);
}

// Items change at random, rows are sorted and refreshed: whatever happens,
// every row shows exactly its item's texts and icon after a refresh.
TEST_F(ResultListTest, RowsAlwaysShowTheirItems) {
    std::mt19937 random(11);
    std::string text;
    for (int i = 0; i < 120; ++i) text += "203.0." + std::to_string(i % 7) + "." + std::to_string(i) + " ";
    Add(text.c_str());
    const char* words[] = {"", "Example", "EXAMPLE", "other", "A,B", "x"};
    for (int step = 0; step < 400; ++step) {
        const int index = static_cast<int>(random() % static_cast<unsigned>(list.ItemCount()));
        LookupItem& item = *list.At(index);
        const unsigned what = random() % 7;
        if (what == 0) list.SetItemStatus(index, static_cast<LookupStatus>(random() % 6));
        if (what == 1) std::strcpy(item.record.ownerName, words[random() % 6]);
        if (what == 2) item.record.whoisSource = static_cast<int32_t>(random() % 7);
        if (what == 1 || what == 2) list.MarkItemChanged(index);
        if (what == 3) list.SetResolvedName(item.ip, words[random() % 6]);
        if (what == 4) list.Sort(static_cast<SortState>(random() % 19) | (random() % 2 ? kSortDescending : 0), true);
        if (what == 5) Add(("198.51.100." + std::to_string(random() % 256)).c_str(), false);
        if (what == 5) list.Rebuild(random() % 2 == 0);
        if (what == 6) list.RefreshRows();
        if (what == 6) ExpectRowsShowItems(list, view);
    }
}

TEST_F(ResultListTest, ShownColumnsFollowTheDisplayOrderAndAreSavedAsWidthAndPosition) {
    // 4 and 17 at 0 (in id order), 0 at 4, 1 and 3 beyond the last; 2 and 5 hidden.
    const std::vector<Column> columns = {{50, 4}, {100, 40}, {0, 2}, {80, 17}, {80, 0}, {-3, 5}, {100, 6}};
    std::copy(columns.begin(), columns.end(), view.columns.begin());
    view.columns[17].position = -2;
    const std::vector<int> expected = {4, 17, 0, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 1, 3};
    EXPECT_EQ(list.VisibleColumns(), expected);
    EXPECT_EQ(list.ReportColumns(), expected);
    list.AutoSizeColumns();  // leaves hidden columns hidden
    for (int i = 0; i < 18; ++i) EXPECT_EQ(view.columns[i].autoSized, i == 2 || i == 5 ? 0 : 1) << i;
    EXPECT_EQ(list.HeaderTextColor(), -1);
    // The setting's bytes: width then position, 16 bits each, little-endian.
    list.FillColumnLayout();
    unsigned char bytes[72];
    std::memcpy(bytes, &list.columnLayout, sizeof bytes);
    EXPECT_EQ(std::vector<int>(bytes, bytes + 28),
              (std::vector<int>{50, 0, 4,  0, 100, 0, 40,  0,   0, 0, 2,   0, 80, 0,
                                17, 0, 80, 0, 0,   0, 253, 255, 5, 0, 100, 0, 6,  0}));
}

TEST_F(ResultListTest, ApplyingALayoutTakesOnlyUsableEntries) {
    // Never stored (all zero), or two columns at 0: the defaults stay.
    ColumnLayout twoAtZero = defaults;
    twoAtZero.entries[1] = {7, 0};
    for (const ColumnLayout& layout : {ColumnLayout{}, twoAtZero}) {
        list.ApplyColumnLayout(layout);
        EXPECT_EQ(Shown(), Text(defaults));
    }
    // Out-of-range entries keep their column's width and place; the others apply, as one whole order in which
    // equal positions follow column id order.
    ColumnLayout layout = defaults;
    const ColumnLayoutEntry given[] = {{60, 2},  {120, 0}, {0, 1},   {2000, 9}, {90, 18},
                                       {90, -4}, {-5, 8},  {100, 7}, {70, 6}};
    std::copy(std::begin(given), std::end(given), layout.entries);
    list.ApplyColumnLayout(layout);
    EXPECT_EQ(Shown().rfind("60:2 120:0 0:1 100:3 80:4 150:5 100:6 100:8 70:7 140:9 ", 0), 0u);
}

TEST_F(ResultListTest, ColumnSettingsRowsFollowTheDisplayOrderAndOkGivesPositionsByRow) {
    ColumnLayout layout = defaults;
    layout.entries[0].position = 10;  // columns 0 and 10 swapped, 10 hidden
    layout.entries[10] = {0, 0};
    layout.entries[3].position = 40;  // impossible positions still give a row
    layout.entries[4].position = -2;
    layout.entries[5].width = 2400;  // wider than a layout applies; kept as it is
    ColumnSettings settings(layout, widths);
    auto rows = settings.FillRows();
    const auto columns = [&] {
        std::vector<int> out;
        for (const auto& r : rows) out.push_back(r.checked ? r.column : -r.column - 1);
        return out;
    };
    EXPECT_EQ(columns(), (std::vector<int>{-11, 1, 2, 5, 6, 7, 8, 9, 0, 11, 12, 13, 14, 15, 16, 17, 3, 4}));
    rows[0].checked = true;  // shown again and confirmed: with its default width
    std::swap(rows[0], rows[1]);
    rows[4].checked = false;
    settings.Accept(rows);
    EXPECT_EQ(Text(settings.layout).rfind("50:8 100:0 80:2 100:16 80:17 2400:3 0:4 100:5 80:6 140:7 250:1 ", 0), 0u);

    settings.Reset();  // "Default": id order, default widths
    rows = settings.FillRows();
    EXPECT_EQ(Text(settings.layout), Text(defaults));
    EXPECT_EQ(columns(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17}));

    const std::pair<const char*, int> texts[] = {{"0", 80}, {"", 80},     {"1000", 80}, {"12a", 80},
                                                 {"1", 1},  {"999", 999}, {"007", 7}};
    for (const auto& [text, width] : texts) {
        EXPECT_EQ(settings.SetWidthText(4, text), width != 80) << text;  // the width field takes 1 to 999
        EXPECT_EQ(settings.Width(4), width) << text;
    }
    EXPECT_FALSE(settings.SetWidthText(18, "5") || settings.SetWidthText(-1, "5"));
}

}  // namespace
