// NextToken with any separators and output size: tokens are non-empty, cut to
// the output, free of separators, and the walk ends.
#include "fuzz_support.h"
#include "base/address_helpers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    // First byte: output size; second: how many of the next bytes separate.
    const int outputSize = 1 + data[0] % 64 * 4;
    const size_t separatorCount = data[1] % 12 < size - 2 ? data[1] % 12 : size - 2;
    const std::string separators = FuzzText(data + 2, separatorCount);
    const std::string text = FuzzText(data + 2 + separatorCount, size - 2 - separatorCount);
    const size_t length = std::strlen(text.c_str());
    std::string token(static_cast<size_t>(outputSize), 'x');
    int position = 0;
    size_t tokens = 0;
    while (NextToken(&token[0], outputSize, text.c_str(), separators.c_str(), &position)) {
        FUZZ_CHECK(++tokens <= length);
        FUZZ_CHECK(position >= 0 && static_cast<size_t>(position) <= length);
        const size_t tokenLength = std::strlen(token.c_str());
        FUZZ_CHECK(tokenLength >= 1 && tokenLength <= static_cast<size_t>(outputSize - 1));
        FUZZ_CHECK(std::strpbrk(token.c_str(), separators.c_str()) == nullptr);
    }
    FUZZ_CHECK(static_cast<size_t>(position) <= length);
    return 0;
}
