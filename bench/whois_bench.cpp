// Throughput of the three WHOIS parsers on the real answers of each registry
// and on synthetic answers of about 1 MB. Each iteration does what the
// scheduler does: clear the record, mark it allocated, parse. Beside them the
// RDAP mapping over its corpus of JSON answers, the reading of the JSON
// included.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "whois/server_selection.h"
#include "whois/arin_parser.h"
#include "whois/bin_file_loader.h"
#include "whois/lacnic_parser.h"
#include "whois/rdap_parser.h"
#include "whois/ripe_parser.h"

namespace {

const bool tablesInstalled = (InstallBinFileLoader(OL_GENERATED_DIR), true);

std::string ReadAnswer(const std::string& relativePath) {
    std::ifstream in(std::string(OL_TEST_DATA_DIR) + "/whois/" + relativePath, std::ios::binary);
    if (!in) std::fprintf(stderr, "missing %s\n", relativePath.c_str());
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int Parse(WhoisRecord* record, int registry, const char* answer) {
    ClearRecord(record);
    record->allocated = 2;
    if (registry == RegistryArin) return ParseArinResponse(record, answer);
    if (registry == RegistryLacnic) return ParseLacnicResponse(record, answer);
    return ParseRipeResponse(record, answer, registry);
}

void ReportRate(benchmark::State& state, size_t bytesPerIteration) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytesPerIteration));
    state.counters["MB"] =
        benchmark::Counter(static_cast<double>(bytesPerIteration) / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

// Referral answers are left out: their parse stops at the referral line.
const std::vector<std::string> kArinAnswers = {
    "arin/crlf_double_cr_amazon_207.217.120.54.txt",  "arin/direct_allocation_multi_originas_70.84.47.210.txt",
    "arin/direct_allocation_no_referral_4.2.2.1.txt", "arin/multiblock_child_first_52.220.231.36.txt",
    "arin/multiblock_long_comment_3.120.95.169.txt",  "arin/multiblock_parent_first_13.33.66.112.txt",
    "arin/reallocated_many_pocs_63.95.254.3.txt",     "arin/rwhois_referral_gigenet_69.65.39.166.txt",
    "arin/rwhois_referral_shaw_174.0.0.0.txt",        "arin/stray_cr_rpocs_krypt_174.139.55.107.txt",
};
const std::vector<std::string> kRipeAnswers = {
    "ripe/akamai_country_eu_2.18.111.79.txt",     "ripe/bouygues_role_route_128.79.x.txt",
    "ripe/colt_person_62.97.102.115.txt",         "ripe/not_found_error101_person_handle.txt",
    "ripe/raw_tcp_payload_185.2.136.189.txt",     "ripe/telecomitalia_2025_151.99.187.181.txt",
    "ripe/telecomitalia_role_151.99.187.181.txt",
};
const std::vector<std::string> kApnicAnswers = {
    "apnic/fragment_continuation_lines_203.11.221.0.txt", "apnic/fragment_empty_remarks_192.72.11.0.txt",
    "apnic/hinet_irt_twnic_218.165.121.114.txt",          "apnic/kornet_krnic_mirror_210.178.148.129.txt",
    "apnic/raw_tcp_payload_123.125.114.144.txt",          "apnic/starhub_org_abusec_171.0.0.0.txt",
    "apnic/telkom_org_irt_route_36.90.184.82.txt",
};
const std::vector<std::string> kAfrinicAnswers = {
    "afrinic/afrinic_header_then_ripe_answer_46.80.0.0.txt",
    "afrinic/mobinil_lowercase_handles_105.32.0.0.txt",
    "afrinic/sentech_2025_66.18.70.6.txt",
    "afrinic/sentech_multi_adminc_66.18.70.6.txt",
};
const std::vector<std::string> kLacnicAnswers = {
    "lacnic/abbreviated_prefix_189.163.17.txt", "lacnic/cantv_allocated_200.44.33.31.txt",
    "lacnic/nicbr_format_170.0.0.0.txt",        "lacnic/nicbr_mojibake_trailing_cr_200.165.206.74.txt",
    "lacnic/rate_limit_exceeded.txt",
};

void RealAnswers(benchmark::State& state, int registry, const std::vector<std::string>& files) {
    std::vector<std::string> answers;
    size_t bytes = 0;
    for (const std::string& file : files) {
        answers.push_back(ReadAnswer(file));
        bytes += answers.back().size();
    }
    WhoisRecord record;
    for (auto _ : state) {
        for (const std::string& answer : answers) {
            benchmark::DoNotOptimize(Parse(&record, registry, answer.c_str()));
            benchmark::ClobberMemory();
        }
    }
    ReportRate(state, bytes);
}

// Every RDAP answer of the test data, the error bodies too, as the registry
// of its folder.
void BM_RdapRealAnswers(benchmark::State& state) {
    std::vector<std::pair<std::string, int>> answers;
    size_t bytes = 0;
    int registry = 0;
    for (const char* folder : {"arin", "ripe", "apnic", "lacnic", "afrinic"}) {
        ++registry;
        for (const auto& entry :
             std::filesystem::directory_iterator(std::string(OL_TEST_DATA_DIR) + "/rdap/" + folder)) {
            if (entry.path().extension() != ".json") continue;
            answers.emplace_back(ReadAnswer("../rdap/" + std::string(folder) + "/" + entry.path().filename().string()),
                                 registry);
            bytes += answers.back().first.size();
        }
    }
    WhoisRecord record;
    for (auto _ : state) {
        for (const auto& [answer, from] : answers) {
            benchmark::DoNotOptimize(ParseRdapResponse(&record, answer.data(), answer.size(), from));
            benchmark::ClobberMemory();
        }
    }
    ReportRate(state, bytes);
}

// Synthetic answers: numbered blocks in each dialect, about 1 MB in all.
std::string SyntheticArin() {
    std::string text = "#\n# ARIN WHOIS data and services are subject to the Terms of Use\n#\n\n";
    char block[2048];
    for (int i = 0; text.size() < 1000000; ++i) {
        std::snprintf(block, sizeof block,
                      "NetRange:       10.%d.%d.0 - 10.%d.%d.255\n"
                      "CIDR:           10.%d.%d.0/24\n"
                      "NetName:        EXAMPLE-NET-%d\n"
                      "NetHandle:      NET-10-%d-%d-0-1\n"
                      "Parent:         NET10 (NET-10-0-0-0-0)\n"
                      "NetType:        Reallocated\n"
                      "OriginAS:       AS%d\n"
                      "Organization:   Example Organisation %d (EXORG-%d)\n"
                      "RegDate:        2004-07-29\n"
                      "Updated:        2017-04-11\n"
                      "Comment:        Addresses within this block are non-portable.\n"
                      "Ref:            https://rdap.arin.net/registry/ip/10.%d.%d.0\n"
                      "\n"
                      "OrgName:        Example Organisation %d\n"
                      "OrgId:          EXORG-%d\n"
                      "Address:        %d Example Street\n"
                      "Address:        Suite %d\n"
                      "City:           Springfield\n"
                      "StateProv:      VA\n"
                      "PostalCode:     22150\n"
                      "Country:        US\n"
                      "RegDate:        2002-01-09\n"
                      "Updated:        2023-05-18\n"
                      "Ref:            https://rdap.arin.net/registry/entity/EXORG-%d\n"
                      "\n"
                      "OrgTechHandle: TECH%d-ARIN\n"
                      "OrgTechName:   Network Operations %d\n"
                      "OrgTechPhone:  +1-555-010-%04d \n"
                      "OrgTechEmail:  noc%d@example.net\n"
                      "OrgTechRef:    https://rdap.arin.net/registry/entity/TECH%d-ARIN\n"
                      "\n"
                      "OrgAbuseHandle: ABUSE%d-ARIN\n"
                      "OrgAbuseName:   Abuse Desk %d\n"
                      "OrgAbusePhone:  +1-555-020-%04d \n"
                      "OrgAbuseEmail:  abuse@example%d.net\n"
                      "OrgAbuseRef:    https://rdap.arin.net/registry/entity/ABUSE%d-ARIN\n"
                      "\n",
                      i / 256 % 256, i % 256, i / 256 % 256, i % 256, i / 256 % 256, i % 256, i, i / 256 % 256, i % 256,
                      64512 + i % 1000, i, i, i / 256 % 256, i % 256, i, i, i, i % 900, i, i, i, i % 10000, i, i, i, i,
                      i % 10000, i, i);
        text += block;
    }
    return text;
}

std::string SyntheticRipe() {
    std::string text = "% This is the RIPE Database query service.\n% The objects are in RPSL format.\n\n";
    char block[2048];
    for (int i = 0; text.size() < 1000000; ++i) {
        std::snprintf(block, sizeof block,
                      "%% Information related to '10.%d.%d.0 - 10.%d.%d.255'\n"
                      "\n"
                      "inetnum:        10.%d.%d.0 - 10.%d.%d.255\n"
                      "netname:        EXAMPLE-NET-%d\n"
                      "descr:          Example Organisation %d\n"
                      "descr:          Example Street %d\n"
                      "country:        NL\n"
                      "admin-c:        EX%d-RIPE\n"
                      "tech-c:         EX%d-RIPE\n"
                      "status:         ASSIGNED PA\n"
                      "mnt-by:         EXAMPLE-MNT\n"
                      "created:        2015-03-31T15:29:22Z\n"
                      "last-modified:  2015-03-31T15:29:22Z\n"
                      "source:         RIPE # Filtered\n"
                      "\n"
                      "person:         Example Person %d\n"
                      "address:        Example Organisation %d\n"
                      "address:        Example Street %d\n"
                      "address:        1234 AB Amsterdam\n"
                      "address:        Netherlands\n"
                      "phone:          +31 20 555 %04d\n"
                      "fax-no:         +31 20 556 %04d\n"
                      "e-mail:         person%d@example.net\n"
                      "nic-hdl:        EX%d-RIPE\n"
                      "mnt-by:         EXAMPLE-MNT\n"
                      "created:        2002-08-01T12:20:54Z\n"
                      "last-modified:  2018-05-24T06:06:48Z\n"
                      "source:         RIPE # Filtered\n"
                      "\n"
                      "role:           Example Abuse Role %d\n"
                      "address:        Example Street %d\n"
                      "abuse-mailbox:  abuse@example%d.net\n"
                      "nic-hdl:        AR%d-RIPE\n"
                      "source:         RIPE # Filtered\n"
                      "\n",
                      i / 256 % 256, i % 256, i / 256 % 256, i % 256, i / 256 % 256, i % 256, i / 256 % 256, i % 256, i,
                      i, i, i, i, i, i, i, i % 10000, i % 10000, i, i, i, i, i, i);
        text += block;
    }
    return text;
}

std::string SyntheticLacnic() {
    std::string text = "% Joint Whois - whois.lacnic.net\n%  This server accepts single ASN, IPv4 or IPv6 queries\n\n";
    char block[2048];
    for (int i = 0; text.size() < 1000000; ++i) {
        std::snprintf(block, sizeof block,
                      "inetnum:     200.%d.%d/24\n"
                      "status:      reassigned\n"
                      "owner:       Example Organizacion %d\n"
                      "ownerid:     BR-EXAM%d-LACNIC\n"
                      "responsible: Example Responsible %d\n"
                      "address:     Rua Exemplo, %d\n"
                      "address:     01000 - Sao Paulo - SP\n"
                      "country:     BR\n"
                      "phone:       +55 11 5555%04d []\n"
                      "owner-c:     EXA%d\n"
                      "tech-c:      EXA%d\n"
                      "abuse-c:     EXA%d\n"
                      "created:     20070920\n"
                      "changed:     20120901\n"
                      "inetnum-up:  200.%d/16\n"
                      "\n"
                      "nic-hdl:     EXA%d\n"
                      "person:      Example Person %d\n"
                      "e-mail:      abuse@example%d.com.br\n"
                      "address:     Rua Exemplo, %d\n"
                      "address:     01000 - Sao Paulo - SP\n"
                      "country:     BR\n"
                      "phone:       +55 11 5556%04d []\n"
                      "created:     20021210\n"
                      "changed:     20170107\n"
                      "\n",
                      i / 256 % 256, i % 256, i, i, i, i, i % 10000, i, i, i, i / 256 % 256, i, i, i, i, i % 10000);
        text += block;
    }
    return text;
}

void Synthetic(benchmark::State& state, int registry, const std::string& answer) {
    WhoisRecord record;
    for (auto _ : state) {
        benchmark::DoNotOptimize(Parse(&record, registry, answer.c_str()));
        benchmark::ClobberMemory();
    }
    ReportRate(state, answer.size());
}

void BM_ArinRealAnswers(benchmark::State& state) {
    RealAnswers(state, RegistryArin, kArinAnswers);
}
void BM_RipeRealAnswers(benchmark::State& state) {
    RealAnswers(state, RegistryRipe, kRipeAnswers);
}
void BM_ApnicRealAnswers(benchmark::State& state) {
    RealAnswers(state, RegistryApnic, kApnicAnswers);
}
void BM_AfrinicRealAnswers(benchmark::State& state) {
    RealAnswers(state, RegistryAfrinic, kAfrinicAnswers);
}
void BM_LacnicRealAnswers(benchmark::State& state) {
    RealAnswers(state, RegistryLacnic, kLacnicAnswers);
}
void BM_ArinSynthetic1MB(benchmark::State& state) {
    Synthetic(state, RegistryArin, SyntheticArin());
}
void BM_RipeSynthetic1MB(benchmark::State& state) {
    Synthetic(state, RegistryRipe, SyntheticRipe());
}
void BM_LacnicSynthetic1MB(benchmark::State& state) {
    Synthetic(state, RegistryLacnic, SyntheticLacnic());
}

BENCHMARK(BM_ArinRealAnswers);
BENCHMARK(BM_RipeRealAnswers);
BENCHMARK(BM_ApnicRealAnswers);
BENCHMARK(BM_AfrinicRealAnswers);
BENCHMARK(BM_LacnicRealAnswers);
BENCHMARK(BM_RdapRealAnswers);
BENCHMARK(BM_ArinSynthetic1MB);
BENCHMARK(BM_RipeSynthetic1MB);
BENCHMARK(BM_LacnicSynthetic1MB);

}  // namespace
