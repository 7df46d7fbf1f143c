// The HTML reports byte for byte: head, both item layouts, tail, the cell
// colours, the cell texts and their escaping.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "report_test_support.h"
#include "reports/html_escape.h"
#include "reports/html_report_writer.h"
#include "views/result_columns.h"

namespace {

const char kDoctype[] = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">\r\n";
const char kCreatedBy[] =
    "<br><h4>" OL_CREATED_BY " <a href=\"http://www.velmora.example/\" target=\"newwin\">Ownerlens</a></h4><p>";
const char kOrder[] = "\xCB\xB3\xD0\xF2";                          // 顺序
const char kIp[] = "IP \xB5\xD8\xD6\xB7";                          // IP 地址
const char kOwner[] = "\xCB\xF9\xD3\xD0\xD5\xDF\xC3\xFB\xB3\xC6";  // 所有者名称
const char kFailed[] = "\xCA\xA7\xB0\xDC";                         // 失败: the 0xB0 is a lead byte here

// The eighteen gradient colours, report position 0 to 17.
const char* const kGradient[18] = {"FFFFF0", "FFFDF0", "FFFBF0", "FFF9F0", "FFF7F0", "FFF6F0",
                                   "FFF4F0", "FFF2F0", "FFF0F0", "FEF0F0", "FCF0F2", "FAF0F4",
                                   "F8F0F6", "F7F0F7", "F5F0F9", "F3F0FB", "F1F0FD", "F0F0FF"};

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

class HtmlReportTest : public ReportListTest {
  protected:
    std::string Escaped(const char* text, unsigned codePage) {
        std::string out;
        EscapeHtml(text, out, codePage);
        return out;
    }
    // The cell texts of the first row of a horizontal report.
    std::string FirstRow() {
        const std::string report = Report(FormatHtmlHorizontal);
        const size_t start = report.find("<tr><td");
        return report.substr(start, report.find("\r\n", start) + 2 - start);
    }
};

TEST_F(HtmlReportTest, HeadRowsAndTailOfBothLayouts) {
    Add("198.51.100.7");
    ShowColumns({ColumnIp, ColumnOrder, ColumnOwnerName});
    const std::string head = std::string(kDoctype) +
                             "<html><head><title>" OL_REPORT_TITLE "</title></head>\r\n<body>\r\n <h3>" OL_REPORT_TITLE
                             "</h3>\r\n" +
                             kCreatedBy;
    EXPECT_EQ(Report(FormatHtmlHorizontal),
              head + "<table border=\"1\" cellpadding=\"5\"><tr bgcolor=\"E0E0E0\">\r\n" + "<th>" + kIp + "\r\n<th>" +
                  kOrder + "\r\n<th>" + kOwner + "\r\n" +
                  "<tr><td bgcolor=#FFFFF0 nowrap>198.51.100.7<td bgcolor=#FFFDF0 nowrap>1"
                  "<td bgcolor=#FFFBF0 nowrap>&nbsp;\r\n" +
                  "</table>\r\n\r\n</body></html>");
    EXPECT_EQ(Report(FormatHtmlVertical),
              head + "<table border=\"1\" cellpadding=\"5\">\r\n" + "<tr><td bgcolor=\"E0E0E0\" nowrap><b>" + kIp +
                  "</b><td bgcolor=#FFFFF0 nowrap>198.51.100.7\r\n" + "<tr><td bgcolor=\"E0E0E0\" nowrap><b>" + kOrder +
                  "</b><td bgcolor=#FFFDF0 nowrap>1\r\n" + "<tr><td bgcolor=\"E0E0E0\" nowrap><b>" + kOwner +
                  "</b><td bgcolor=#FFFBF0 nowrap>&nbsp;\r\n" + "</table><p>\r\n" + "\r\n</body></html>");
}

TEST_F(HtmlReportTest, CharsetAndRightToLeft) {
    Add("198.51.100.7");
    ShowColumns({ColumnOrder});
    EnvironmentScope::Current().charset = "gb2312";
    EnvironmentScope::Current().rightToLeft = true;
    const std::string head =
        std::string(kDoctype) +
        "<html><head><meta http-equiv='content-type' content='text/html;charset=gb2312'><title>" OL_REPORT_TITLE
        "</title></head>\r\n<body>\r\n<table dir=\"rtl\"><tr><td>\r\n <h3>" OL_REPORT_TITLE "</h3>\r\n" +
        kCreatedBy;
    const std::string horizontal = Report(FormatHtmlHorizontal);
    EXPECT_EQ(horizontal.substr(0, head.size()), head);
    EXPECT_EQ(horizontal.substr(head.size()),
              std::string("<table border=\"1\" cellpadding=\"5\"><tr bgcolor=\"E0E0E0\">\r\n<th>") + kOrder +
                  "\r\n<tr><td bgcolor=#FFFFF0 nowrap>1\r\n" + "</table>\r\n</table>\r\n</body></html>");
    const std::string vertical = Report(FormatHtmlVertical);
    EXPECT_EQ(vertical.substr(0, head.size()), head);
    EXPECT_TRUE(EndsWith(vertical, "</table><p>\r\n</table>\r\n</body></html>"));

    // Only the language file's texts: the title and the header through it.
    EnvironmentScope::Current().charset.clear();
    EnvironmentScope::Current().rightToLeft = false;
    strings.translated[8] = "Report <b>";  // not escaped, as the translator wrote it
    ResetUiStringCache();
    list.Attach(&view);
    EXPECT_NE(Report(FormatHtmlVertical).find("<title>Report <b></title></head>\r\n<body>\r\n <h3>Report <b></h3>"),
              std::string::npos);
}

TEST_F(HtmlReportTest, EmptyReportsStillHaveHeadAndTail) {
    Add("198.51.100.7 203.0.113.9");
    ShowColumns({ColumnOrder});
    // Nothing selected: the vertical layout is the head and the tail only.
    const std::string vertical = Report(FormatHtmlVertical, true);
    EXPECT_TRUE(EndsWith(vertical, "</a></h4><p>\r\n</body></html>"));
    // Three selected items in the vertical layout: three tables.
    Add("192.0.2.1");
    list.SetRowState(-1, kRowSelected, kRowSelected);
    const std::string three = Report(FormatHtmlVertical, true);
    size_t tables = 0;
    for (size_t at = three.find("</table><p>\r\n"); at != std::string::npos;
         at = three.find("</table><p>\r\n", at + 1)) {
        ++tables;
    }
    EXPECT_EQ(tables, 3u);
}

TEST_F(HtmlReportTest, GradientAcrossTheColumnTable) {
    Add("198.51.100.7");
    for (int position = 0; position < 18; ++position) {
        EXPECT_EQ(GetCellStyle(list, FormatHtmlHorizontal, position, *list.At(0)), kGradient[position]) << position;
    }
    // Every column shown: the row carries the eighteen colours in order.
    const std::string row = FirstRow();
    size_t at = 0;
    for (int position = 0; position < 18; ++position) {
        at = row.find(std::string("<td bgcolor=#") + kGradient[position] + " nowrap>", at);
        ASSERT_NE(at, std::string::npos) << position;
    }

    // The owner name at position 5 is FFF6F0; with a column left of it
    // hidden it moves to position 4 and gets FFF7F0.
    ShowColumns({ColumnOrder, ColumnIp, ColumnStatus, ColumnCountry, ColumnNetworkName, ColumnOwnerName});
    EXPECT_NE(FirstRow().find("<td bgcolor=#FFF6F0 nowrap>&nbsp;\r\n"), std::string::npos);
    ShowColumns({ColumnIp, ColumnStatus, ColumnCountry, ColumnNetworkName, ColumnOwnerName});
    EXPECT_NE(FirstRow().find("<td bgcolor=#FFF7F0 nowrap>&nbsp;\r\n"), std::string::npos);

    EXPECT_EQ(HtmlColor(0xF0FFFF), "FFFFF0");
    EXPECT_EQ(HtmlColor(0x0A0B0C), "0C0B0A");
}

// A list whose cells have a single background colour.
class OneColorList : public AddressList {
  public:
    using AddressList::AddressList;
    const uint32_t* CellColors(int, int* count) const override {
        static const uint32_t kColor = 0x123456;
        *count = 1;
        return &kColor;
    }
};

TEST_F(HtmlReportTest, OneColourEverywhere) {
    OneColorList single(&options);
    FakeReportView singleView;
    single.Attach(&singleView);
    singleView.InsertColumns(single);
    options.addressText.SetText("198.51.100.7");
    single.AddAddressesFromText();
    single.Rebuild(true);
    for (int position : {0, 7, 17})
        EXPECT_EQ(GetCellStyle(single, FormatHtmlVertical, position, *single.At(0)), "563412");
}

TEST_F(HtmlReportTest, CellTexts) {
    Add("198.51.100.7");
    LookupItem& item = *list.At(0);
    WhoisRecord& r = item.record;
    std::strcpy(r.ownerName, " Leading blank");
    std::strcpy(r.email, "noc@example.net");
    std::strcpy(r.abuseEmail, "abuse<x>@example.net");
    std::strcpy(r.phone, "\"+1\" 555");
    std::strcpy(r.address, "Av. Paulista, 1000, Sao Paulo");
    std::strcpy(r.country, " ");
    ShowColumns({ColumnOwnerName, ColumnEmail, ColumnAbuseEmail, ColumnPhone, ColumnAddress, ColumnCountry, ColumnFax});
    const std::string row = FirstRow();
    EXPECT_EQ(row,
              std::string("<tr>") + "<td bgcolor=#FFFFF0 nowrap> Leading blank&nbsp;" +
                  "<td bgcolor=#FFFDF0 nowrap><a href=\"mailto:noc@example.net\">noc@example.net</a>" +
                  "<td bgcolor=#FFFBF0 nowrap><a href=\"mailto:abuse<x>@example.net\">abuse&lt;x&gt;@example.net</a>" +
                  "<td bgcolor=#FFF9F0 nowrap>&quot;+1&quot; 555" +
                  "<td bgcolor=#FFF7F0 nowrap>Av. Paulista\r<br> 1000\r<br> Sao Paulo\r<br>" +
                  "<td bgcolor=#FFF6F0 nowrap> &nbsp;" + "<td bgcolor=#FFF4F0 nowrap>&nbsp;\r\n");

    // A mail value with a double quote stays plain escaped text.
    std::strcpy(r.email, "a\"b@example.net");
    ShowColumns({ColumnEmail});
    EXPECT_EQ(FirstRow(), "<tr><td bgcolor=#FFFFF0 nowrap>a&quot;b@example.net\r\n");

    // Runs of commas give no empty lines; the screen and text reports keep the value.
    std::strcpy(r.address, "A,,B");
    ShowColumns({ColumnAddress});
    EXPECT_EQ(FirstRow(), "<tr><td bgcolor=#FFFFF0 nowrap>A\r<br>B\r<br>\r\n");
    EXPECT_EQ(Report(FormatTabbed), "A,,B\t\r\n");
}

TEST_F(HtmlReportTest, EscapingKeepsDoubleByteCharactersWhole) {
    // Code page 1252: every byte on its own.
    EXPECT_EQ(Escaped("R&D <b> \"x\" 5\xB0 a\r\nb", 1252), "R&amp;D &lt;b&gt; &quot;x&quot; 5&deg; a\r<br>b");
    EXPECT_EQ(Escaped(kFailed, 1252), "\xCA\xA7&deg;\xDC");

    // Code page 936: a lead byte and its trail pass together.
    EXPECT_EQ(Escaped(kFailed, 936), kFailed);
    EXPECT_EQ(Escaped("\xCA\xB0", 936), "\xCA\xB0");                              // 拾: 0xB0 as trail byte
    EXPECT_EQ(Escaped("\x95\\\x81\x40\x81\x7E", 936), "\x95\\\x81\x40\x81\x7E");  // trails 0x5C, 0x40, 0x7E
    // A lone 0xB0 (at the end, or before a byte that cannot trail) is a degree sign.
    EXPECT_EQ(Escaped("5\xB0", 936), "5&deg;");
    EXPECT_EQ(Escaped("\xB0<", 936), "&deg;&lt;");
    EXPECT_EQ(Escaped("\xB0\x7F", 936), "&deg;\x7F");
    // A lead byte whose next byte cannot trail is a byte of its own, and the
    // next byte is escaped as usual.
    EXPECT_EQ(Escaped("\x81\"\x81\n\xFF&", 936), "\x81&quot;\x81<br>\xFF&amp;");
    // A character straddling a degree sign: B0 B0 is one character.
    EXPECT_EQ(Escaped("\xB0\xB0\xB0", 936), "\xB0\xB0&deg;");

    // Other double-byte code pages keep their characters too.
    EXPECT_EQ(Escaped("\xA4\xB0", 950), "\xA4\xB0");
    EXPECT_EQ(Escaped("\x82\xB0", 932), "\x82\xB0");
    EXPECT_EQ(Escaped("\xB0", 932), "&deg;");  // a single-byte katakana there; the rule stays
}

TEST_F(HtmlReportTest, StatusTextInCodePage936) {
    Add("198.51.100.7");
    list.At(0)->status = LookupStatus::Failed;
    ShowColumns({ColumnStatus});
    EXPECT_EQ(FirstRow(), std::string("<tr><td bgcolor=#FFFFF0 nowrap>") + kFailed + "\r\n");
    EnvironmentScope::Current().codePage = 1252;
    EXPECT_EQ(FirstRow(), "<tr><td bgcolor=#FFFFF0 nowrap>\xCA\xA7&deg;\xDC\r\n");
}

// Reverses the escaping in one pass; false when the text holds markup or
// an entity that the escaping does not produce.
bool Unescape(const std::string& escaped, std::string* out) {
    static const char* const kFrom[] = {"&amp;", "&lt;", "&gt;", "&quot;", "&deg;", "<br>"};
    static const char kTo[] = {'&', '<', '>', '"', '\xB0', '\n'};
    out->clear();
    for (size_t i = 0; i < escaped.size();) {
        const char c = escaped[i];
        if (c == '&' || c == '<') {
            bool matched = false;
            for (size_t k = 0; k < 6 && !matched; ++k) {
                if (escaped.compare(i, std::strlen(kFrom[k]), kFrom[k]) == 0) {
                    out->push_back(kTo[k]);
                    i += std::strlen(kFrom[k]);
                    matched = true;
                }
            }
            if (!matched) return false;
        } else if (c == '>' || c == '"') {
            return false;
        } else {
            out->push_back(c);
            ++i;
        }
    }
    return true;
}

TEST_F(HtmlReportTest, HostileValuesComeOutEscaped) {
    Add("198.51.100.7");
    WhoisRecord& r = list.At(0)->record;
    ShowColumns({ColumnOwnerName, ColumnNetworkName});

    std::strcpy(r.ownerName, "<script>alert(\"x\")</script>&amp;");
    std::strcpy(r.networkName, "</td></tr></table><!--");
    EXPECT_EQ(FirstRow(),
              "<tr><td bgcolor=#FFFFF0 nowrap>&lt;script&gt;alert(&quot;x&quot;)&lt;/script&gt;&amp;amp;"
              "<td bgcolor=#FFFDF0 nowrap>&lt;/td&gt;&lt;/tr&gt;&lt;/table&gt;&lt;!--\r\n");

    // 254 bytes of anything, in both code pages: the cell holds no markup but
    // the line breaks, and gives the value back.
    uint32_t seed = 12345;
    for (unsigned codePage : {936u, 1252u}) {
        EnvironmentScope::Current().codePage = codePage;
        for (int round = 0; round < 200; ++round) {
            for (int i = 0; i < 254; ++i) {
                seed = seed * 1103515245u + 12345u;
                r.ownerName[i] = static_cast<char>(1 + (seed >> 16) % 255);
            }
            r.ownerName[254] = '\0';
            const std::string row = FirstRow();
            const std::string prefix = "<tr><td bgcolor=#FFFFF0 nowrap>";
            ASSERT_EQ(row.compare(0, prefix.size(), prefix), 0);
            const size_t end = row.find("<td bgcolor=#FFFDF0 nowrap>", prefix.size());
            ASSERT_NE(end, std::string::npos);
            std::string cell = row.substr(prefix.size(), end - prefix.size());
            if (r.ownerName[0] == ' ') {
                ASSERT_EQ(cell.substr(cell.size() - 6), "&nbsp;");
                cell.resize(cell.size() - 6);
            }
            std::string back;
            ASSERT_TRUE(Unescape(cell, &back)) << codePage << " round " << round;
            EXPECT_EQ(back, r.ownerName) << codePage << " round " << round;
        }
    }
}

TEST_F(HtmlReportTest, TheHeadAndTailAreWrittenAroundAFailedItem) {
    Add("198.51.100.7 203.0.113.9");
    ShowColumns({ColumnOrder});
    StringSink sink;
    sink.failWrite = 2;  // the first item
    EXPECT_FALSE(WriteReport(list, sink, FormatHtmlHorizontal, false));
    EXPECT_EQ(sink.writes, 3);  // head, one item, tail
    EXPECT_TRUE(
        EndsWith(sink.text, "</a></h4><p><table border=\"1\" cellpadding=\"5\"><tr bgcolor=\"E0E0E0\">\r\n<th>" +
                                std::string(kOrder) + "\r\n</table>\r\n\r\n</body></html>"));
    EXPECT_EQ(list.OutputFormat(), FormatScreen);
}

}  // namespace
