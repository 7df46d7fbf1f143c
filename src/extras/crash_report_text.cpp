#include "extras/crash_report_text.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

std::string HexDump(const uint8_t* bytes, int count, int group) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    for (int i = 0; i < count; ++i) {
        if (i > 0) text += ' ';
        if (group > 0 && i % group == 0) text += "  ";
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 15];
    }
    return text;
}

const char* ModuleFileName(const char* path) {
    const char* name = path;
    for (const char* p = path; *p; ++p) {
        if (*p == '\\' || *p == '/') name = p + 1;
    }
    return name;
}

void FormatCrashReport(char* out, size_t outSize, const CrashReportData& d, RegisterWidth width) {
    if (outSize == 0) return;
    const uint64_t* r = d.registers;
    if (width == RegisterWidth::Bits32) {
        std::snprintf(out, outSize,
                      "Exception %8.8X at address %8.8X in module %s\r\nRegisters: \r\n"
                      "EAX=%8.8X EBX=%8.8X ECX=%8.8X EDX=%8.8X\r\nESI=%8.8X EDI=%8.8X EBP=%8.8X ESP=%8.8X\r\n"
                      "EIP=%8.8X\r\nStack Data: %s\r\nCode Data: %s\r\n",
                      d.code, static_cast<unsigned>(d.address), d.module, static_cast<unsigned>(r[0]),
                      static_cast<unsigned>(r[1]), static_cast<unsigned>(r[2]), static_cast<unsigned>(r[3]),
                      static_cast<unsigned>(r[4]), static_cast<unsigned>(r[5]), static_cast<unsigned>(r[6]),
                      static_cast<unsigned>(r[7]), static_cast<unsigned>(r[8]), d.stackText, d.codeText);
    } else {
#define OL_X64 "%16.16" PRIX64
        std::snprintf(out, outSize,
                      "Exception %8.8X at address " OL_X64
                      " in module %s\r\nRegisters: \r\n"
                      "RAX=" OL_X64 " RBX=" OL_X64 " RCX=" OL_X64 " RDX=" OL_X64
                      "\r\n"
                      "RSI=" OL_X64 " RDI=" OL_X64 " RBP=" OL_X64 " RSP=" OL_X64
                      "\r\n"
                      "RIP=" OL_X64 "\r\nStack Data: %s\r\nCode Data: %s\r\n",
                      d.code, d.address, d.module, r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7], r[8], d.stackText,
                      d.codeText);
#undef OL_X64
    }
}
