// The WHOIS records file and the save dialogs' filter strings.

#include <gtest/gtest.h>

#include <string>

#include "report_test_support.h"
#include "reports/save_filters.h"
#include "reports/whois_records_writer.h"
#include "resources/resource_ids.h"
#include "views/result_columns.h"

namespace {

using namespace std::string_literals;
using WhoisRecordsTest = ReportListTest;

TEST_F(WhoisRecordsTest, SelectedAnswersInReverseRowOrderEachClosedByStars) {
    Add("198.51.100.1 198.51.100.2 198.51.100.3 198.51.100.4 198.51.100.5");
    const char* const answers[] = {"first\r\nanswer\r\n", "second\n\nanswer", "third\rmac\r\r\nend", "not selected"};
    for (int i = 0; i < 4; ++i) list.At(i)->rawText->SetText(answers[i]);
    list.At(4)->rawText.reset();  // no buffer at all
    list.Sort(ColumnOrder | kSortDescending, true);
    for (int row : {0, 2, 3, 4}) list.SetRowState(row, kRowSelected, kRowSelected);
    const std::string stars = "\r\n" + std::string(80, '*') + "\r\n";
    const auto records = [&] {
        StringSink sink;
        WriteSelectedWhoisRecords(list, sink);
        return sink.text;
    };
    EXPECT_EQ(records(), "first\r\nanswer\r\n" + stars + "second\r\n\r\nanswer\r\n" + stars +
                             "third\r\nmac\r\n\r\nend\r\n" + stars + stars);
    list.SetRowState(-1, 0, kRowSelected);
    EXPECT_EQ(records(), "");
    list.At(0)->rawText->SetText((std::string(1500, 'a') + "\nb").c_str());  // lines are cut to 1022 bytes
    list.SetRowState(4, kRowSelected, kRowSelected);
    EXPECT_EQ(records(), std::string(1022, 'a') + "\r\nb\r\n" + stars);
}

TEST(SaveFilters, FilterStringsAndTheRememberedIndex) {
    TestUiStrings strings;
    const auto text = [&](int id) { return strings.builtin[id]; };
    const std::string txt = " (*.txt)\0*.txt\0"s, html = " (*.htm;*.html)\0*.htm;*.html\0"s;
    EXPECT_EQ(MakeFilterString(kReportFilters, 6),
              text(IDS_FILTER_TEXT) + txt + text(IDS_FILTER_TAB_DELIMITED) + txt + text(IDS_FILTER_TABULAR) + txt +
                  text(IDS_FILTER_HTML_HORIZONTAL) + html + text(IDS_FILTER_HTML_VERTICAL) + html +
                  text(IDS_FILTER_XML) + " (*.xml)\0*.xml\0\0"s);
    EXPECT_EQ(MakeFilterString(kWhoisFilters, 2),
              text(IDS_WHOIS_FILTER_TEXT) + txt + text(IDS_WHOIS_FILTER_ALL) + " (*.*)\0*.*\0\0"s);

    // A translation too long for the 1024 bytes drops the entries that do not
    // fit; later ones are not tried, as each kept entry must stay at its index.
    const std::string start = text(IDS_FILTER_TEXT) + txt + text(IDS_FILTER_TAB_DELIMITED) + txt;
    const size_t room = kFilterStringSize - start.size() - txt.size() - 1;
    for (size_t length : {room, room + 1}) {
        strings.translated[IDS_FILTER_TABULAR] = std::string(length, 'T');
        ResetUiStringCache();
        EXPECT_EQ(MakeFilterString(kReportFilters, 6),
                  start + (length == room ? std::string(length, 'T') + txt : "") + "\0"s);
    }
    for (int saved : {-3, 0, 1, 6, 7}) EXPECT_EQ(ReportFilterIndex(saved), saved >= 1 && saved <= 6 ? saved : 1);
}

}  // namespace
