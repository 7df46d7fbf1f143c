// The RDAP readers on any bytes: the mapping, the rate-limit test and the
// pane's text, for each registry.
#include <string>

#include "fuzz_support.h"
#include "whois/rdap_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    InstallFuzzTables();
    const char* text = reinterpret_cast<const char*>(data);
    const int registry = size ? data[size - 1] % 5 + 1 : 1;
    WhoisRecord record;
    std::memset(&record, 0x5A, sizeof record);  // whatever the record held, it is cleared
    const int result = ParseRdapResponse(&record, text, size, registry);
    FUZZ_CHECK(result == 0 || result == -1);
    if (result == 0) {
        CheckRecord(record);
        FUZZ_CHECK(record.allocated == 2 && record.whoisSource == registry);
    } else {
        static const WhoisRecord cleared = {};
        FUZZ_CHECK(std::memcmp(&record, &cleared, sizeof record) == 0);
    }
    RdapRateLimited(text, size);
    std::string pane;
    FUZZ_CHECK(FormatRdapForPane(text, size, &pane) == !pane.empty());
    return 0;
}
