// ParseArinResponse on any bytes: a bounded record or a referral, never more.
#include "fuzz_support.h"
#include "whois/arin_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InstallFuzzTables();
    const std::string text = FuzzText(data, size);
    WhoisRecord record;
    ClearRecord(&record);
    record.allocated = 2;
    const int result = ParseArinResponse(&record, text.c_str());
    FUZZ_CHECK(result == 0 || (result >= 2 && result <= 5));
    CheckRecord(record);
    if (result == 0) FUZZ_CHECK(record.whoisSource == 1);
    return 0;
}
