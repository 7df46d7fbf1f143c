// ParseRipeResponse on any bytes, for each of the three registries it serves.
#include "fuzz_support.h"
#include "whois/ripe_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InstallFuzzTables();
    const std::string text = FuzzText(data, size);
    static const int kRegistries[] = {2, 3, 5};  // RIPE NCC, APNIC, AfriNIC
    const int registry = size ? kRegistries[data[0] % 3] : 2;
    WhoisRecord record;
    ClearRecord(&record);
    record.allocated = 2;
    const int result = ParseRipeResponse(&record, text.c_str(), registry);
    FUZZ_CHECK(result == 0 || result == 5);
    CheckRecord(record);
    FUZZ_CHECK(record.allocated == 2);
    if (result == 0) FUZZ_CHECK(record.whoisSource == registry);
    return 0;
}
