// The reports: every format over real registry answers compared with
// reviewed copies (with OL_REPORT_OUT set also written into that folder for
// scripts/render_reports.sh), failed writes, HTML cells and their escaping,
// XML names, translated names, the WHOIS records file and the save filters.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "../views/list_test_support.h"
#include "../views/program_strings.h"
#include "../whois/whois_test_support.h"
#include "reports/html_report_writer.h"
#include "reports/report_driver.h"
#include "reports/report_environment.h"
#include "reports/save_filters.h"
#include "reports/whois_records_writer.h"
#include "reports/xml_report_writer.h"
#include "resources/resource_ids.h"
#include "base/options.h"
#include "views/result_columns.h"

namespace {

using namespace std::string_literals;

class StringSink : public ByteSink {
  public:
    bool Write(const char* bytes, size_t n) override {
        if (++writes == failWrite) return false;
        text.append(bytes, n);
        return true;
    }
    std::string text;
    int writes = 0, failWrite = 0;  // the number of the write that fails; 0: none
};

ReportEnvironment& Environment() {
    static ReportEnvironment environment;
    return environment;
}

class ReportTest : public ::testing::Test {
  protected:
    ReportTest() : list(&options) {
        Environment() = ReportEnvironment{"", false, 936};
        SetReportEnvironmentSource([] { return Environment(); });
        options.ResolveIPAddr = 0;
        list.Attach(&view);
        view.InsertColumns(list);
    }
    ~ReportTest() override { SetReportEnvironmentSource(nullptr); }
    void Add(const char* text) {
        options.addressText.SetText(text);
        list.AddAddressesFromText();
        list.Rebuild(true);
    }
    void ShowColumns(std::initializer_list<int> columns) {  // only these, in this order
        for (auto& column : view.columns) column.width = 0;
        int position = 0;
        for (int id : columns) view.columns[static_cast<size_t>(id)] = {100, position++};
    }
    std::string Report(int format, bool selectedOnly = false) {
        StringSink sink;
        EXPECT_TRUE(WriteReport(list, sink, format, selectedOnly));
        EXPECT_EQ(list.OutputFormat(), FormatScreen);
        return sink.text;
    }

    TestUiStrings strings;
    Options options;
    FakeReportView view;
    AddressList list;
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

class RealReportTest : public ReportTest, public ::testing::WithParamInterface<Golden> {
  protected:
    void SetUp() override {  // the answers of real_sources.txt, then a lookup that failed
        std::ifstream sources(OL_TEST_DATA_DIR "/reports/real_sources.txt");
        std::string line, file, ip;
        for (int registry = 0, index = 0; std::getline(sources, line);) {
            if (line[0] == '#') continue;
            std::istringstream fields(line);
            fields >> file >> registry >> ip;
            Add(ip.c_str());
            LookupItem& item = *list.At(index++);
            const std::string answer = ReadWhoisAnswer(file);
            ASSERT_EQ(ParseAnswer(&item.record, registry, answer.c_str()), 0) << file;
            item.rawText->SetText(answer.c_str());
            item.status = LookupStatus::Succeeded;
            fields >> item.resolvedName;
        }
        Add("198.51.100.250");
        list.At(list.ItemCount() - 1)->status = LookupStatus::Failed;
        list.RefreshAllRows();
    }
};

TEST_P(RealReportTest, IsTheReviewedCopy) {
    const Golden& golden = GetParam();
    if (golden.layout != Plain) {
        list.Sort(golden.layout == Reordered ? ColumnCountry : ColumnIp | kSortDescending, true);
        for (int id = 0; id < 18; ++id) view.columns[static_cast<size_t>(id)].position = id + 1;
    }
    if (golden.layout == Reordered) {
        Environment() = ReportEnvironment{"gb2312", true, 936};
        view.columns[ColumnAddress].width = 0;
        view.columns[ColumnOwnerName].position = 0;
    } else if (golden.layout == Selected) {
        view.columns[ColumnFax].width = 0;
        view.columns[ColumnResolvedName].position = 2;
        view.columns[ColumnOrder].position = 0;
        view.columns[ColumnIp].position = 1;
        for (int row : {1, 2, 6}) list.SetRowState(row, kRowSelected, kRowSelected);
    }
    const std::string report = Report(golden.format, golden.layout == Selected);
    EXPECT_EQ(report, ReadTestData("reports/"s + golden.file));
    if (const char* folder = std::getenv("OL_REPORT_OUT"))
        std::ofstream(folder + "/"s + golden.file, std::ios::binary) << report;

    // Without items a report is still whole: the copy without its items.
    std::string frame;
    if (*golden.itemsStart) {
        const size_t end = report.rfind(golden.itemsEnd) + std::strlen(golden.itemsEnd);
        frame = report.substr(0, report.find(golden.itemsStart)) + report.substr(end);
    }
    list.SetRowState(-1, 0, kRowSelected);
    EXPECT_EQ(Report(golden.format, true), frame);
    // A failed write ends the report after its item, but the tail is written.
    StringSink sink;
    sink.failWrite = 2;
    EXPECT_EQ(WriteReport(list, sink, golden.format, false), golden.format == FormatPlainText);
    EXPECT_TRUE(!*golden.itemsStart || sink.text == frame);
}

INSTANTIATE_TEST_SUITE_P(, RealReportTest, ::testing::ValuesIn(kGoldens));

TEST_F(ReportTest, OnlyTheLastWriteOfAnItemCounts) {
    Add("198.51.100.7 203.0.113.9");
    ShowColumns({ColumnOrder, ColumnIp});  // a plain item: rule, two lines, rule, empty line
    const int failures[][4] = {            // format, failing write, report written, writes
                               {FormatPlainText, 2, 1, 10},
                               {FormatPlainText, 5, 0, 5},
                               {0, 0, 0, 0},
                               {7, 0, 0, 0}};
    for (const auto& f : failures) {
        StringSink sink;
        sink.failWrite = f[1];
        EXPECT_EQ(WriteReport(list, sink, f[0], false), f[2] != 0) << f[0] << " " << f[1];
        EXPECT_EQ(sink.writes, f[3]) << f[0] << " " << f[1];
        EXPECT_EQ(list.OutputFormat(), FormatScreen);
    }
}

TEST_F(ReportTest, HtmlCellsKeepDoubleByteCharactersWholeAndLinkMailAddresses) {
    const char* const failed = "\xCA\xA7\xB0\xDC";  // 失败: the 0xB0 is a trail byte in code page 936
    const struct {
        int column;
        unsigned codePage;
        const char* value;
        const char* cell;
    } cells[] = {
        {ColumnOwnerName, 1252, "R&D <b> \"x\" 5\xB0 a\r\nb", "R&amp;D &lt;b&gt; &quot;x&quot; 5&deg; a\r<br>b"},
        {ColumnOwnerName, 1252, failed, "\xCA\xA7&deg;\xDC"},  // every byte on its own
        {ColumnOwnerName, 936, failed, failed},                // a lead byte and its trail pass together
        {ColumnOwnerName, 936, "\x95\\\x81\x40\x81\x7E", "\x95\\\x81\x40\x81\x7E"},  // trails 0x5C, 0x40, 0x7E
        {ColumnOwnerName, 936, "5\xB0", "5&deg;"},                                   // a lone 0xB0 is a degree sign
        {ColumnOwnerName, 936, "\xB0<", "&deg;&lt;"},
        {ColumnOwnerName, 936, "\xB0\x7F", "&deg;\x7F"},
        {ColumnOwnerName, 936, "\x81\"\x81\n\xFF&", "\x81&quot;\x81<br>\xFF&amp;"},  // a lead byte without trail
        {ColumnOwnerName, 936, "\xB0\xB0\xB0", "\xB0\xB0&deg;"},
        {ColumnOwnerName, 950, "\xA4\xB0", "\xA4\xB0"},
        {ColumnOwnerName, 932, "\x82\xB0", "\x82\xB0"},
        {ColumnOwnerName, 932, "\xB0", "&deg;"},  // a single-byte katakana there; the rule stays
        {ColumnOwnerName, 936, " Leading blank", " Leading blank&nbsp;"},
        {ColumnOwnerName, 936, "", "&nbsp;"},
        {ColumnEmail, 936, "noc@example.net", "<a href=\"mailto:noc@example.net\">noc@example.net</a>"},
        {ColumnAbuseEmail, 936, "abuse<x>@example.net",
         "<a href=\"mailto:abuse<x>@example.net\">abuse&lt;x&gt;@example.net</a>"},
        {ColumnEmail, 936, "a\"b@example.net", "a&quot;b@example.net"},  // no link around a quote
        {ColumnAddress, 936, "Av. Paulista, 1000, Sao Paulo", "Av. Paulista\r<br> 1000\r<br> Sao Paulo\r<br>"},
        {ColumnAddress, 936, ",A,,B,", "A\r<br>B\r<br>"},
    };
    Add("198.51.100.7");
    WhoisRecord& r = list.At(0)->record;
    for (const auto& c : cells) {
        Environment().codePage = c.codePage;
        for (char* field : {r.ownerName, r.email, r.abuseEmail, r.address}) std::strcpy(field, c.value);
        ShowColumns({c.column});
        const std::string report = Report(FormatHtmlHorizontal);
        const size_t start = report.find("<tr><td bgcolor=#FFFFF0 nowrap>") + 31;
        EXPECT_EQ(report.substr(start, report.find("\r\n</table>") - start), c.cell) << c.value;
    }
    EXPECT_EQ(Report(FormatTabbed), ",A,,B,\t\r\n");            // split for HTML only
    std::strcpy(r.ownerName, "\xCA\xA7\xB0\xDC\xB0 a\r\n<b>");  // XML knows neither &deg; nor <br>
    ShowColumns({ColumnOwnerName});
    EXPECT_NE(Report(FormatXml).find(">\xCA\xA7\xB0\xDC&#176; a\r&#10;&lt;b&gt;</"), std::string::npos);
}

TEST(XmlNames, BlanksAndSlashesBecomeUnderscoresCapitalsSmallCharactersStayWhole) {
    const struct {
        std::string text;
        unsigned codePage;
        std::string name;
    } names[] = {
        {"A B\\C/D e-f.G<1>??", 1252, "a_b_c_d_e-f.g_1___"},  // "?": a character the code page lacks
        {"\x95\\ \x81\x41Z", 936, "\x95\\_\x81\x41z"},        // trail bytes that look like "\" and "A"
        {"\x95\\ \x81\x41Z", 1252, "\x95__\x81\x61z"},
        {std::string(300, 'X'), 1252, std::string(254, 'x')},  // at most 254 bytes, never half a character
        {"a" + std::string(300, '\xB0'), 936, "a" + std::string(252, '\xB0')},
    };
    for (const auto& n : names) EXPECT_EQ(MakeXmlName(n.text.c_str(), n.codePage), n.name) << n.text;
    EXPECT_EQ(XmlEncodingName(874) + XmlEncodingName(28605) + XmlEncodingName(1361),
              "windows-874ISO-8859-15windows-1361");
}

TEST_F(ReportTest, TranslatedNamesShowButDoNotRenameXmlElements) {
    Add("198.51.100.7");
    ShowColumns({ColumnOrder, ColumnIp});
    const std::string xml = Report(FormatXml);
    list.DeleteAllRows();
    strings.translated[IDS_REPORT_TITLE] = "Report <b>";  // not escaped, as the translator wrote it
    strings.translated[IDS_COLUMN_IP] = "Adresse IP";
    strings.translated[IDS_COLUMN_ORDER] = "Sequence number no";  // 18 bytes: plain names are padded, never cut
    ResetUiStringCache();
    list.Attach(&view);
    list.Rebuild(true);
    EXPECT_EQ(Report(FormatXml), xml);
    const std::string html = Report(FormatHtmlHorizontal), plain = Report(FormatPlainText);
    for (const char* part : {"<title>Report <b></title>", "<h3>Report <b></h3>", "<th>Adresse IP\r\n"})
        EXPECT_NE(html.find(part), std::string::npos) << part;
    EXPECT_NE(plain.find("\r\nSequence number no: 1\r\nAdresse IP        : 198.51.100.7\r\n"), std::string::npos);
}

TEST_F(ReportTest, OneColourListHasItEverywhere) {
    struct OneColorList : AddressList {
        using AddressList::AddressList;
        const uint32_t* CellColors(int, int* count) const override {
            static const uint32_t kColor = 0x123456;
            *count = 1;
            return &kColor;
        }
    } single(&options);
    single.Attach(&view);
    options.addressText.SetText("198.51.100.7");
    single.AddAddressesFromText();
    for (int position : {0, 7, 17})
        EXPECT_EQ(GetCellStyle(single, FormatHtmlVertical, position, *single.At(0)), "563412");
}

TEST_F(ReportTest, WhoisRecordsOfSelectedRowsInReverseOrderEachClosedByStars) {
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

TEST_F(ReportTest, SaveFiltersKeepTheirIndexesAndTheRememberedOneIsInRange) {
    EXPECT_EQ(MakeFilterString(kWhoisFilters, 2), strings.builtin[IDS_WHOIS_FILTER_TEXT] + " (*.txt)\0*.txt\0"s +
                                                      strings.builtin[IDS_WHOIS_FILTER_ALL] + " (*.*)\0*.*\0\0"s);
    // A translation too long for the 1024 bytes drops the entries that do not
    // fit; later ones are not tried, as each kept entry must stay at its index.
    const std::string full = MakeFilterString(kReportFilters, 6);
    size_t second = 0;  // the end of the second entry: four NULs in
    for (int i = 0; i < 4; ++i) second = full.find('\0', second) + 1;
    const size_t room = kFilterStringSize - second - std::strlen(" (*.txt)") - std::strlen("*.txt") - 3;
    for (size_t length : {room, room + 1}) {
        strings.translated[IDS_FILTER_TABULAR] = std::string(length, 'T');
        ResetUiStringCache();
        const std::string third = length == room ? std::string(length, 'T') + " (*.txt)\0*.txt\0"s : "";
        EXPECT_EQ(MakeFilterString(kReportFilters, 6), full.substr(0, second) + third + "\0"s);
    }
    for (int saved : {-3, 0, 1, 6, 7}) EXPECT_EQ(ReportFilterIndex(saved), saved >= 1 && saved <= 6 ? saved : 1);
}

}  // namespace
