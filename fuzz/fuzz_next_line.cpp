// NextLine over any text ends, never yields more than 1022 characters, and
// agrees line by line with the parsers' AnswerReader, splits included.
#include "fuzz_support.h"
#include "whois/answer_reader.h"
#include "whois/record_helpers.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text = FuzzText(data, size);
    const size_t length = std::strlen(text.c_str());
    WhoisRecord slow, fast;
    ClearRecord(&slow);
    ClearRecord(&fast);
    AnswerReader reader(text.c_str());
    size_t position = 0;
    for (size_t lines = 0;; ++lines) {
        const size_t before = position;
        const bool slowLine = NextLine(text.c_str(), &position, slow.line);
        FUZZ_CHECK(slowLine == reader.Next(&fast));
        if (!slowLine) break;
        FUZZ_CHECK(position > before && position <= length);
        FUZZ_CHECK(lines <= length);
        FUZZ_CHECK(std::strlen(slow.line) <= 1022);
        FUZZ_CHECK(std::strcmp(slow.line, fast.line) == 0);
        const bool split = SplitKeyValue(&slow);
        FUZZ_CHECK(split == reader.Split(&fast));
        if (split) {
            FUZZ_CHECK(slow.key == slow.line && fast.key == fast.line);
            FUZZ_CHECK(slow.value - slow.line == fast.value - fast.line);
            FUZZ_CHECK(std::strcmp(slow.key, fast.key) == 0);
        }
    }
    FUZZ_CHECK(position == length);
    return 0;
}
