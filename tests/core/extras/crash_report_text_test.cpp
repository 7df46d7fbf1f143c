// The crash report's text: the two dumps and the report of both builds.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "extras/crash_report_text.h"

namespace {

struct Bytes {
    uint8_t b[kCrashDumpBytes];
    Bytes() {
        for (int i = 0; i < kCrashDumpBytes; ++i) b[i] = static_cast<uint8_t>(i * 7 + 0xA0);
    }
};

}  // namespace

TEST(CrashDumps, StackInGroupsOfFourAndCodeWithoutGroups) {
    Bytes bytes;
    const std::string stack = HexDump(bytes.b, kCrashDumpBytes, 4);
    const std::string code = HexDump(bytes.b, kCrashDumpBytes, 0);
    EXPECT_EQ(stack.size(), 447u);
    EXPECT_EQ(code.size(), 383u);
    EXPECT_EQ(stack.substr(0, 29), "  A0 A7 AE B5   BC C3 CA D1  ");
    EXPECT_EQ(code.substr(0, 24), "A0 A7 AE B5 BC C3 CA D1 ");
    EXPECT_EQ(code.substr(code.size() - 5), "12 19");
    EXPECT_EQ(stack.substr(stack.size() - 5), "12 19");
}

TEST(CrashDumps, ModuleNameIsTheLastComponent) {
    EXPECT_STREQ(ModuleFileName("C:\\Tools\\Ownerlens.exe"), "Ownerlens.exe");
    EXPECT_STREQ(ModuleFileName("/usr/lib/x/ntdll.dll"), "ntdll.dll");
    EXPECT_STREQ(ModuleFileName("C:\\a/b\\c.dll"), "c.dll");
    EXPECT_STREQ(ModuleFileName("plain.dll"), "plain.dll");
    EXPECT_STREQ(ModuleFileName("C:\\dir\\"), "");
}

TEST(CrashReport, ThirtyTwoBitText) {
    CrashReportData d;
    d.code = 0xC0000005;
    d.address = 0x00401A2B;
    d.module = "Ownerlens.exe";
    const uint64_t regs[9] = {1, 0x22, 0x333, 0x4444, 0x55555, 0x666666, 0x7777777, 0x0012FF80, 0x00401A2B};
    std::memcpy(d.registers, regs, sizeof regs);
    d.stackText = "  00 01 02 03";
    d.codeText = "";
    char out[kCrashReportSize];
    FormatCrashReport(out, sizeof out, d, RegisterWidth::Bits32);
    EXPECT_STREQ(out,
                 "Exception C0000005 at address 00401A2B in module Ownerlens.exe\r\n"
                 "Registers: \r\n"
                 "EAX=00000001 EBX=00000022 ECX=00000333 EDX=00004444\r\n"
                 "ESI=00055555 EDI=00666666 EBP=07777777 ESP=0012FF80\r\n"
                 "EIP=00401A2B\r\n"
                 "Stack Data:   00 01 02 03\r\n"
                 "Code Data: \r\n");
}

TEST(CrashReport, SixtyFourBitTextWithFullDumps) {
    Bytes bytes;
    const std::string stack = HexDump(bytes.b, kCrashDumpBytes, 4);
    const std::string code = HexDump(bytes.b, kCrashDumpBytes, 0);
    CrashReportData d;
    d.code = 0xC0000094;
    d.address = 0x00007FF612341234ull;
    const uint64_t regs[9] = {0xFFFFFFFFFFFFFFFFull, 2, 3, 4, 5, 6, 7, 0x22FE40, 0x00007FF612341234ull};
    std::memcpy(d.registers, regs, sizeof regs);
    d.stackText = stack.c_str();
    d.codeText = code.c_str();
    char out[kCrashReportSize];
    FormatCrashReport(out, sizeof out, d, RegisterWidth::Bits64);
    const std::string expected =
        "Exception C0000094 at address 00007FF612341234 in module {Unknown}\r\n"
        "Registers: \r\n"
        "RAX=FFFFFFFFFFFFFFFF RBX=0000000000000002 RCX=0000000000000003 RDX=0000000000000004\r\n"
        "RSI=0000000000000005 RDI=0000000000000006 RBP=0000000000000007 RSP=000000000022FE40\r\n"
        "RIP=00007FF612341234\r\n"
        "Stack Data: " +
        stack + "\r\nCode Data: " + code + "\r\n";
    EXPECT_EQ(std::string(out), expected);
    EXPECT_LT(expected.size(), static_cast<size_t>(kCrashReportSize));
}

TEST(CrashReport, AnOverlongModuleNameIsCutAtTheBuffer) {
    const std::string module(3000, 'm');
    CrashReportData d;
    d.module = module.c_str();
    char out[kCrashReportSize];
    FormatCrashReport(out, sizeof out, d, RegisterWidth::Bits32);
    EXPECT_EQ(std::strlen(out), static_cast<size_t>(kCrashReportSize - 1));
}
