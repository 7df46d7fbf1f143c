// What the reports make of single values: HTML cells (escaping that keeps
// double-byte characters whole, links, address lines), XML element names,
// translated names, and a one-colour list.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "report_test_support.h"
#include "reports/html_report_writer.h"
#include "reports/xml_report_writer.h"
#include "resources/resource_ids.h"
#include "views/result_columns.h"

namespace {

using HtmlCellTest = ReportListTest;

TEST_F(HtmlCellTest, EscapingKeepsDoubleByteCharactersWholeAndDecoratesCells) {
    const char* const failed = "\xCA\xA7\xB0\xDC";  // 失败: the 0xB0 is a trail byte in code page 936
    struct Cell {
        int column;
        unsigned codePage;
        const char* value;
        const char* cell;
    };
    const Cell cells[] = {
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
    for (const Cell& c : cells) {
        Environment().codePage = c.codePage;
        for (char* field : {r.ownerName, r.email, r.abuseEmail, r.address}) std::strcpy(field, c.value);
        ShowColumns({c.column});
        const std::string report = Report(FormatHtmlHorizontal);
        const size_t start = report.find("<tr><td bgcolor=#FFFFF0 nowrap>") + 31;
        EXPECT_EQ(report.substr(start, report.find("\r\n</table>") - start), c.cell) << c.value;
    }
    std::strcpy(r.address, "A,,B");  // split for HTML only
    EXPECT_EQ(Report(FormatTabbed), "A,,B\t\r\n");
}

TEST(XmlNames, BlanksAndSlashesBecomeUnderscoresCapitalsSmallCharactersStayWhole) {
    const struct {
        std::string text;
        unsigned codePage;
        std::string name;
    } names[] = {
        {"A B\\C/D e-f.G<1>", 1252, "a_b_c_d_e-f.g<1>"},
        {"\x95\\ \x81\x41Z", 936, "\x95\\_\x81\x41z"},  // trail bytes that look like "\" and "A"
        {"\x95\\ \x81\x41Z", 1252, "\x95__\x81\x61z"},
        {std::string(300, 'X'), 1252, std::string(254, 'x')},  // at most 254 bytes, never half a character
        {"a" + std::string(300, '\xB0'), 936, "a" + std::string(252, '\xB0')},
    };
    for (const auto& n : names) EXPECT_EQ(MakeXmlName(n.text.c_str(), n.codePage), n.name) << n.text;
}

TEST_F(HtmlCellTest, TranslatedNamesShowButDoNotRenameXmlElements) {
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

TEST_F(HtmlCellTest, OneColourListHasItEverywhere) {
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

}  // namespace
