#pragma once
// The text of the crash report: what faulted where, the registers, and the
// bytes at the stack and instruction pointers.

#include <cstddef>
#include <cstdint>
#include <string>

constexpr int kCrashDumpBytes = 128;
constexpr int kCrashReportSize = 2048;

// Hexadecimal dump: each byte as two upper-case digits, one space between
// bytes and two more before every group of `group` bytes (0: no groups).
// 128 bytes give 447 characters in groups of 4 and 383 without groups.
std::string HexDump(const uint8_t* bytes, int count, int group);

// The file name of a module path: the text after its last '\' or '/'.
const char* ModuleFileName(const char* path);

enum class RegisterWidth { Bits32, Bits64 };

struct CrashReportData {
    uint32_t code = 0;     // exception code
    uint64_t address = 0;  // exception address
    const char* module = "{Unknown}";
    // AX, BX, CX, DX, SI, DI, BP, SP, IP (E.. or R..).
    uint64_t registers[9] = {};
    const char* stackText = "";
    const char* codeText = "";
};

// Writes the report into out (at most outSize - 1 characters). The 32-bit
// report shows 8 hexadecimal digits per value; the 64-bit one shows RAX to
// RIP and the address with 16.
void FormatCrashReport(char* out, size_t outSize, const CrashReportData& data, RegisterWidth width);
