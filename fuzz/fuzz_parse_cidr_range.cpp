// ParseCidrRange on any text: a range is a prefix block around the address
// read, and a failure leaves both outputs alone.
#include "fuzz_support.h"
#include "base/address_helpers.h"
#include "whois/lacnic_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text = FuzzText(data, size);
    uint32_t first = 0x5A5A5A5Au, last = 0xA5A5A5A5u;
    if (!ParseCidrRange(text.c_str(), &first, &last)) {
        FUZZ_CHECK(first == 0x5A5A5A5Au && last == 0xA5A5A5A5u);
        return 0;
    }
    FUZZ_CHECK(first != 0);
    const uint32_t low = SwapByteOrder(first), high = SwapByteOrder(last);
    FUZZ_CHECK(low <= high);
    bool isBlock = false;  // high is low with its lowest 0 to 31 bits set
    for (int bits = 0; bits < 32 && !isBlock; ++bits) isBlock = (low | ((1u << bits) - 1)) == high;
    FUZZ_CHECK(isBlock);
    FUZZ_CHECK(std::strchr(text.c_str(), '/') != nullptr);
    return 0;
}
