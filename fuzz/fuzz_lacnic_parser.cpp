// ParseLacnicResponse on any bytes: always 0 and a bounded record.
#include "fuzz_support.h"
#include "whois/lacnic_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InstallFuzzTables();
    const std::string text = FuzzText(data, size);
    WhoisRecord record;
    ClearRecord(&record);
    record.allocated = 2;
    FUZZ_CHECK(ParseLacnicResponse(&record, text.c_str()) == 0);
    CheckRecord(record);
    FUZZ_CHECK(record.allocated == 2);
    FUZZ_CHECK(record.whoisSource == 4);
    return 0;
}
