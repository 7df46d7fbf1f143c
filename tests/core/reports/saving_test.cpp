// The WHOIS records file and the save dialogs' filter strings.

#include <gtest/gtest.h>

#include <string>

#include "report_test_support.h"
#include "reports/save_filters.h"
#include "reports/whois_records_writer.h"
#include "views/result_columns.h"

namespace {

const std::string kStars(80, '*');

std::string Records(AddressList& list) {
    StringSink sink;
    WriteSelectedWhoisRecords(list, sink);
    return sink.text;
}

using WhoisRecordsTest = ReportListTest;

TEST_F(WhoisRecordsTest, SelectedAnswersInReverseOrderEachClosedByStars) {
    Add("198.51.100.1 198.51.100.2 198.51.100.3 198.51.100.4");
    list.At(0)->rawText->SetText("first\r\nanswer\r\n");
    list.At(1)->rawText->SetText("second\n\nanswer");  // no break after the last line
    list.At(2)->rawText->SetText("third\rmac\r\r\nend");
    list.At(3)->rawText->SetText("not selected");
    for (int row = 0; row < 3; ++row) list.SetRowState(row, kRowSelected, kRowSelected);
    EXPECT_EQ(Records(list), "third\r\nmac\r\n\r\nend\r\n\r\n" + kStars + "\r\n" + "second\r\n\r\nanswer\r\n\r\n" +
                                 kStars + "\r\n" + "first\r\nanswer\r\n\r\n" + kStars + "\r\n");

    // Rows, not items: sorted the other way round, the first item comes last.
    list.Sort(ColumnOrder | kSortDescending, true);
    list.SetRowState(-1, 0, kRowSelected);
    list.SetRowState(2, kRowSelected, kRowSelected);  // item 2
    list.SetRowState(3, kRowSelected, kRowSelected);  // item 1
    EXPECT_EQ(Records(list),
              "first\r\nanswer\r\n\r\n" + kStars + "\r\n" + "second\r\n\r\nanswer\r\n\r\n" + kStars + "\r\n");
}

TEST_F(WhoisRecordsTest, ItemsWithoutAnAnswerWriteTheSeparatorOnly) {
    Add("198.51.100.1 198.51.100.2");
    list.At(1)->rawText.reset();  // no buffer at all
    list.SetRowState(-1, kRowSelected, kRowSelected);
    EXPECT_EQ(Records(list), "\r\n" + kStars + "\r\n" + "\r\n" + kStars + "\r\n");
    list.SetRowState(-1, 0, kRowSelected);
    EXPECT_EQ(Records(list), "");

    // Lines are cut to 1022 bytes.
    list.At(0)->rawText->SetText((std::string(1500, 'a') + "\nb").c_str());
    list.SetRowState(0, kRowSelected, kRowSelected);
    EXPECT_EQ(Records(list), std::string(1022, 'a') + "\r\nb\r\n\r\n" + kStars + "\r\n");
}

TEST(SaveFilters, FilterStringsOfBothDialogs) {
    TestUiStrings strings;
    strings.builtin[501] = "Text";
    strings.builtin[502] = "Tabs";
    strings.builtin[503] = "Table";
    strings.builtin[504] = "Across";
    strings.builtin[505] = "Down";
    strings.builtin[506] = "XML \xCE\xC4\xBC\xFE";
    strings.builtin[561] = "\xCE\xC4\xB1\xBE\xCE\xC4\xBC\xFE";
    strings.builtin[562] = "All";
    ResetUiStringCache();
    using namespace std::string_literals;
    EXPECT_EQ(MakeFilterString(kReportFilters, 6),
              "Text (*.txt)\0*.txt\0Tabs (*.txt)\0*.txt\0Table (*.txt)\0*.txt\0"
              "Across (*.htm;*.html)\0*.htm;*.html\0Down (*.htm;*.html)\0*.htm;*.html\0"
              "XML \xCE\xC4\xBC\xFE (*.xml)\0*.xml\0\0"s);
    EXPECT_EQ(MakeFilterString(kWhoisFilters, 2),
              "\xCE\xC4\xB1\xBE\xCE\xC4\xBC\xFE (*.txt)\0*.txt\0All (*.*)\0*.*\0\0"s);

    // A translation too long for the 1024 bytes drops the entries that do not fit.
    // Later entries are not tried: each kept entry must stay at its index.
    strings.translated[503] = std::string(950, 'T');
    ResetUiStringCache();
    const std::string cut = MakeFilterString(kReportFilters, 6);
    EXPECT_EQ(cut, "Text (*.txt)\0*.txt\0Tabs (*.txt)\0*.txt\0"s + std::string(950, 'T') + " (*.txt)\0*.txt\0\0"s);
    EXPECT_LE(cut.size(), kFilterStringSize);
    strings.translated[503] = std::string(1100, 'T');
    ResetUiStringCache();
    EXPECT_EQ(MakeFilterString(kReportFilters, 6), "Text (*.txt)\0*.txt\0Tabs (*.txt)\0*.txt\0\0"s);
}

TEST(SaveFilters, RememberedIndex) {
    EXPECT_EQ(ReportFilterIndex(0), 1);  // the default opens the first filter
    for (int i = 1; i <= 6; ++i) EXPECT_EQ(ReportFilterIndex(i), i);
    EXPECT_EQ(ReportFilterIndex(7), 1);
    EXPECT_EQ(ReportFilterIndex(-3), 1);
}

}  // namespace
