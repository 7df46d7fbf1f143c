// Parsing must not touch the heap: a record is filled from fixed buffers only.
// The sanitizer build counts every allocation through its allocator hooks;
// other builds have no portable way to see them and skip.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <string>

#include "whois_test_support.h"

#if defined(__SANITIZE_ADDRESS__)
#define OL_COUNT_ALLOCATIONS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define OL_COUNT_ALLOCATIONS 1
#endif
#endif

#ifdef OL_COUNT_ALLOCATIONS
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*mallocHook)(const volatile void*, size_t),
                                                         void (*freeHook)(const volatile void*));
#endif

namespace {

std::atomic<long> allocations{0};
std::atomic<bool> counting{false};

#ifdef OL_COUNT_ALLOCATIONS
void OnMalloc(const volatile void*, size_t) {
    if (counting.load()) ++allocations;
}
void OnFree(const volatile void*) {}
#endif

// All real answers of one registry family, concatenated and repeated to
// about 1 MB (referral answers left out, so that each parse reads it all).
std::string LargeAnswer(const std::vector<std::string>& files) {
    std::string one;
    for (const std::string& file : files) one += ReadWhoisAnswer(file) + "\n";
    std::string answer;
    while (answer.size() < (1u << 20)) answer += one;
    return answer;
}

TEST(ParseAllocation, NoHeapAllocationWhileParsing) {
#ifndef OL_COUNT_ALLOCATIONS
    GTEST_SKIP() << "allocations are counted in the sanitizer build only";
#else
    static bool installed = __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree) != 0;
    ASSERT_TRUE(installed);
    // The hooks must see an allocation, or a zero below proves nothing.
    counting = true;
    void* volatile probe = std::malloc(16);
    std::free(probe);
    counting = false;
    ASSERT_EQ(allocations.load(), 1);
    const struct {
        int registry;
        std::vector<std::string> files;
    } families[] = {
        {1,
         {"arin/reallocated_many_pocs_63.95.254.3.txt", "arin/multiblock_long_comment_3.120.95.169.txt",
          "arin/crlf_double_cr_amazon_207.217.120.54.txt"}},
        {2, {"ripe/akamai_country_eu_2.18.111.79.txt", "ripe/telecomitalia_role_151.99.187.181.txt"}},
        {3, {"apnic/hinet_irt_twnic_218.165.121.114.txt", "apnic/starhub_org_abusec_171.0.0.0.txt"}},
        {4, {"lacnic/abbreviated_prefix_189.163.17.txt", "lacnic/cantv_allocated_200.44.33.31.txt"}},
    };
    for (const auto& family : families) {
        const std::string answer = LargeAnswer(family.files);
        WhoisRecord record;
        ParseAnswer(&record, family.registry, answer.c_str());  // loads the tables, which may allocate
        allocations = 0;
        counting = true;
        const int result = ParseAnswer(&record, family.registry, answer.c_str());
        counting = false;
        EXPECT_EQ(result, 0);
        EXPECT_EQ(allocations.load(), 0) << "registry " << family.registry;
        EXPECT_NE(record.networkName[0], '\0');
    }
#endif
}

}  // namespace
