// The three parsers on real answers, compared field by field with the
// .expected file next to each; on synthetic answers for each dialect's rules;
// and on hostile answers, after which every record must be bounded, without a
// read or write outside any buffer (the sanitizer build checks that), in
// linear time and without touching the heap.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "whois/contact_count.h"
#include "whois/country_tables.h"
#include "whois/denial.h"
#include "whois_test_support.h"

namespace {

// OL_REGENERATE_EXPECTED=1 rewrites the .expected files from today's results
// instead: read every changed line against the answer before committing, or
// a fault becomes the expectation.
TEST(RealAnswers, GiveTheExpectedRecords) {
    const char* regenerate = std::getenv("OL_REGENERATE_EXPECTED");
    auto files = AnswerFiles("whois", ".txt");
    for (const auto& rdap : AnswerFiles("rdap", ".json")) files.push_back(rdap);
    for (const auto& [file, registry] : files) {
        WhoisRecord record;
        const int result = ParseAnswerOf(file, &record, registry, ReadTestData(file));
        if (regenerate && std::string(regenerate) == "1") {
            std::ofstream out(std::string(OL_TEST_DATA_DIR) + "/" + file + ".expected", std::ios::binary);
            for (const auto& [name, value] : RecordFields(record, result)) {
                out << name << (value.empty() ? ":" : ": ") << Escape(value) << "\n";
            }
            continue;
        }
        std::istringstream in(ReadTestData(file + ".expected"));  // OL_REGENERATE_EXPECTED=1 writes a new one
        std::map<std::string, std::string> expected;
        for (std::string line; std::getline(in, line);) expected.insert(FieldLine(line));
        for (const auto& [name, value] : RecordFields(record, result)) {
            EXPECT_EQ(value, expected.count(name) ? expected[name] : "(missing)") << file << ": " << name;
            expected.erase(name);
        }
        for (const auto& extra : expected) ADD_FAILURE() << file << ": " << extra.first << " is not parsed";
    }
}

// Every real answer of the corpus and every denial sample, with the kind of its denial where it has one.
TEST(Denials, AreFoundWhereverTheyStand) {
    auto files = WhoisAnswerFiles();
    for (const auto& entry : std::filesystem::directory_iterator(OL_TEST_DATA_DIR "/whois/denials"))
        if (entry.path().extension() == ".txt") files.emplace_back("denials/" + entry.path().filename().string(), 0);
    std::sort(files.begin(), files.end());
    std::string kinds = std::to_string(static_cast<int>(FindDenial(nullptr)));
    for (const auto& [file, registry] : files) {
        if (const int kind = static_cast<int>(FindDenial(ReadWhoisAnswer(file).c_str())))
            kinds += " " + file.substr(0, file.size() - 4) + "=" + std::to_string(kind);
    }
    EXPECT_EQ(kinds,
              "0 denials/afrinic_1=1 denials/afrinic_2=1 denials/afrinic_3=2 "
              "denials/apnic_1=1 denials/apnic_2=1 denials/apnic_3=1 denials/lacnic_1=3 denials/lacnic_2=3 "
              "denials/ripe_1=1 denials/ripe_2=1 denials/ripe_3=1 denials/ripe_4=1 denials/ripe_6=2 denials/ripe_7=1 "
              "lacnic/rate_limit_exceeded=3");
}

// The table of answers and their contacts in contacts.table; no answer at all counts none.
TEST(ContactObjects, CountAsTheRegistriesCountThem) {
    std::istringstream table(ReadWhoisAnswer("contacts.table"));
    std::string counted = std::to_string(CountContactObjects(nullptr)) + "\n", expected = "0\n";
    for (std::string line; std::getline(table, line);) {
        if (line.empty() || line[0] == '#') continue;
        const std::string file = line.substr(0, line.find(' '));
        counted += file + " " + std::to_string(CountContactObjects(ReadWhoisAnswer(file).c_str())) + "\n";
        expected += line + "\n";
    }
    EXPECT_EQ(counted, expected);
}

std::string Field(const WhoisRecord& record, int result, const std::string& name) {
    for (const auto& [field, value] : RecordFields(record, 0)) {
        if (field == name) return name == "result" ? std::to_string(result) : value;
    }
    return "(no field " + name + ")";
}

struct Case {
    std::string rule;
    int registry;
    std::string answer;
    std::vector<std::string> expected;
};

// "== rule" starts a case ("== [3] rule" asks registry 3 instead of the
// file's own), the answer's lines follow (escaped), then "=> field: value".
void RunCases(const std::string& file, int registry) {
    std::istringstream in(ReadTestData(file));
    std::vector<Case> cases;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("== ", 0) == 0) {
            const bool asks = line.rfind("== [", 0) == 0;
            cases.push_back({line.substr(asks ? 7 : 3), asks ? line[4] - '0' : registry, "", {}});
        } else if (!cases.empty() && line.rfind("=> ", 0) == 0) {
            cases.back().expected.push_back(line.substr(3));
        } else if (!cases.empty() && cases.back().expected.empty()) {
            cases.back().answer += Unescape(line) + "\n";
        }
    }
    EXPECT_GT(cases.size(), 9u) << file;
    for (const Case& c : cases) {
        WhoisRecord record;
        const int result = ParseAnswerOf(file, &record, c.registry, c.answer);
        EXPECT_FALSE(c.expected.empty()) << file << ": " << c.rule;
        for (const auto& field : RecordFields(record, 0)) EXPECT_LE(field.second.size(), 254u) << c.rule;
        for (const std::string& line : c.expected) {
            const auto [name, value] = FieldLine(line);
            EXPECT_EQ(Field(record, result, name), value) << file << ": " << c.rule;
        }
    }
}

TEST(ParserCases, EveryDialect) {
    for (const auto& [file, registry] : {std::pair{"whois/cases/arin.cases", 1},
                                         {"whois/cases/ripe.cases", 2},
                                         {"whois/cases/lacnic.cases", 4},
                                         {"rdap/answers.cases", 2}})
        RunCases(file, registry);
}

// Where the sanitizer's allocator hooks exist, they count allocations while parsing.
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void*, size_t),
                                                         void (*)(const volatile void*)) __attribute__((weak));
std::atomic<long> allocations{0}, counting{0};  // atomic: malloc may not be assumed to read them

TEST(HostileAnswers, EveryParserEndsWithABoundedRecord) {
    if (__sanitizer_install_malloc_and_free_hooks) {
        static const bool hooked = __sanitizer_install_malloc_and_free_hooks(
            [](const volatile void*, size_t) { allocations += counting; }, [](const volatile void*) {});
        counting = 1;
        void* volatile probe = std::malloc(16);  // the hooks must see it, or a zero below proves nothing
        std::free(probe);
        counting = 0;
        ASSERT_TRUE(hooked && allocations == 1);
    }
    char name[kFieldSize];
    LookupCountryName("DE", name);  // the first lookup loads the tables, which may allocate
    LookupStateName("VA", name);
    std::vector<std::string> answers = {"", "", ""};
    for (int i = 0; i < (1 << 20); ++i) answers[1] += static_cast<char>((i * 131 + 7) % 255 + 1);
    for (const auto& [file, registry] : WhoisAnswerFiles()) {  // every answer read to the end, to 4 MiB
        WhoisRecord record;
        const std::string answer = ReadWhoisAnswer(file);
        if (ParseAnswer(&record, registry, answer.c_str()) == 0) answers[2] += answer + "\n";
    }
    while (answers[2].size() < (4u << 20)) answers[2] += answers[2];
    std::istringstream in(ReadWhoisAnswer("cases/hostile.answers"));
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line[0] != '#') answers.push_back(Unescape(line));
    }
    for (const std::string& answer : answers) {
        for (int registry = 1; registry <= 5; ++registry) {
            WhoisRecord record;
            allocations = 0;
            counting = 1;
            const int result = ParseAnswer(&record, registry, answer.c_str());
            counting = 0;
            const std::string what = Escape(answer.substr(0, 40)) + " / registry " + std::to_string(registry);
            EXPECT_EQ(allocations, 0) << what;
            EXPECT_TRUE(result >= 0 && result <= 5) << what;
            for (const auto& [field, value] : RecordFields(record, 0)) EXPECT_LE(value.size(), 254u) << what << field;
            EXPECT_EQ(record.whoisSource, registry) << what;
            EXPECT_NE(std::memchr(record.line, '\0', sizeof record.line), nullptr) << what;
        }
    }
    EXPECT_GT(answers.size(), 10u);
}

}  // namespace
