// ParseAddressRange on any value that fits a line: addresses only from
// dotted quads of the value.
#include "fuzz_support.h"
#include "base/address_helpers.h"
#include "whois/record_helpers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    WhoisRecord record;
    ClearRecord(&record);
    const size_t length = size < 1022 ? size : 1022;
    std::memcpy(record.line, data, length);
    record.line[length] = '\0';
    record.value = record.line;
    ParseAddressRange(&record);
    // Whatever was found must be an address that is written in the value.
    for (uint32_t ip : {record.fromIp, record.toIp}) {
        if (ip == 0) continue;
        char text[16];
        FormatDottedQuad(ip, text);
        uint32_t again = 0;
        FUZZ_CHECK(ParseDottedQuad(text, &again, 0) == 1 && again == ip);
    }
    return 0;
}
