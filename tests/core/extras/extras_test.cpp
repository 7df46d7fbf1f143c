// The crash report's text, the About box's texts, the browser of the public-address page.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/browser_command.h"
#include "extras/crash_report_text.h"
#include "extras/unscramble.h"

TEST(CrashReport, TextOfBothBuildsWithItsDumps) {
    uint8_t bytes[kCrashDumpBytes];
    for (int i = 0; i < kCrashDumpBytes; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 0xA0);
    const std::string stack = HexDump(bytes, kCrashDumpBytes, 4), code = HexDump(bytes, kCrashDumpBytes, 0);
    EXPECT_EQ(stack.substr(0, 29) + "|" + stack.substr(stack.size() - 5), "  A0 A7 AE B5   BC C3 CA D1  |12 19");
    EXPECT_EQ(code.substr(0, 24) + "|" + code.substr(code.size() - 5), "A0 A7 AE B5 BC C3 CA D1 |12 19");
    CrashReportData d;
    d.code = 0xC0000005;
    d.address = 0x00007FF600401A2Bull;
    const uint64_t registers[9] = {
        0xFFFFFFFF00000001ull, 0x22, 0x333, 0x4444, 0x55555, 0x666666, 0x7777777, 0x22FE40, 9};
    std::memcpy(d.registers, registers, sizeof registers);
    d.stackText = "  00 01 02 03";
    char out[kCrashReportSize];
    FormatCrashReport(out, sizeof out, d, RegisterWidth::Bits32);
    EXPECT_STREQ(out,
                 "Exception C0000005 at address 00401A2B in module {Unknown}\r\nRegisters: \r\n"
                 "EAX=00000001 EBX=00000022 ECX=00000333 EDX=00004444\r\n"
                 "ESI=00055555 EDI=00666666 EBP=07777777 ESP=0022FE40\r\n"
                 "EIP=00000009\r\nStack Data:   00 01 02 03\r\nCode Data: \r\n");
    d.module = ModuleFileName("C:\\a/b\\Ownerlens.exe");
    FormatCrashReport(out, sizeof out, d, RegisterWidth::Bits64);
    EXPECT_STREQ(out,
                 "Exception C0000005 at address 00007FF600401A2B in module Ownerlens.exe\r\nRegisters: \r\n"
                 "RAX=FFFFFFFF00000001 RBX=0000000000000022 RCX=0000000000000333 RDX=0000000000004444\r\n"
                 "RSI=0000000000055555 RDI=0000000000666666 RBP=0000000007777777 RSP=000000000022FE40\r\n"
                 "RIP=0000000000000009\r\nStack Data:   00 01 02 03\r\nCode Data: \r\n");
    EXPECT_EQ(std::string(ModuleFileName("plain.dll")) + ModuleFileName("C:\\dir\\"), "plain.dll");
}

TEST(Unscramble, AboutBoxTexts) {
    char text[64], cut[5];
    UnscrambleText(kScrambledProductText, text, sizeof text);
    UnscrambleText(kScrambledLinkText, cut, sizeof cut);  // bounded by the destination
    EXPECT_EQ(std::string(text) + "|" + cut, "Ownerlens v1.0.0|http");
    EXPECT_STREQ((UnscrambleText(kScrambledLinkText, text, sizeof text), text), "http://www.velmora.example/");
}

TEST(BrowserCommand, PathOfTheCommand) {
    std::string paths, path;
    for (const char* command :
         {"\"C:\\Program Files\\web.exe\" -url \"%1\"", "C:\\Program Files\\Web\\web.exe -nohome %1", "C:\\web.exe",
          "\"\" %1", "\"C:\\web.exe -url %1", "web.exe %1", ""})
        paths += (BrowserPathFromCommand(command, &path) ? path : "-") + "|";
    EXPECT_EQ(paths, "C:\\Program Files\\web.exe|C:\\Program Files\\Web\\web.exe|C:\\web.exe||-|-|-|");
}
