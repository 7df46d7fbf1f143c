// Synthetic answers for the rules of each dialect that the real answers do
// not pin down, one case per rule, read from tests/data/whois/cases/: "== "
// starts a case with its rule ("== [3] ..." asks registry 3 instead of the
// file's own), the answer's lines follow (\xNN escapes), then "=> field: value"
// lines. A field is a RecordFields name, "contact" (contactName|address|phone|
// fax|email) or "text" (every text field run together).

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "whois_test_support.h"

namespace {

std::string Field(const WhoisRecord& r, int result, const std::string& name) {
    if (name == "result") return std::to_string(result);
    if (name == "contact")
        return std::string(r.contactName) + "|" + r.address + "|" + r.phone + "|" + r.fax + "|" + r.email;
    std::string text;
    for (const auto& [field, value] : RecordFields(r, 0)) {
        if (field == name) return value;
        if (field != "result" && field != "allocated" && field != "whoisSource") text += value;
    }
    EXPECT_EQ(name, "text") << "no such field";
    return text;
}

struct Case {
    std::string rule;
    int registry;
    std::string answer;
    std::vector<std::string> expected;
};

void RunCases(const char* file, int registry) {
    std::ifstream in(std::string(OL_TEST_DATA_DIR) + "/whois/cases/" + file, std::ios::binary);
    ASSERT_TRUE(in.good()) << file;
    std::vector<Case> cases;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("== [", 0) == 0) {
            cases.push_back({line.substr(7), line[4] - '0', "", {}});
        } else if (line.rfind("== ", 0) == 0) {
            cases.push_back({line.substr(3), registry, "", {}});
        } else if (!cases.empty() && line.rfind("=> ", 0) == 0) {
            cases.back().expected.push_back(line.substr(3));
        } else if (!cases.empty() && cases.back().expected.empty()) {
            cases.back().answer += Unescape(line) + "\n";
        }
    }
    EXPECT_GT(cases.size(), 9u) << file;
    for (const Case& c : cases) {
        WhoisRecord record;
        const int result = ParseAnswer(&record, c.registry, c.answer.c_str());
        EXPECT_FALSE(c.expected.empty()) << file << ": " << c.rule;
        for (const std::string& line : c.expected) {
            const size_t colon = line.find(':');
            const std::string name = line.substr(0, colon);
            const std::string value = Unescape(line.substr(line[colon + 1] == ' ' ? colon + 2 : colon + 1));
            EXPECT_EQ(Field(record, result, name), value) << file << ": " << c.rule;
        }
    }
}

TEST(ParserCases, Arin) {
    RunCases("arin.cases", 1);
}
TEST(ParserCases, RipeFamily) {
    RunCases("ripe.cases", 2);
}
TEST(ParserCases, Lacnic) {
    RunCases("lacnic.cases", 4);
}

}  // namespace
