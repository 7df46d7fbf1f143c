#pragma once
// The file types offered by the save dialogs, and the filter string the
// platform's dialog takes.

#include <cstddef>
#include <cstdint>
#include <string>

struct SaveFilter {
    uint32_t textId;      // display text in the string table
    const char* pattern;  // "*.txt", "*.htm;*.html"
};

// The report file types; the 1-based index of an entry is the report format
// it writes.
extern const SaveFilter kReportFilters[6];
// Text files and all files, for the WHOIS records.
extern const SaveFilter kWhoisFilters[2];

// Bytes of the filter string, terminators included.
constexpr size_t kFilterStringSize = 1024;

// For each entry "text (pattern)", NUL, the pattern, NUL; then one more NUL.
// Entries that would not fit in kFilterStringSize bytes are left out.
std::string MakeFilterString(const SaveFilter* filters, int count);

// The report filter to open the save dialog on: the saved index when it names
// one of the six, else the first.
int ReportFilterIndex(int32_t saved);
