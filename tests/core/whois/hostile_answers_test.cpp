// Answers no registry should send, but a broken or hostile server may: every
// parser must end with a bounded record, without reading or writing outside
// its buffers (the sanitizer build checks that), in linear time, and without
// touching the heap (counted where the sanitizer's allocator hooks exist).

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "whois/country_tables.h"
#include "whois_test_support.h"

#if defined(__SANITIZE_ADDRESS__)
#define OL_COUNT_ALLOCATIONS 1
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void*, size_t),
                                                         void (*)(const volatile void*));
#endif

namespace {

long allocations = 0;
bool counting = false;

std::string Repeat(const std::string& part, size_t bytes) {
    std::string out;
    while (out.size() < bytes) out += part;
    return out;
}

// Every real answer the parsers read to the end, run together to 4 MiB.
std::string RealAnswersRunTogether() {
    std::string all;
    for (const auto& [file, registry] : WhoisAnswerFiles()) {
        WhoisRecord record;
        const std::string answer = ReadWhoisAnswer(file);
        if (ParseAnswer(&record, registry, answer.c_str()) == 0) all += answer + "\n";
    }
    return Repeat(all, 4 << 20);
}

TEST(HostileAnswers, EveryParserEndsWithABoundedRecord) {
#ifdef OL_COUNT_ALLOCATIONS
    static const bool hooked = __sanitizer_install_malloc_and_free_hooks(
        [](const volatile void*, size_t) { allocations += counting; }, [](const volatile void*) {});
    ASSERT_TRUE(hooked);
#endif
    char name[kFieldSize];
    LookupCountryName("DE", name);  // the first lookup loads the tables, which may allocate
    LookupStateName("VA", name);
    std::string binary, withNul = "netname: BEFORE\nNetName: BEFORE\n";
    for (int i = 0; i < (1 << 20); ++i) binary += static_cast<char>((i * 131 + 7) % 255 + 1);
    withNul += '\0';
    withNul += "netname: AFTER\nNetName: AFTER\n";
    const std::string n600(600, 'n'), cut(254, 'x'), longValue(1500, 'x');
    const std::string bulk[] = {
        "",
        std::string(3 << 20, 'k'),
        "netname: " + std::string(2 << 20, 'v'),
        Repeat(":", 1 << 20),
        Repeat("\r\n\n\r", 1 << 20),
        Repeat(" \t", 1 << 20),
        Repeat("%:%::\n", 1 << 20),
        Repeat("address: Street of a very long name 12345\n", 2 << 20),
        Repeat("person: P\naddress: A\nnic-hdl: \nsource: X\n", 2 << 20),
        Repeat("remarks: x@y @@@ a@b,c@d;e@f\ntrouble: x@y\n", 2 << 20),
        Repeat("inetnum: 1.2.3.4 - 5.6.7.8 - - - ,,, 999.1.1.1\nNetRange: 1.1.1.1-2.2.2.2\n", 2 << 20),
        Repeat("NetName: " + n600 + "\nCountry: " + n600 + "\ndescr: " + n600 + "\ninetnum: " + n600 + "/24\n",
               1 << 20),
        binary,
        RealAnswersRunTogether(),
    };
    // Parses with every parser, or only the one given, and checks field when one is named.
    auto check = [](const std::string& answer, int only, const std::string& field, const std::string& expected) {
        for (int registry = only ? only : 1; registry <= (only ? only : 5); ++registry) {
            WhoisRecord record;
            allocations = 0;
            counting = true;
            const int result = ParseAnswer(&record, registry, answer.c_str());
            counting = false;
            const std::string what = Escape(answer.substr(0, 40)) + " / registry " + std::to_string(registry);
            EXPECT_EQ(allocations, 0) << what;
            EXPECT_TRUE(result >= 0 && result <= 5) << what;
            for (const auto& [name, value] : RecordFields(record, 0)) {
                EXPECT_LE(value.size(), 254u) << what << " " << name;
                if (name == field) {
                    EXPECT_EQ(value, expected) << what;
                }
            }
            EXPECT_EQ(record.whoisSource, registry) << what;
            EXPECT_NE(std::memchr(record.line, '\0', sizeof record.line), nullptr) << what;
        }
    };
    for (const std::string& answer : bulk) check(answer, 0, "", "");
    // The text ends at the first NUL; values are cut to 254 characters.
    check(withNul, 1, "networkName", "BEFORE");
    check(withNul, 2, "networkName", "BEFORE");
    check("NetName: " + longValue + "\nOrgName: " + longValue + "\n", 1, "ownerName", cut);
    check("NetName: " + longValue + "\n", 1, "networkName", cut);
    check("descr: x\ninetnum: 1.1.1.1 - 1.1.1.2\ndescr: " + longValue + "\n", 2, "ownerName", cut);
}

}  // namespace
