// HTML and XML reports of real registry answers, compared with reviewed
// copies. With OL_REPORT_OUT set, the reports are also written into that
// folder (scripts/render_reports.sh renders them in a browser).

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "../whois/whois_test_support.h"
#include "whois/server_selection.h"
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

class RealReportTest : public ReportListTest {
  protected:
    void SetUp() override {
        std::string text;
        for (const Source& source : kSources) text += std::string(source.ip) + " ";
        text += "198.51.100.250";  // a lookup that failed
        Add(text.c_str());
        for (int i = 0; i < static_cast<int>(sizeof kSources / sizeof kSources[0]); ++i) {
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
    // The report, also written to OL_REPORT_OUT when that is set.
    std::string Written(int format, const char* name) {
        const std::string report = Report(format);
        if (const char* folder = std::getenv("OL_REPORT_OUT")) {
            std::ofstream out(std::string(folder) + "/" + name, std::ios::binary | std::ios::trunc);
            out << report;
        }
        return report;
    }
};

TEST_F(RealReportTest, HorizontalReport) {
    EXPECT_EQ(Written(FormatHtmlHorizontal, "real_horizontal.html"), ReadReportFixture("real_horizontal.html"));
}

TEST_F(RealReportTest, VerticalReportInAnotherColumnOrder) {
    // Sorted by country, the address column hidden, the owner moved first.
    list.Sort(ColumnCountry, false);
    view.columns[ColumnAddress].width = 0;
    for (int id = 0; id < 18; ++id) view.columns[static_cast<size_t>(id)].position = id + 1;
    view.columns[ColumnOwnerName].position = 0;
    EXPECT_EQ(Written(FormatHtmlVertical, "real_vertical.html"), ReadReportFixture("real_vertical.html"));
}

TEST_F(RealReportTest, XmlExport) {
    const std::string xml = Written(FormatXml, "real.xml");
    EXPECT_EQ(xml, ReadReportFixture("real.xml"));
    // Every start tag has its end tag, in order, apart from the line breaks.
    std::vector<std::string> open;
    for (size_t at = xml.find('<', 1); at != std::string::npos; at = xml.find('<', at + 1)) {
        const size_t end = xml.find('>', at);
        ASSERT_NE(end, std::string::npos);
        const std::string tag = xml.substr(at + 1, end - at - 1);
        if (tag == "br") continue;
        if (tag[0] == '/') {
            ASSERT_FALSE(open.empty()) << tag;
            EXPECT_EQ(open.back(), tag.substr(1));
            open.pop_back();
        } else {
            open.push_back(tag);
        }
    }
    EXPECT_TRUE(open.empty());
}

}  // namespace
