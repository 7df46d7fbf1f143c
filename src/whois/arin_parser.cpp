#include "whois/arin_parser.h"

#include <cstdio>

#include "base/registry_id.h"
#include "whois/answer_reader.h"
#include "whois/country_tables.h"
#include "whois/record_helpers.h"

namespace {

inline unsigned char FoldAscii(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return u >= 'A' && u <= 'Z' ? static_cast<unsigned char>(u + 32) : u;
}

enum ArinKeyword {
    kOrgId,
    kNetName,
    kOrgName,
    kAddress,
    kCity,
    kCountry,
    kStateProv,
    kNetRange,
    kOrgAbuseEmail,
    kAbuseEmail,
    kOrgTechEmail,
    kTechEmail,
    kOrgTechPhone,
    kTechPhone,
    kOrgAbusePhone,
    kKeywordCount
};

// Tested in this order; the first match decides.
const Keyword kKeywords[kKeywordCount] = {
    Keyword("orgid"),         Keyword("netname"),    Keyword("orgname"),       Keyword("address"),
    Keyword("city"),          Keyword("country"),    Keyword("stateprov"),     Keyword("netrange"),
    Keyword("orgabuseemail"), Keyword("abuseemail"), Keyword("orgtechemail"),  Keyword("techemail"),
    Keyword("orgtechphone"),  Keyword("techphone"),  Keyword("orgabusephone"),
};

// A block held by another registry carries that registry as its
// organisation. Returns the registry to ask instead, or 0.
int HandleOrgId(WhoisRecord* record) {
    if (ValueIs(record, "ripe")) return RegistryRipe;
    if (ValueIs(record, "lacnic")) return RegistryLacnic;
    if (ValueIs(record, "apnic")) return RegistryApnic;
    if (ValueIs(record, "afrinic")) return RegistryAfrinic;
    if (ValueIs(record, "iana")) record->allocated = 1;
    return 0;
}

// lastState holds the code of the state that set the country text; only
// this function writes the field once it has text, so the same code again
// would write the same text.
void HandleStateProv(WhoisRecord* record, CountryMemo* lastState) {
    const unsigned char first = FoldAscii(record->value[0]);
    const unsigned char second = first ? FoldAscii(record->value[1]) : 0;
    if (first && lastState->code[0] == first && lastState->code[1] == second) return;
    char state[kFieldSize];
    if (!LookupStateName(record->value, state)) return;
    CapitalizeWords(state);
    char text[kFieldSize + 8];
    std::snprintf(text, sizeof text, "USA - %s", state);
    CopyBounded(record->country, kFieldCapacity, text);
    lastState->code[0] = first;
    lastState->code[1] = second;
}

}  // namespace

int ParseArinResponse(WhoisRecord* record, const char* answer) {
    char firstAbuse[kFieldSize] = "";
    bool newBlock = false;
    CountryMemo lastState;
    record->whoisSource = RegistryArin;

    AnswerReader reader(answer);
    while (reader.Next(record)) {
        if (record->line[0] == '\0' || record->line[0] == ' ') newBlock = true;
        if (!reader.Split(record)) continue;
        if (firstAbuse[0] == '\0') PickAbuseAddress(record->value, firstAbuse);
        const char* value = record->value;

        switch (reader.Match(kKeywords, kKeywordCount)) {
            case kOrgId:
                if (int registry = HandleOrgId(record)) return registry;
                break;
            case kNetName:
                CopyBounded(record->networkName, kFieldCapacity, value);
                break;
            case kOrgName:
                CopyBounded(record->ownerName, kFieldCapacity, value);
                CopyBounded(record->contactName, kFieldCapacity, value);
                break;
            case kAddress:
            case kCity:
                // Only the last block with a postal address counts.
                if (value[0] == '\0') break;
                if (newBlock) {
                    record->address[0] = '\0';
                    newBlock = false;
                }
                AppendAddressPart(record->address, value);
                break;
            case kCountry:
                SetCountryFromValue(record->country, value, false, nullptr);
                break;
            case kStateProv:
                HandleStateProv(record, &lastState);
                break;
            case kNetRange:
                ParseAddressRange(record);
                break;
            case kOrgAbuseEmail:
            case kAbuseEmail:
                CopyBounded(record->abuseEmail, kFieldCapacity, value);
                break;
            case kOrgTechEmail:
            case kTechEmail:
                CopyBounded(record->email, kFieldCapacity, value);
                break;
            case kOrgTechPhone:
            case kTechPhone:
                if (record->phone[0] == '\0') CopyBounded(record->phone, kFieldCapacity, value);
                break;
            case kOrgAbusePhone:
                CopyBounded(record->phone, kFieldCapacity, value);
                break;
            default:
                break;
        }
    }

    if (record->fromIp == 0 && record->toIp == 0 && record->ownerName[0] == '\0' && record->networkName[0] == '\0') {
        record->allocated = 1;
    }
    FinishAbuseEmail(record, firstAbuse);
    return 0;
}
