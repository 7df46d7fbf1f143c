// PickAbuseAddress on any value: what it picks begins with "abuse@", is at
// most 254 characters and holds no separator.
#include <strings.h>

#include "fuzz_support.h"
#include "whois/record_helpers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string value = FuzzText(data, size);
    char output[256];
    std::memset(output, 'z', sizeof output);
    if (!PickAbuseAddress(value.c_str(), output)) {
        FUZZ_CHECK(output[0] == 'z');
        return 0;
    }
    CheckField(output);
    FUZZ_CHECK(strncasecmp(output, "abuse@", 6) == 0);
    FUZZ_CHECK(std::strpbrk(output, " ()[],;:\"'") == nullptr);
    FUZZ_CHECK(std::strstr(value.c_str(), output) != nullptr || std::strlen(output) == 254);
    return 0;
}
