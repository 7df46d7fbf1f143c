#include "whois_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "input/address_helpers.h"
#include "whois/arin_parser.h"
#include "whois/bin_file_loader.h"
#include "whois/lacnic_parser.h"
#include "whois/ripe_parser.h"

namespace {

// Every test in this executable sees the generated tables as the program's
// resources, whichever test runs first.
const bool installed = (InstallBinFileLoader(OL_GENERATED_DIR), true);

}  // namespace

std::string ReadWhoisAnswer(const std::string& relativePath) {
    const std::string path = std::string(OL_TEST_DATA_DIR) + "/whois/" + relativePath;
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << "missing test answer " << path;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::pair<std::string, int>> WhoisAnswerFiles() {
    std::vector<std::pair<std::string, int>> files;
    const char* const folders[] = {"arin", "ripe", "apnic", "lacnic", "afrinic"};  // in RegistryId order
    for (int registry = 1; registry <= 5; ++registry) {
        const std::string folder = folders[registry - 1];
        for (const auto& entry :
             std::filesystem::directory_iterator(std::string(OL_TEST_DATA_DIR) + "/whois/" + folder)) {
            if (entry.path().extension() == ".txt")
                files.emplace_back(folder + "/" + entry.path().filename().string(), registry);
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

int ParseAnswer(WhoisRecord* record, int registry, const char* answer) {
    ClearRecord(record);
    record->allocated = 2;
    if (registry == 1) return ParseArinResponse(record, answer);
    if (registry == 4) return ParseLacnicResponse(record, answer);
    return ParseRipeResponse(record, answer, registry);
}

std::string Quad(uint32_t ip) {
    if (ip == 0) return "";
    char text[16];
    FormatDottedQuad(ip, text);
    return text;
}

std::vector<std::pair<std::string, std::string>> RecordFields(const WhoisRecord& r, int result) {
    if (result != 0) return {{"result", std::to_string(result)}};
    return {{"result", "0"},
            {"fromIp", Quad(r.fromIp)},
            {"toIp", Quad(r.toIp)},
            {"ownerName", r.ownerName},
            {"address", r.address},
            {"email", r.email},
            {"abuseEmail", r.abuseEmail},
            {"phone", r.phone},
            {"fax", r.fax},
            {"country", r.country},
            {"networkName", r.networkName},
            {"contactName", r.contactName},
            {"allocated", std::to_string(r.allocated)},
            {"whoisSource", std::to_string(r.whoisSource)}};
}

std::string Escape(const std::string& value) {
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(value[i]);
        if (c < 0x20 || c == 0x7F || c == '\\' || (c == ' ' && i + 1 == value.size())) {
            out += {'\\', 'x', "0123456789ABCDEF"[c >> 4], "0123456789ABCDEF"[c & 15]};
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

std::string Unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const size_t star = text.compare(i, 2, "\\{") == 0 ? text.find('*', i) : std::string::npos;
        if (star != std::string::npos && star + 2 < text.size() && text[star + 2] == '}') {
            out.append(std::stoul(text.substr(i + 2, star - i - 2)), text[star + 1]);
            i = star + 2;
        } else if (text.compare(i, 2, "\\x") == 0 && i + 3 < text.size()) {
            out += static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            out += text[i];
        }
    }
    return out;
}
