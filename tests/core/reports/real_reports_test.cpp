// Every report format over real registry answers, compared with reviewed
// copies. With OL_REPORT_OUT set, the reports are also written into that
// folder (scripts/render_reports.sh renders them in a browser).

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <iterator>
#include <fstream>
#include <string>

#include "../whois/whois_test_support.h"
#include "lookup/server_selection.h"
#include "report_test_support.h"
#include "views/result_columns.h"

namespace {

struct Source {
    const char* file;
    int registry;
    const char* ip;
    const char* resolvedName;
};

const Source kSources[] = {
    {"arin/direct_allocation_no_referral_4.2.2.1.txt", RegistryArin, "4.2.2.1", "b.resolvers.level3.net"},
    {"ripe/telecomitalia_2025_151.99.187.181.txt", RegistryRipe, "151.99.187.181", ""},
    {"ripe/colt_person_62.97.102.115.txt", RegistryRipe, "62.97.102.115", ""},
    {"apnic/hinet_irt_twnic_218.165.121.114.txt", RegistryApnic, "218.165.121.114", ""},
    {"lacnic/cantv_allocated_200.44.33.31.txt", RegistryLacnic, "200.44.33.31", ""},
    {"lacnic/nicbr_mojibake_trailing_cr_200.165.206.74.txt", RegistryLacnic, "200.165.206.74", ""},
    {"afrinic/sentech_2025_66.18.70.6.txt", RegistryAfrinic, "66.18.70.6", ""},
};

enum Layout {
    Plain,      // every column in id order, every row
    Reordered,  // sorted by country, the address hidden, the owner first; a right-to-left GB2312 page
    Selected,   // sorted by address downwards, rows 1, 2 and 6 selected, the fax hidden, the resolved name third
};

struct Golden {
    const char* file;
    int format;
    Layout layout;
    const char* itemsStart;  // where the items begin, and the end of the last one
    const char* itemsEnd;
};

const Golden kGoldens[] = {
    {"real_horizontal.html", FormatHtmlHorizontal, Plain, "<tr><td", "&nbsp;\r\n"},
    {"real_vertical.html", FormatHtmlVertical, Reordered, "<table border", "</table><p>\r\n"},
    {"real.xml", FormatXml, Plain, "<item>", "</item>\r\n"},
    {"selected_plain.txt", FormatPlainText, Selected, "", ""},
    {"selected_tabbed.txt", FormatTabbed, Selected, "", ""},
    {"selected_tabular.txt", FormatTabular, Selected, "", ""},
};

class RealReports : public ReportListTest {
  protected:
    void SetUp() override {
        std::string text;
        for (const Source& source : kSources) text += std::string(source.ip) + " ";
        Add((text + "198.51.100.250").c_str());  // the last lookup failed
        for (int i = 0; i < static_cast<int>(std::size(kSources)); ++i) {
            LookupItem& item = *list.At(i);
            const std::string answer = ReadWhoisAnswer(kSources[i].file);
            ASSERT_EQ(ParseAnswer(&item.record, kSources[i].registry, answer.c_str()), 0) << kSources[i].file;
            item.rawText->SetText(answer.c_str());
            item.status = LookupStatus::Succeeded;
            CopyName(item.resolvedName, kSources[i].resolvedName);
        }
        list.At(list.ItemCount() - 1)->status = LookupStatus::Failed;
        list.RefreshAllRows();
    }
    void Arrange(Layout layout) {
        if (layout == Plain) return;
        list.Sort(layout == Reordered ? ColumnCountry : ColumnIp | kSortDescending, true);
        for (int id = 0; id < 18; ++id) view.columns[static_cast<size_t>(id)].position = id + 1;
        if (layout == Reordered) {
            Environment() = ReportEnvironment{"gb2312", true, 936};
            view.columns[ColumnAddress].width = 0;
            view.columns[ColumnOwnerName].position = 0;
        } else {
            view.columns[ColumnFax].width = 0;
            view.columns[ColumnResolvedName].position = 2;
            for (int id = ColumnOrder; id < ColumnStatus; ++id) view.columns[static_cast<size_t>(id)].position = id;
            for (int row : {1, 2, 6}) list.SetRowState(row, kRowSelected, kRowSelected);
        }
    }
};

class RealReportTest : public RealReports, public ::testing::WithParamInterface<Golden> {};

TEST_P(RealReportTest, IsTheReviewedCopy) {
    const Golden& golden = GetParam();
    Arrange(golden.layout);
    const std::string report = Report(golden.format, golden.layout == Selected);
    EXPECT_EQ(report, ReadReportFixture(golden.file));
    if (const char* folder = std::getenv("OL_REPORT_OUT")) {
        std::ofstream(std::string(folder) + "/" + golden.file, std::ios::binary) << report;
    }
    // Without items a report is still whole: the copy without its items.
    std::string frame;
    if (*golden.itemsStart) {
        const size_t end = report.rfind(golden.itemsEnd) + std::strlen(golden.itemsEnd);
        frame = report.substr(0, report.find(golden.itemsStart)) + report.substr(end);
    }
    list.SetRowState(-1, 0, kRowSelected);
    EXPECT_EQ(Report(golden.format, true), frame);

    // A write that fails ends the report after its item; the tail is still written.
    StringSink sink;
    sink.failWrite = 2;
    EXPECT_EQ(WriteReport(list, sink, golden.format, false), golden.format == FormatPlainText);
    EXPECT_TRUE(!*golden.itemsStart || sink.text == frame);
}

INSTANTIATE_TEST_SUITE_P(, RealReportTest, ::testing::ValuesIn(kGoldens));

using RealReportFailures = RealReports;

TEST_F(RealReportFailures, OnlyTheLastWriteOfAnItemCounts) {
    ShowColumns({ColumnOrder, ColumnIp});  // a plain item: rule, two lines, rule, empty line
    const int failures[][4] = {
        // format, failing write, report written, writes
        {FormatPlainText, 2, true, 5 * 8},
        {FormatPlainText, 5, false, 5},
        {FormatTabbed, 1, false, 1},
        {FormatHtmlHorizontal, 2, false, 3},  // head, item, tail
        {0, 0, false, 0},
        {7, 0, false, 0},
    };
    for (const auto& f : failures) {
        StringSink sink;
        sink.failWrite = f[1];
        EXPECT_EQ(WriteReport(list, sink, f[0], false), f[2] != 0) << f[0] << " " << f[1];
        EXPECT_EQ(sink.writes, f[3]) << f[0] << " " << f[1];
        EXPECT_EQ(list.OutputFormat(), FormatScreen);
    }
}

}  // namespace
