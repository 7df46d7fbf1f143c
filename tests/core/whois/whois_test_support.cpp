#include "whois_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/address_helpers.h"
#include "whois/arin_parser.h"
#include "whois/bin_file_loader.h"
#include "whois/lacnic_parser.h"
#include "whois/rdap_parser.h"
#include "whois/ripe_parser.h"

// Every test in this executable sees the generated tables as the program's
// resources, whichever test runs first.
static const bool installed = (InstallBinFileLoader(OL_GENERATED_DIR), true);

std::string ReadTestData(const std::string& relativePath) {
    const std::string path = std::string(OL_TEST_DATA_DIR) + "/" + relativePath;
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << "missing test answer " << path;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ReadWhoisAnswer(const std::string& relativePath) {
    return ReadTestData("whois/" + relativePath);
}

std::vector<std::pair<std::string, int>> AnswerFiles(const std::string& tree, const std::string& extension) {
    std::vector<std::pair<std::string, int>> files;
    int registry = 0;
    for (const std::string folder : {"arin", "ripe", "apnic", "lacnic", "afrinic"}) {  // in RegistryId order
        ++registry;
        for (const auto& entry :
             std::filesystem::directory_iterator(std::string(OL_TEST_DATA_DIR) + "/" + tree + "/" + folder)) {
            if (entry.path().extension() == extension)
                files.emplace_back(tree + "/" + folder + "/" + entry.path().filename().string(), registry);
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::pair<std::string, int>> WhoisAnswerFiles() {
    auto files = AnswerFiles("whois", ".txt");
    for (auto& file : files) file.first.erase(0, 6);
    return files;
}

int ParseAnswer(WhoisRecord* record, int registry, const char* answer) {
    ClearRecord(record);
    record->allocated = 2;
    if (registry == 1) return ParseArinResponse(record, answer);
    if (registry == 4) return ParseLacnicResponse(record, answer);
    return ParseRipeResponse(record, answer, registry);
}

int ParseAnswerOf(const std::string& path, WhoisRecord* record, int registry, const std::string& answer) {
    if (path.rfind("rdap/", 0) == 0) return ParseRdapResponse(record, answer.data(), answer.size(), registry);
    return ParseAnswer(record, registry, answer.c_str());
}

std::string Quad(uint32_t ip) {
    if (ip == 0) return "";
    char text[16];
    FormatDottedQuad(ip, text);
    return text;
}

std::vector<std::pair<std::string, std::string>> RecordFields(const WhoisRecord& r, int result) {
    if (result != 0) return {{"result", std::to_string(result)}};
    std::vector<std::pair<std::string, std::string>> fields = {{"result", "0"}, {"fromIp", Quad(r.fromIp)}};
    fields.emplace_back("toIp", Quad(r.toIp));
    const char* const names[] = {"ownerName", "address", "email",       "abuseEmail", "phone",
                                 "fax",       "country", "networkName", "contactName"};
    const char* const texts[] = {r.ownerName, r.address, r.email,       r.abuseEmail, r.phone,
                                 r.fax,       r.country, r.networkName, r.contactName};
    for (int i = 0; i < 9; ++i) fields.emplace_back(names[i], texts[i]);
    fields.emplace_back("allocated", std::to_string(r.allocated));
    fields.emplace_back("whoisSource", std::to_string(r.whoisSource));
    return fields;
}

std::string Escape(const std::string& value) {
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(value[i]);
        char hex[5];
        std::snprintf(hex, sizeof hex, "\\x%02X", c);
        out +=
            c < 0x20 || c == 0x7F || c == '\\' || (c == ' ' && i + 1 == value.size()) ? hex : std::string(1, value[i]);
    }
    return out;
}

std::string Unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const size_t star = text.compare(i, 2, "\\{") == 0 ? text.find('*', i) : std::string::npos;
        const size_t close = text.find('}', star);
        if (close != std::string::npos) {
            const std::string part = Unescape(text.substr(star + 1, close - star - 1));
            for (unsigned long n = std::stoul(text.substr(i + 2, star - i - 2)); n > 0; --n) out += part;
            i = close;
        } else if (text.compare(i, 2, "\\x") == 0 && i + 3 < text.size()) {
            out += static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::pair<std::string, std::string> FieldLine(const std::string& line) {
    const size_t colon = line.find(':');  // none: the whole line is a name no record has
    return {line.substr(0, colon), Unescape(line.substr(line[colon + 1] == ' ' ? colon + 2 : colon + 1))};
}
