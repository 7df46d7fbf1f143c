#include "whois_test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "base/address_helpers.h"
#include "whois/server_selection.h"
#include "whois/arin_parser.h"
#include "whois/lacnic_parser.h"
#include "whois/ripe_parser.h"

std::string ReadWhoisAnswer(const std::string& relativePath) {
    const std::string path = std::string(OL_TEST_DATA_DIR) + "/whois/" + relativePath;
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << "missing test answer " << path;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int ParseAnswer(WhoisRecord* record, int registry, const char* answer) {
    ClearRecord(record);
    record->allocated = 2;
    if (registry == RegistryArin) return ParseArinResponse(record, answer);
    if (registry == RegistryLacnic) return ParseLacnicResponse(record, answer);
    return ParseRipeResponse(record, answer, registry);
}

std::string Quad(uint32_t ip) {
    if (ip == 0) return "";
    char text[16];
    FormatDottedQuad(ip, text);
    return text;
}

uint32_t Ip(const char* text) {
    uint32_t ip = 0;
    EXPECT_EQ(ParseDottedQuad(text, &ip, 0), 1) << text;
    return ip;
}
