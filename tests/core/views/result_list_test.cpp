// The result list: column texts, sorting, rows, incremental refresh and
// searching, driven through the address list and a list view in memory.

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "input/address_list.h"
#include "list_test_support.h"
#include "program_strings.h"
#include "resources/resource_ids.h"
#include "shell/options.h"
#include "views/result_columns.h"
#include "views/text_match.h"

namespace {

using Strings = std::vector<std::string>;

class ResultListTest : public ::testing::Test {
  protected:
    ResultListTest() : list(&options) {
        options.ResolveIPAddr = 0;
        list.Attach(&view);
        view.InsertColumns(list);
    }
    void Add(const char* text, bool rebuild = true) {
        options.addressText.SetText(text);
        list.AddAddressesFromText();
        if (rebuild) list.Rebuild(true);
    }
    std::string Text(int index, int column) {
        char buffer[kTextBufferSize];
        return list.At(index)->ColumnText(column, buffer);
    }

    TestUiStrings strings;
    Options options;
    FakeReportView view;
    AddressList list;
};

// Values outside the tables give no text rather than a stray one.
TEST_F(ResultListTest, StatusAndSourceTextsAtTheEdgesOfTheirTables) {
    Add("198.51.100.7");
    LookupItem& item = *list.At(0);
    const std::pair<int, int> statuses[] = {{0, 0}, {1, IDS_STATUS_WAITING}, {5, IDS_STATUS_PAUSED}, {6, 0}};
    for (const auto& [status, id] : statuses) {
        item.status = static_cast<LookupStatus>(status);
        EXPECT_EQ(Text(0, ColumnStatus), id ? strings.builtin[id] : "") << status;
    }
    const std::pair<int, const char*> sources[] = {{0, ""}, {1, "ARIN"}, {5, "AfriNIC"}, {6, ""}};
    for (const auto& [source, text] : sources) {
        item.record.whoisSource = source;
        EXPECT_EQ(Text(0, ColumnWhoisSource), text) << source;
    }
    EXPECT_EQ(Text(0, 18), "");
    EXPECT_EQ(Text(0, -1), "");
}

TEST_F(ResultListTest, SortingByOrderIsNumericByOtherColumnsTextualAndArrowsFollow) {
    Add("11.0.0.1 9.0.0.1 100.0.0.1 20.0.0.1 3.0.0.1 12.0.0.1 4.0.0.1 8.0.0.1 5.0.0.1 6.0.0.1");
    EXPECT_EQ(view.ColumnOfRows(ColumnOrder), (Strings{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
    struct Step {
        SortState state;
        bool keep;
        SortState persisted;
        const char* first;
        int arrow;  // header image of the sorted column
    };
    const Step steps[] = {
        {ColumnIp, false, ColumnIp, "100.0.0.1", 0},
        {ColumnIp, false, ColumnIp | kSortDescending, "9.0.0.1", 1},  // the same header again
        {ColumnIp, false, ColumnIp, "100.0.0.1", 0},
        {ColumnOrder | kSortDescending, true, ColumnOrder | kSortDescending, "6.0.0.1", 1},
        {ColumnIp, false, ColumnIp, "100.0.0.1", 0},  // another column starts ascending
    };
    for (const Step& s : steps) {
        list.Sort(s.state, s.keep);
        EXPECT_EQ(list.persistedSort, s.persisted);
        EXPECT_EQ(view.ColumnOfRows(ColumnIp).front(), s.first);
        for (int column = 0; column < 18; ++column) {
            EXPECT_EQ(view.columns[column].headerImage, column == (s.state & ~kSortDescending) ? s.arrow : -1);
        }
    }
    EXPECT_EQ(view.ColumnOfRows(ColumnIp), (Strings{"100.0.0.1", "11.0.0.1", "12.0.0.1", "20.0.0.1", "3.0.0.1",
                                                    "4.0.0.1", "5.0.0.1", "6.0.0.1", "8.0.0.1", "9.0.0.1"}));
    ExpectRowsShowItems(list, view);
    EXPECT_EQ(list.RowOfItem(list.FindAddress(Ip("100.0.0.1"))), 0);
    list.Sort(0xFFF, true);  // a stored state naming no column: no arrow
    for (const auto& column : view.columns) EXPECT_EQ(column.headerImage, -1);
}

TEST_F(ResultListTest, TextComparisonAndFind) {
    const std::pair<const char*, const char*> ordered[] = {{"10.0.0.1", "9.0.0.1"}, {"_x", "Ax"}, {"z", "\xB0"},
                                                           {"ab", "abc"},           {"Y", "z"},   {"a", "B"}};
    for (const auto& [a, b] : ordered) EXPECT_LT(CompareNoCase(a, b), 0) << a << " " << b;
    EXPECT_EQ(CompareNoCase("ARIN-AZ", "arin-az"), 0);

    Add("198.51.100.1 198.51.100.2");
    list.At(0)->record.whoisSource = 1;  // "ARIN"
    std::strcpy(list.At(1)->record.ownerName, "ARIN Test");
    view.columns[ColumnOwnerName].width = 0;  // hidden columns are searched too
    struct Find {
        const char* text;
        bool wholeWord, matchCase;
        bool first, second;
    };
    const Find finds[] = {{"ARIN", true, false, true, false},   {"arin", true, false, true, false},
                          {"arin", true, true, false, false},   {"RIN T", false, true, false, true},
                          {"rin t", false, true, false, false}, {"rin t", false, false, false, true},
                          {"", false, false, true, true}};
    for (const Find& f : finds) {
        FindRequest request;
        request.text = f.text;
        request.wholeWord = f.wholeWord;
        request.matchCase = f.matchCase;
        EXPECT_EQ(list.MatchesFind(*list.At(0), request), f.first) << f.text;
        EXPECT_EQ(list.MatchesFind(*list.At(1), request), f.second) << f.text;
    }
}

TEST_F(ResultListTest, FindNextWrapsAroundOnce) {
    Add("198.51.100.1 198.51.100.2 198.51.100.3 198.51.100.4");
    struct Step {
        const char* text;
        bool down;
        std::vector<int> selectedBefore;
        bool found;
        int selectedAfter;  // the first selected row
    };
    const Step steps[] = {
        {"198.51.100.", true, {}, true, 0},   // nothing selected: from row 0
        {"198.51.100.", true, {0}, true, 1},  //
        {".4", true, {3}, true, 3},           // past the end, round to the same row
        {".2", false, {0}, true, 1},          // upwards from row 0 wraps to the last row
        {"nowhere", true, {0, 2}, false, 0},  // no match: the selection stays
    };
    for (const Step& s : steps) {
        list.SetRowState(-1, 0, kRowSelected);
        for (int row : s.selectedBefore) list.SetRowState(row, kRowSelected, kRowSelected);
        FindRequest request;
        request.text = s.text;
        request.down = s.down;
        EXPECT_EQ(list.FindNext(request), s.found) << s.text;
        EXPECT_EQ(view.NextSelectedRow(-1), s.selectedAfter) << s.text;
        EXPECT_EQ(list.SelectedCount(), s.found ? 1 : 2) << s.text;
        EXPECT_EQ(list.SingleSelectedItem(), s.found ? list.ItemOfRow(s.selectedAfter) : nullptr);
    }
    EXPECT_TRUE(view.rows[1].focused);
    list.Clear();
    list.Rebuild(true);
    EXPECT_FALSE(list.FindNext(FindRequest{}));
}

TEST_F(ResultListTest, RebuildAddsRowsKeepsRowsAndDropsVanishedOnes) {
    list.persistedSort = ColumnIp | kSortDescending;
    Add("198.51.100.1 198.51.100.3 198.51.100.2");
    EXPECT_EQ(view.ColumnOfRows(ColumnIp), (Strings{"198.51.100.3", "198.51.100.2", "198.51.100.1"}));
    Add("198.51.100.9 198.51.100.0", false);
    list.Rebuild(false);  // without re-sorting new rows come at the end
    EXPECT_EQ(view.ColumnOfRows(ColumnIp),
              (Strings{"198.51.100.3", "198.51.100.2", "198.51.100.1", "198.51.100.9", "198.51.100.0"}));
    EXPECT_EQ(view.inserts, 5);
    ExpectRowsShowItems(list, view);

    list.Clear();
    Add("203.0.113.5 203.0.113.6");  // a new run over fewer items
    EXPECT_EQ(view.ColumnOfRows(ColumnIp), (Strings{"203.0.113.6", "203.0.113.5"}));
    ExpectRowsShowItems(list, view);
    list.selectFirstRowAfterRebuild = true;
    list.Rebuild(true);
    EXPECT_TRUE(view.rows[0].selected && view.rows[0].focused);

    list.DeleteAllRows();
    EXPECT_EQ(list.RowCount(), 0);
    EXPECT_EQ(list.At(0)->image, -1);
    list.Rebuild(false);
    ExpectRowsShowItems(list, view);
}

TEST_F(ResultListTest, RefreshTouchesOnlyTheCellsThatChanged) {
    Add("198.51.100.1 198.51.100.2 198.51.100.3");
    list.RefreshRows();
    const int texts = view.textWrites, images = view.imageWrites;
    list.RefreshRows();
    list.RefreshAllRows();
    EXPECT_EQ(view.textWrites, texts);  // nothing changed, nothing written
    EXPECT_EQ(view.imageWrites, images);

    list.SetItemStatus(1, LookupStatus::Succeeded);
    list.RefreshRows();
    EXPECT_EQ(view.textWrites, texts + 1);  // the status cell
    EXPECT_EQ(view.imageWrites, images + 1);
    EXPECT_EQ(view.rows[1].image, 1);
    EXPECT_EQ(list.PendingChanges(), 0u);

    std::strcpy(list.At(2)->record.ownerName, "Example Org");
    list.At(2)->record.whoisSource = 1;
    list.SetItemStatus(2, LookupStatus::Failed);
    list.RefreshRows();
    EXPECT_EQ(view.textWrites, texts + 4);  // status, owner name, WHOIS source
    list.SetResolvedName(Ip("198.51.100.1"), "one.example.net");
    list.RefreshRows();
    EXPECT_EQ(view.textWrites, texts + 5);
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
        switch (random() % 7) {
            case 0:
                list.SetItemStatus(index, static_cast<LookupStatus>(random() % 6));
                break;
            case 1:
                std::strcpy(item.record.ownerName, words[random() % 6]);
                list.MarkItemChanged(index);
                break;
            case 2:
                item.record.allocated = static_cast<int32_t>(random() % 3);
                item.record.whoisSource = static_cast<int32_t>(random() % 7);
                list.MarkItemChanged(index);
                break;
            case 3:
                list.SetResolvedName(item.ip, words[random() % 6]);
                break;
            case 4:
                list.Sort(static_cast<SortState>(random() % 19) | (random() % 2 ? kSortDescending : 0), true);
                break;
            case 5:
                Add(("198.51.100." + std::to_string(random() % 256)).c_str(), false);
                list.Rebuild(random() % 2 == 0);
                break;
            default:
                list.RefreshRows();
                ExpectRowsShowItems(list, view);
                break;
        }
    }
    list.RefreshRows();
    ExpectRowsShowItems(list, view);
}

}  // namespace
