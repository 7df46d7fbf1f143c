// The report driver and the plain, tab-delimited and tabular formats, byte
// for byte.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "report_test_support.h"
#include "views/result_columns.h"

namespace {

// Text reports are written by the same list the HTML and XML tests use.
using TextReportTest = ReportListTest;

TEST_F(TextReportTest, PlainItemWithTwoColumns) {
    Add("198.51.100.7");
    ShowColumns({ColumnOrder, ColumnIp});
    const std::string rule(50, '=');
    // "顺序" is 4 bytes and "IP 地址" 7 in code page 936: padded with 14 and 11 blanks.
    EXPECT_EQ(Report(FormatPlainText, false), rule + "\r\n" + "\xCB\xB3\xD0\xF2" + std::string(14, ' ') + ": 1\r\n" +
                                                  "IP \xB5\xD8\xD6\xB7" + std::string(11, ' ') + ": 198.51.100.7\r\n" +
                                                  rule + "\r\n\r\n");
}

TEST_F(TextReportTest, PlainNamesOfEighteenBytesOrMoreAreNotCut) {
    strings.translated[1002] = "Internet Protocol address";  // 25 bytes
    strings.translated[1001] = "Sequence number no";         // exactly 18
    ResetUiStringCache();
    list.Attach(&view);
    Add("198.51.100.7");
    ShowColumns({ColumnOrder, ColumnIp});
    const std::string rule(50, '=');
    EXPECT_EQ(Report(FormatPlainText, false), rule + "\r\nSequence number no: 1\r\n" +
                                                  "Internet Protocol address: 198.51.100.7\r\n" + rule + "\r\n\r\n");
}

TEST_F(TextReportTest, TabbedLinesEndWithATab) {
    Add("198.51.100.7 203.0.113.9");
    ShowColumns({ColumnIp});
    EXPECT_EQ(Report(FormatTabbed, false), "198.51.100.7\t\r\n203.0.113.9\t\r\n");
    ShowColumns({ColumnIp, ColumnOrder, ColumnOwnerName});
    std::strcpy(list.At(1)->record.ownerName, "Tab\there");  // not escaped
    EXPECT_EQ(Report(FormatTabbed, false), "198.51.100.7\t1\t\t\r\n203.0.113.9\t2\tTab\there\t\r\n");
    ShowColumns({});
    EXPECT_EQ(Report(FormatTabbed, false), "\r\n\r\n");
}

TEST_F(TextReportTest, TabularFieldsAreCutOrPaddedToTheirWidth) {
    Add("198.51.100.7 203.0.113.9");
    const std::string owner40 = "0123456789012345678901234567890123456789";
    std::strcpy(list.At(0)->record.ownerName, owner40.c_str());
    std::strcpy(list.At(1)->record.ownerName, "Short");
    ShowColumns({ColumnOrder, ColumnOwnerName, ColumnIp});
    const std::string report = Report(FormatTabular, false);
    EXPECT_EQ(report, "1    " + owner40.substr(0, 30) + "198.51.100.7    \r\n" + "2    Short" + std::string(25, ' ') +
                          "203.0.113.9     \r\n");

    // Every line is as long as the report widths together.
    for (auto& column : view.columns) column.width = 100;
    for (int i = 0; i < 18; ++i) view.columns[i].position = i;
    const std::string full = Report(FormatTabular, false);
    EXPECT_EQ(full.size(),
              2u * (5 + 16 + 20 + 20 + 30 + 30 + 16 + 16 + 10 + 50 + 50 + 40 + 40 + 25 + 25 + 30 + 50 + 50 + 2));
}

TEST_F(TextReportTest, SelectedRowsInTheOrderShown) {
    Add("203.0.113.9 198.51.100.7 192.0.2.55");
    LookupItem& a = *list.At(0);
    a.status = LookupStatus::Succeeded;
    WhoisRecord& r = a.record;
    std::strcpy(r.country, "Japan");
    std::strcpy(r.networkName, "EXAMPLE-JP");
    std::strcpy(r.ownerName, "Example Japan K.K. Research and Development Division");
    r.fromIp = Ip("203.0.113.0");
    r.toIp = Ip("203.0.113.255");
    r.allocated = 2;
    std::strcpy(r.contactName, "Taro Yamada");
    std::strcpy(r.address, "1-2-3 Chiyoda, Tokyo 100-0001");
    std::strcpy(r.email, "hostmaster@example.jp");
    std::strcpy(r.abuseEmail, "abuse@example.jp");
    std::strcpy(r.phone, "+81-3-0000-0000");
    r.whoisSource = 3;
    std::strcpy(a.resolvedName, "gw.example.jp");
    list.At(1)->status = LookupStatus::Failed;
    std::strcpy(list.At(2)->hostName, "mail.example.com");

    // Sorted by address, descending: 203.0.113.9 (1), 198.51.100.7 (2), 192.0.2.55 (3).
    list.Sort(ColumnIp | kSortDescending, true);
    list.SetRowState(0, kRowSelected, kRowSelected);
    list.SetRowState(2, kRowSelected, kRowSelected);
    // The fax column hidden, the resolved name moved to the third place.
    view.columns[ColumnFax].width = 0;
    view.columns[ColumnResolvedName].position = 2;
    for (int id = ColumnStatus; id < ColumnResolvedName; ++id) view.columns[id].position = id + 1;

    EXPECT_EQ(Report(FormatPlainText, true), ReadReportFixture("selected_plain.txt"));
    EXPECT_EQ(Report(FormatTabbed, true), ReadReportFixture("selected_tabbed.txt"));
    EXPECT_EQ(Report(FormatTabular, true), ReadReportFixture("selected_tabular.txt"));
    ASSERT_FALSE(ReadReportFixture("selected_tabbed.txt").empty());

    // All rows: the unselected one comes in its place.
    const std::string all = Report(FormatTabbed, false);
    EXPECT_EQ(all.find("203.0.113.9"), 2u);
    EXPECT_LT(all.find("198.51.100.7"), all.find("192.0.2.55"));
}

TEST_F(TextReportTest, NothingSelectedWritesNothing) {
    Add("198.51.100.7 203.0.113.9");
    for (int format : {FormatPlainText, FormatTabbed, FormatTabular}) EXPECT_EQ(Report(format, true), "");
    list.Clear();
    list.Rebuild(true);
    EXPECT_EQ(Report(FormatPlainText, false), "");
}

TEST_F(TextReportTest, OnlyTheLastWriteOfAnItemCounts) {
    Add("198.51.100.7 203.0.113.9");
    ShowColumns({ColumnOrder, ColumnIp});
    // A plain item is five writes: rule, two lines, rule, empty line.
    StringSink sink;
    sink.failWrite = 2;  // a line of the first item
    EXPECT_TRUE(WriteReport(list, sink, FormatPlainText, false));
    EXPECT_EQ(sink.writes, 10);

    StringSink failing;
    failing.failWrite = 5;  // the empty line that ends the first item
    EXPECT_FALSE(WriteReport(list, failing, FormatPlainText, false));
    EXPECT_EQ(failing.writes, 5);  // the second item is not written

    StringSink tabbed;
    tabbed.failWrite = 1;
    EXPECT_FALSE(WriteReport(list, tabbed, FormatTabbed, false));
    EXPECT_EQ(tabbed.writes, 1);
    EXPECT_EQ(list.OutputFormat(), FormatScreen);
}

TEST_F(TextReportTest, FormatsWithoutAWriterWriteNothing) {
    Add("198.51.100.7");
    for (int format : {0, 7, -1}) {
        EXPECT_EQ(Report(format, false, false), "") << format;
    }
    list.Clear();
    list.Rebuild(true);
    EXPECT_EQ(Report(7, false, true), "");  // no rows: nothing failed
    StringSink sink;
    EXPECT_TRUE(WriteText(sink, "abc"));
    EXPECT_EQ(sink.text, "abc");
}

}  // namespace
