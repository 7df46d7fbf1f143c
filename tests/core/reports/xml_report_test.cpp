// The XML export byte for byte, and the element names.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "report_test_support.h"
#include "reports/xml_report_writer.h"
#include "views/result_columns.h"

namespace {

const char kDeclaration[] = "<?xml version=\"1.0\"  encoding=\"ISO-8859-1\" ?>\r\n";
#define OL_ROOT "ip_\xB5\xD8\xD6\xB7\xB1\xA8\xB8\xE6"  // ip_地址报告

// The element names of the eighteen columns, by column id.
const char* const kNames[18] = {
    "\xCB\xB3\xD0\xF2",                          // 顺序
    "ip_\xB5\xD8\xD6\xB7",                       // ip_地址
    "\xD7\xB4\xCC\xAC",                          // 状态
    "\xB9\xFA\xBC\xD2",                          // 国家
    "\xCD\xF8\xC2\xE7\xC3\xFB\xB3\xC6",          // 网络名称
    "\xCB\xF9\xD3\xD0\xD5\xDF\xC3\xFB\xB3\xC6",  // 所有者名称
    "\xC0\xB4\xD7\xD4_ip",                       // 来自_ip
    "\xB5\xBD_ip",                               // 到_ip
    "\xB7\xD6\xC5\xE4",                          // 分配
    "\xC1\xAA\xCF\xB5\xC3\xFB\xB3\xC6",          // 联系名称
    "\xB5\xD8\xD6\xB7",                          // 地址
    "\xD3\xCA\xBC\xFE",                          // 邮件
    "\xB5\xE7\xD7\xD3\xD3\xCA\xBC\xFE",          // 电子邮件
    "\xB5\xE7\xBB\xB0",                          // 电话
    "\xB4\xAB\xD5\xE6",                          // 传真
    "whois_\xC0\xB4\xD4\xB4",                    // whois_来源
    "\xD6\xF7\xBB\xFA\xC3\xFB",                  // 主机名
    "\xBD\xE2\xCE\xF6\xC3\xFB\xB3\xC6",          // 解析名称
};

std::string Element(int column, const std::string& value) {
    return std::string("<") + kNames[column] + ">" + value + "</" + kNames[column] + ">\r\n";
}

using XmlReportTest = ReportListTest;

TEST_F(XmlReportTest, NamesFromTheProgramsOwnHeaders) {
    ASSERT_EQ(list.ColumnCount(), 18);
    for (int column = 0; column < 18; ++column) {
        EXPECT_EQ(MakeXmlName(list.Columns()[static_cast<size_t>(column)].rawHeader, 936), kNames[column]) << column;
    }
    EXPECT_EQ(MakeXmlName(list.ReportTitleRaw(), 936), OL_ROOT);

    // Blanks, backslashes and slashes become "_", capitals small; nothing else changes.
    EXPECT_EQ(MakeXmlName("A B\\C/D e-f.G<1>", 1252), "a_b_c_d_e-f.g<1>");
    // Two-byte characters stay whole, also when a trail byte looks like a
    // backslash or a capital (0x5C, 0x41).
    EXPECT_EQ(MakeXmlName("\x95\\ \x81\x41Z", 936), "\x95\\_\x81\x41z");
    EXPECT_EQ(MakeXmlName("\x95\\ \x81\x41Z", 1252), "\x95__\x81\x61z");
    // At most 254 bytes, never half a character.
    EXPECT_EQ(MakeXmlName(std::string(300, 'X').c_str(), 1252), std::string(254, 'x'));
    EXPECT_EQ(MakeXmlName(("a" + std::string(300, '\xB0')).c_str(), 936), "a" + std::string(252, '\xB0'));
}

TEST_F(XmlReportTest, EmptyReportIsDeclarationAndRoot) {
    EXPECT_EQ(Report(FormatXml), std::string(kDeclaration) + "<" OL_ROOT ">\r\n</" OL_ROOT ">\r\n");
    Add("198.51.100.7");
    EXPECT_EQ(Report(FormatXml, true), std::string(kDeclaration) + "<" OL_ROOT ">\r\n</" OL_ROOT ">\r\n");
}

TEST_F(XmlReportTest, ItemsWithEscapedValues) {
    Add("198.51.100.7 203.0.113.9");
    WhoisRecord& r = list.At(0)->record;
    std::strcpy(r.ownerName, "R&D Ltd");
    std::strcpy(r.address, "Rua A, 10, Recife");
    std::strcpy(r.networkName, "line one\nline two\r\n5\xB0 \"q\" <x>");
    std::strcpy(r.email, "noc@example.net");
    ShowColumns({ColumnOrder, ColumnOwnerName, ColumnAddress, ColumnNetworkName, ColumnEmail, ColumnFax});
    EXPECT_EQ(Report(FormatXml), std::string(kDeclaration) + "<" OL_ROOT ">\r\n" + "<item>\r\n" + Element(0, "1") +
                                     Element(5, "R&amp;D Ltd") + Element(10, "Rua A, 10, Recife") +
                                     Element(4, "line one<br>line two\r<br>5&deg; &quot;q&quot; &lt;x&gt;") +
                                     Element(11, "noc@example.net") + Element(14, "") + "</item>\r\n" + "<item>\r\n" +
                                     Element(0, "2") + Element(5, "") + Element(10, "") + Element(4, "") +
                                     Element(11, "") + Element(14, "") + "</item>\r\n" + "</" OL_ROOT ">\r\n");
}

TEST_F(XmlReportTest, HiddenAndReorderedColumns) {
    Add("198.51.100.7");
    list.At(0)->status = LookupStatus::Failed;
    // Column 1 moved in front, column 2 hidden; the others in their default order.
    for (int id = 0; id < 18; ++id) view.columns[static_cast<size_t>(id)].position = id + 1;
    view.columns[ColumnIp].position = 0;
    view.columns[ColumnStatus].width = 0;
    std::string expected =
        std::string(kDeclaration) + "<" OL_ROOT ">\r\n<item>\r\n" + Element(1, "198.51.100.7") + Element(0, "1");
    for (int id = ColumnCountry; id < 18; ++id) {
        expected += Element(id, id == ColumnAllocated ? "\xC8\xB7\xB6\xA8" : "");  // 确定
    }
    expected += "</item>\r\n</" OL_ROOT ">\r\n";
    EXPECT_EQ(Report(FormatXml), expected);

    // The status of a failed item, in code page 936, keeps its 0xB0 byte.
    ShowColumns({ColumnStatus});
    const std::string failed = Report(FormatXml);
    EXPECT_NE(failed.find(Element(2, "\xCA\xA7\xB0\xDC")), std::string::npos);
    EnvironmentScope::Current().codePage = 1252;
    EXPECT_NE(Report(FormatXml).find(Element(2, "\xCA\xA7&deg;\xDC")), std::string::npos);
}

TEST_F(XmlReportTest, TranslationsDoNotRenameElements) {
    strings.translated[8] = "Address Report";
    strings.translated[1002] = "Adresse IP";
    ResetUiStringCache();
    list.Attach(&view);
    Add("198.51.100.7");
    ShowColumns({ColumnIp});
    EXPECT_EQ(Report(FormatXml), std::string(kDeclaration) + "<" OL_ROOT ">\r\n<item>\r\n" +
                                     Element(1, "198.51.100.7") + "</item>\r\n</" OL_ROOT ">\r\n");
}

TEST_F(XmlReportTest, AFailedItemStopsTheItemsButNotTheRootEndTag) {
    Add("198.51.100.7 203.0.113.9");
    ShowColumns({ColumnOrder});
    StringSink sink;
    sink.failWrite = 2;
    EXPECT_FALSE(WriteReport(list, sink, FormatXml, false));
    EXPECT_EQ(sink.text, std::string(kDeclaration) + "<" OL_ROOT ">\r\n</" OL_ROOT ">\r\n");
}

}  // namespace
