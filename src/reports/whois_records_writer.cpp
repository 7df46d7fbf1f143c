#include "reports/whois_records_writer.h"

#include <cstring>
#include <string>

#include "whois/record_helpers.h"

namespace {

const char kSeparator[] = "\r\n********************************************************************************\r\n";
static_assert(sizeof kSeparator == 2 + 80 + 2 + 1, "an empty line and 80 \"*\"");

}  // namespace

void WriteWhoisRecord(ByteSink& sink, const char* rawText) {
    std::string text;
    char line[1024];
    size_t position = 0;
    while (NextLine(rawText, &position, line)) {
        text += line;
        text += "\r\n";
    }
    text += kSeparator;
    // Write errors are not reported for this file.
    sink.Write(text.data(), text.size());
}

void WriteSelectedWhoisRecords(AddressList& list, ByteSink& sink) {
    for (int row = list.RowCount() - 1; row >= 0; --row) {
        if (!list.IsRowSelected(row)) continue;
        const LookupItem* item = list.At(list.ItemIndexOfRow(row));
        WriteWhoisRecord(sink, item ? item->RawText() : "");
    }
}
