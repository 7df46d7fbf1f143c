// ParseDottedQuad on any text: an accepted address writes back to the same
// value, and a rejected one touches the output only with storePartial.
#include "fuzz_support.h"
#include "base/address_helpers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text = FuzzText(data, size);
    uint32_t strict = 0xDEADBEEFu;
    const int ok = ParseDottedQuad(text.c_str(), &strict, 0);
    FUZZ_CHECK(ok == 0 || ok == 1);
    uint32_t partial = 0xDEADBEEFu;
    FUZZ_CHECK(ParseDottedQuad(text.c_str(), &partial, 1) == ok);
    if (!ok) {
        FUZZ_CHECK(strict == 0xDEADBEEFu);
        return 0;
    }
    FUZZ_CHECK(partial == strict);
    char written[16];
    FormatDottedQuad(strict, written);
    uint32_t again = 0;
    FUZZ_CHECK(ParseDottedQuad(written, &again, 0) == 1 && again == strict);
    FUZZ_CHECK(std::strlen(text.c_str()) <= 15);  // four groups of at most three digits
    return 0;
}
