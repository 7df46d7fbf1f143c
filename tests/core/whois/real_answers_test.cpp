// Real answers of the five registries, each parsed by the parser of the
// registry its folder names and compared field by field with the .expected
// file next to it. OL_REGENERATE_EXPECTED=1 rewrites those files from today's
// results instead: read every changed line against the answer before
// committing, or a fault becomes the expectation.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>

#include "whois_test_support.h"

namespace {

TEST(RealAnswers, GiveTheExpectedRecords) {
    const char* regenerate = std::getenv("OL_REGENERATE_EXPECTED");
    for (const auto& [file, registry] : WhoisAnswerFiles()) {
        const std::string answer = ReadWhoisAnswer(file);
        WhoisRecord record;
        const int result = ParseAnswer(&record, registry, answer.c_str());
        const std::string path = std::string(OL_TEST_DATA_DIR) + "/whois/" + file + ".expected";
        if (regenerate && std::string(regenerate) == "1") {
            std::ofstream out(path, std::ios::binary);
            for (const auto& [name, value] : RecordFields(record, result)) {
                out << name << (value.empty() ? ":" : ": ") << Escape(value) << "\n";
            }
            continue;
        }
        std::ifstream in(path, std::ios::binary);
        ASSERT_TRUE(in.good()) << file << " has no .expected file (OL_REGENERATE_EXPECTED=1 writes one)";
        std::map<std::string, std::string> expected;
        for (std::string line; std::getline(in, line);) {
            const size_t colon = line.find(':');
            ASSERT_NE(colon, std::string::npos) << path << ": " << line;
            expected[line.substr(0, colon)] = Unescape(line.substr(line[colon + 1] == ' ' ? colon + 2 : colon + 1));
        }
        for (const auto& [name, value] : RecordFields(record, result)) {
            const auto found = expected.find(name);
            if (found == expected.end()) {
                ADD_FAILURE() << file << ": no " << name << " in .expected";
                continue;
            }
            EXPECT_EQ(value, found->second) << file << ": " << name;
            expected.erase(found);
        }
        for (const auto& extra : expected) ADD_FAILURE() << file << ": " << extra.first << " is not parsed";
    }
}

}  // namespace
