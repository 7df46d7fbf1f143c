// The result list: column texts, sorting, rows, refreshing and searching,
// driven through the address list and a list view in memory.

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "input/address_list.h"
#include "list_test_support.h"
#include "base/options.h"
#include "test_ui_strings.h"
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
    void Add(const char* text) {
        options.addressText.SetText(text);
        list.AddAddressesFromText();
    }
    std::string Text(int index, int column) {
        char buffer[kTextBufferSize];
        return list.At(index)->ColumnText(column, buffer);
    }
    void SetField(int index, char* field, const char* value) {
        std::strcpy(field, value);
        list.MarkItemChanged(index);
    }

    TestUiStrings strings;
    Options options;
    FakeReportView view;
    AddressList list;
};

TEST_F(ResultListTest, ColumnTable) {
    ASSERT_EQ(list.ColumnCount(), 18);
    for (int i = 0; i < 18; ++i) EXPECT_EQ(list.Columns()[i].id, i);
    EXPECT_EQ(list.Columns()[ColumnAddress].defaultWidth, 250);
    EXPECT_EQ(list.Columns()[ColumnAllocated].reportWidth, 10);
    EXPECT_STREQ(list.Columns()[2].header, strings.builtin[1012].c_str());
    EXPECT_STREQ(list.Columns()[15].header, "Whois \xC0\xB4\xD4\xB4");
    EXPECT_STREQ(list.ReportTitle(), "IP \xB5\xD8\xD6\xB7\xB1\xA8\xB8\xE6");
}

TEST_F(ResultListTest, TranslatedHeadersKeepTheirRawText) {
    strings.translated[1002] = "IP address";
    strings.translated[8] = "Report";
    ResetUiStringCache();
    list.Attach(&view);
    EXPECT_STREQ(list.Columns()[1].header, "IP address");
    EXPECT_STREQ(list.Columns()[1].rawHeader, "IP \xB5\xD8\xD6\xB7");
    EXPECT_STREQ(list.ReportTitle(), "Report");
    EXPECT_STREQ(list.ReportTitleRaw(), "IP \xB5\xD8\xD6\xB7\xB1\xA8\xB8\xE6");
}

TEST_F(ResultListTest, ColumnTextsOfAnItemWithoutAnswer) {
    Add("198.51.100.7");
    EXPECT_EQ(Text(0, ColumnOrder), "1");
    EXPECT_EQ(Text(0, ColumnIp), "198.51.100.7");
    EXPECT_EQ(Text(0, ColumnStatus), strings.builtin[521]);
    EXPECT_EQ(Text(0, ColumnFromIp), "");
    EXPECT_EQ(Text(0, ColumnToIp), "");
    EXPECT_EQ(Text(0, ColumnWhoisSource), "");
    EXPECT_EQ(Text(0, ColumnAllocated), strings.builtin[9]);  // allocated 0 is not 1
    EXPECT_EQ(Text(0, 18), "");
    EXPECT_EQ(Text(0, -1), "");
}

TEST_F(ResultListTest, ColumnTextsOfAnAnswer) {
    Add("198.51.100.7");
    LookupItem& item = *list.At(0);
    item.status = LookupStatus::Succeeded;
    WhoisRecord& r = item.record;
    std::strcpy(r.country, "Netherlands");
    std::strcpy(r.networkName, "EXAMPLE-NET");
    std::strcpy(r.ownerName, "Example B.V.");
    r.fromIp = Ip("198.51.100.0");
    r.toIp = Ip("198.51.100.255");
    r.allocated = 1;
    std::strcpy(r.contactName, "Network Operations");
    std::strcpy(r.address, "Main Street 1, 1000 AA Amsterdam");
    std::strcpy(r.email, "noc@example.net");
    std::strcpy(r.abuseEmail, "abuse@example.net");
    std::strcpy(r.phone, "+31 20 0000000");
    std::strcpy(r.fax, "+31 20 0000001");
    r.whoisSource = 2;
    std::strcpy(item.hostName, "gw.example.net");
    std::strcpy(item.resolvedName, "host7.example.net");
    const Strings expected = {"1",
                              "198.51.100.7",
                              strings.builtin[523],
                              "Netherlands",
                              "EXAMPLE-NET",
                              "Example B.V.",
                              "198.51.100.0",
                              "198.51.100.255",
                              strings.builtin[10],
                              "Network Operations",
                              "Main Street 1, 1000 AA Amsterdam",
                              "noc@example.net",
                              "abuse@example.net",
                              "+31 20 0000000",
                              "+31 20 0000001",
                              "RIPE NCC",
                              "gw.example.net",
                              "host7.example.net"};
    for (int column = 0; column < 18; ++column) EXPECT_EQ(Text(0, column), expected[column]) << column;

    const std::pair<LookupStatus, int> statuses[] = {
        {LookupStatus::Retrieving, 522}, {LookupStatus::Failed, 524}, {LookupStatus::Paused, 525}};
    for (const auto& s : statuses) {
        item.status = s.first;
        EXPECT_EQ(Text(0, ColumnStatus), strings.builtin[s.second]);
    }
    item.status = LookupStatus::None;
    EXPECT_EQ(Text(0, ColumnStatus), "");
    item.status = static_cast<LookupStatus>(6);
    EXPECT_EQ(Text(0, ColumnStatus), "");
    r.whoisSource = 5;
    EXPECT_EQ(Text(0, ColumnWhoisSource), "AfriNIC");
    r.whoisSource = 6;
    EXPECT_EQ(Text(0, ColumnWhoisSource), "");
}

TEST_F(ResultListTest, AddressIsSplitAtCommasOnlyForHtml) {
    Add("198.51.100.7");
    std::strcpy(list.At(0)->record.address, "A,,B");
    for (ReportFormat format : {FormatScreen, FormatPlainText, FormatTabbed, FormatTabular, FormatXml}) {
        list.SetOutputFormat(format);
        EXPECT_EQ(Text(0, ColumnAddress), "A,,B") << format;
    }
    for (ReportFormat format : {FormatHtmlHorizontal, FormatHtmlVertical}) {
        list.SetOutputFormat(format);
        EXPECT_EQ(Text(0, ColumnAddress), "A\r\nB\r\n");
    }
    std::strcpy(list.At(0)->record.address, ",Av. Paulista 1000, Sao Paulo, SP,");
    EXPECT_EQ(Text(0, ColumnAddress), "Av. Paulista 1000\r\n Sao Paulo\r\n SP\r\n");
    list.At(0)->record.address[0] = '\0';
    EXPECT_EQ(Text(0, ColumnAddress), "");
}

TEST_F(ResultListTest, TextComparisonFoldsAsciiLettersOnly) {
    EXPECT_LT(CompareNoCase("10.0.0.1", "9.0.0.1"), 0);
    EXPECT_EQ(CompareNoCase("ARIN", "arin"), 0);
    EXPECT_LT(CompareNoCase("_x", "Ax"), 0);  // '_' before 'a'
    EXPECT_GT(CompareNoCase("\xB0", "z"), 0);
    EXPECT_LT(CompareNoCase("ab", "abc"), 0);
    EXPECT_TRUE(ContainsText("Example B.V.", "b.v", false));
    EXPECT_FALSE(ContainsText("Example B.V.", "b.v", true));
    EXPECT_TRUE(ContainsText("", "", true));
    EXPECT_FALSE(ContainsText("ab", "abc", false));
}

TEST_F(ResultListTest, SortingByOrderIsNumericAndByOtherColumnsTextual) {
    Add("11.0.0.1 9.0.0.1 100.0.0.1 20.0.0.1 3.0.0.1 12.0.0.1 4.0.0.1 8.0.0.1 5.0.0.1 6.0.0.1");
    list.Rebuild(true);  // persisted state 0: order ascending
    EXPECT_EQ(view.ColumnOfRows(ColumnOrder), (Strings{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));

    list.Sort(ColumnIp, false);
    EXPECT_EQ(list.persistedSort, ColumnIp);
    EXPECT_EQ(view.ColumnOfRows(ColumnIp), (Strings{"100.0.0.1", "11.0.0.1", "12.0.0.1", "20.0.0.1", "3.0.0.1",
                                                    "4.0.0.1", "5.0.0.1", "6.0.0.1", "8.0.0.1", "9.0.0.1"}));
    list.Sort(ColumnIp, false);  // the same header again: descending
    EXPECT_EQ(list.persistedSort, ColumnIp | kSortDescending);
    EXPECT_EQ(view.ColumnOfRows(ColumnIp).front(), "9.0.0.1");
    list.Sort(ColumnIp, false);
    EXPECT_EQ(list.persistedSort, ColumnIp);
    EXPECT_EQ(view.ColumnOfRows(ColumnIp).front(), "100.0.0.1");

    list.Sort(ColumnOrder | kSortDescending, true);
    EXPECT_EQ(view.ColumnOfRows(ColumnOrder).front(), "10");
    EXPECT_EQ(list.sortInEffect, ColumnOrder | kSortDescending);
    list.Sort(ColumnIp, false);  // another column always starts ascending
    EXPECT_EQ(list.persistedSort, ColumnIp);
    // The rows still know their items after sorting.
    ExpectRowsShowItems(list, view);
    EXPECT_EQ(list.At(list.ItemIndexOfRow(0))->ip, Ip("100.0.0.1"));
    EXPECT_EQ(list.RowOfItem(list.FindAddress(Ip("100.0.0.1"))), 0);
}

TEST_F(ResultListTest, HeaderArrowsFollowTheSort) {
    list.Sort(ColumnCountry, false);
    for (int column = 0; column < 18; ++column) {
        EXPECT_EQ(view.columns[column].headerImage, column == ColumnCountry ? 0 : -1) << column;
    }
    list.Sort(ColumnCountry, false);
    EXPECT_EQ(view.columns[ColumnCountry].headerImage, 1);
    list.Sort(ColumnOrder, false);
    EXPECT_EQ(view.columns[ColumnCountry].headerImage, -1);
    EXPECT_EQ(view.columns[ColumnOrder].headerImage, 0);
    // A stored state naming no column sorts nothing and shows no arrow.
    list.Sort(0xFFF, true);
    for (const auto& column : view.columns) EXPECT_EQ(column.headerImage, -1);
}

TEST_F(ResultListTest, RebuildAddsRowsKeepsRowsAndDropsVanishedOnes) {
    list.persistedSort = ColumnIp | kSortDescending;
    Add("198.51.100.1 198.51.100.3 198.51.100.2");
    list.Rebuild(true);
    EXPECT_EQ(view.ColumnOfRows(ColumnIp), (Strings{"198.51.100.3", "198.51.100.2", "198.51.100.1"}));
    EXPECT_EQ(view.columns[ColumnIp].headerImage, 1);
    EXPECT_EQ(list.SelectedCount(), 0);
    ExpectRowsShowItems(list, view);

    // Added without re-sorting: new rows come at the end.
    Add("198.51.100.9 198.51.100.0");
    list.Rebuild(false);
    EXPECT_EQ(view.ColumnOfRows(ColumnIp),
              (Strings{"198.51.100.3", "198.51.100.2", "198.51.100.1", "198.51.100.9", "198.51.100.0"}));
    EXPECT_EQ(view.inserts, 5);
    ExpectRowsShowItems(list, view);

    // A new run over fewer items: rows of vanished items go.
    list.Clear();
    Add("203.0.113.5 203.0.113.6");
    list.Rebuild(true);
    EXPECT_EQ(view.ColumnOfRows(ColumnIp), (Strings{"203.0.113.6", "203.0.113.5"}));
    EXPECT_EQ(view.deletes, 3);
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
    list.Rebuild(true);
    list.RefreshRows();
    const int textWrites = view.textWrites;
    const int imageWrites = view.imageWrites;
    list.RefreshRows();
    list.RefreshAllRows();
    EXPECT_EQ(view.textWrites, textWrites);  // nothing changed, nothing written
    EXPECT_EQ(view.imageWrites, imageWrites);

    list.SetItemStatus(1, LookupStatus::Succeeded);
    list.RefreshRows();
    EXPECT_EQ(view.textWrites, textWrites + 1);  // the status cell
    EXPECT_EQ(view.imageWrites, imageWrites + 1);
    EXPECT_EQ(view.rows[1].image, 1);
    EXPECT_EQ(list.At(1)->image, 1);
    EXPECT_EQ(list.PendingChanges(), 0u);

    // A parsed record arrives: the cells that differ are written.
    LookupItem& item = *list.At(2);
    std::strcpy(item.record.ownerName, "Example Org");
    item.record.whoisSource = 1;
    list.SetItemStatus(2, LookupStatus::Failed);
    list.RefreshRows();
    EXPECT_EQ(view.textWrites, textWrites + 4);  // status, owner name, WHOIS source
    EXPECT_EQ(view.rows[2].image, 2);
    ExpectRowsShowItems(list, view);

    // Names from the resolution workers.
    list.SetResolvedName(Ip("198.51.100.1"), "one.example.net");
    list.RefreshRows();
    EXPECT_EQ(view.rows[0].texts[ColumnResolvedName], "one.example.net");
    EXPECT_EQ(view.textWrites, textWrites + 5);
}

// Items change at random, rows are sorted and refreshed: whatever happens,
// every row shows exactly its item's texts and icon after a refresh.
TEST_F(ResultListTest, RowsAlwaysShowTheirItems) {
    std::mt19937 random(11);
    std::string text;
    for (int i = 0; i < 120; ++i) text += "203.0." + std::to_string(i % 7) + "." + std::to_string(i) + " ";
    Add(text.c_str());
    list.Rebuild(true);
    const char* words[] = {"", "Example", "EXAMPLE", "other", "A,B", "x"};
    for (int step = 0; step < 400; ++step) {
        const int index = static_cast<int>(random() % static_cast<unsigned>(list.ItemCount()));
        LookupItem& item = *list.At(index);
        switch (random() % 7) {
            case 0:
                list.SetItemStatus(index, static_cast<LookupStatus>(random() % 6));
                break;
            case 1:
                SetField(index, item.record.ownerName, words[random() % 6]);
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
                Add(("198.51.100." + std::to_string(random() % 256)).c_str());
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

TEST_F(ResultListTest, FindMatchesWholeTextsOrPartsInEitherCase) {
    Add("198.51.100.1 198.51.100.2");
    list.At(0)->record.whoisSource = 1;  // "ARIN"
    std::strcpy(list.At(1)->record.ownerName, "ARIN Test");
    FindRequest request;
    request.text = "ARIN";
    request.wholeWord = true;
    EXPECT_TRUE(list.MatchesFind(*list.At(0), request));
    EXPECT_FALSE(list.MatchesFind(*list.At(1), request));
    request.text = "arin";
    EXPECT_TRUE(list.MatchesFind(*list.At(0), request));
    request.matchCase = true;
    EXPECT_FALSE(list.MatchesFind(*list.At(0), request));
    request.wholeWord = false;
    request.text = "RIN T";
    EXPECT_TRUE(list.MatchesFind(*list.At(1), request));
    request.text = "rin t";
    EXPECT_FALSE(list.MatchesFind(*list.At(1), request));
    request.matchCase = false;
    EXPECT_TRUE(list.MatchesFind(*list.At(1), request));
    request.text = "";
    EXPECT_TRUE(list.MatchesFind(*list.At(1), request));
    // Hidden columns are searched too.
    view.columns[ColumnOwnerName].width = 0;
    request.text = "test";
    EXPECT_TRUE(list.MatchesFind(*list.At(1), request));
}

TEST_F(ResultListTest, FindNextWrapsAroundOnce) {
    Add("198.51.100.1 198.51.100.2 198.51.100.3 198.51.100.4");
    list.Rebuild(true);
    FindRequest request;
    request.text = "198.51.100.";
    EXPECT_TRUE(list.FindNext(request));  // nothing selected: from row 0
    EXPECT_TRUE(view.rows[0].selected && view.rows[0].focused);
    EXPECT_TRUE(list.FindNext(request));
    EXPECT_EQ(view.NextSelectedRow(-1), 1);
    EXPECT_EQ(list.SelectedCount(), 1);
    EXPECT_EQ(view.visibleRow, 1);

    request.text = ".4";
    list.SetRowState(-1, 0, kRowSelected);
    list.SetRowState(3, kRowSelected, kRowSelected);
    EXPECT_TRUE(list.FindNext(request));  // past the end, round to the same row
    EXPECT_EQ(view.NextSelectedRow(-1), 3);

    request.text = ".2";
    request.down = false;
    list.SetRowState(-1, 0, kRowSelected);
    list.SetRowState(0, kRowSelected, kRowSelected);
    EXPECT_TRUE(list.FindNext(request));  // upwards from row 0 wraps to the last row
    EXPECT_EQ(view.NextSelectedRow(-1), 1);

    // No match: the selection stays and the search ends.
    list.SetRowState(-1, 0, kRowSelected);
    list.SetRowState(0, kRowSelected, kRowSelected);
    list.SetRowState(2, kRowSelected, kRowSelected);
    request.text = "nowhere";
    EXPECT_FALSE(list.FindNext(request));
    EXPECT_EQ(list.SelectedCount(), 2);

    list.Clear();
    list.Rebuild(true);
    EXPECT_FALSE(list.FindNext(request));
}

TEST_F(ResultListTest, HtmlHooks) {
    Add("198.51.100.1");
    LookupItem& item = *list.At(0);
    std::strcpy(item.record.abuseEmail, "abuse<x>@example.net");
    std::string cell = "abuse&lt;x&gt;@example.net";
    list.DecorateCell(cell, item, ColumnAbuseEmail);
    EXPECT_EQ(cell, "<a href=\"mailto:abuse<x>@example.net\">abuse&lt;x&gt;@example.net</a>");
    std::strcpy(item.record.email, "\"noc\"@example.net");
    cell = "&quot;noc&quot;@example.net";
    list.DecorateCell(cell, item, ColumnEmail);
    EXPECT_EQ(cell, "&quot;noc&quot;@example.net");  // no link around a quote
    cell = "";
    list.DecorateCell(cell, item, ColumnPhone);
    EXPECT_EQ(cell, "");
    int count = 0;
    const uint32_t* colors = list.CellColors(FormatHtmlHorizontal, &count);
    ASSERT_EQ(count, 3);
    EXPECT_EQ(colors[0], 0xF0FFFFu);
    EXPECT_EQ(colors[2], 0xFFF0F0u);
    EXPECT_EQ(list.HeaderBackColor(), 0xE0E0E0u);
    EXPECT_EQ(list.HeaderTextColor(), -1);
}

TEST_F(ResultListTest, SingleSelectedItem) {
    Add("198.51.100.1 198.51.100.2");
    list.Rebuild(true);
    EXPECT_EQ(list.SingleSelectedItem(), nullptr);
    list.SetRowState(1, kRowSelected, kRowSelected);
    EXPECT_EQ(list.SingleSelectedItem(), list.At(1));
    list.SetRowState(-1, kRowSelected, kRowSelected);
    EXPECT_EQ(list.SingleSelectedItem(), nullptr);
    EXPECT_EQ(list.ItemOfRow(2), nullptr);
}

}  // namespace
