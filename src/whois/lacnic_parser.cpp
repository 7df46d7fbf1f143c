#include "whois/lacnic_parser.h"

#include <cstring>

#include "base/address_helpers.h"
#include "base/registry_id.h"
#include "whois/answer_reader.h"
#include "whois/country_tables.h"
#include "whois/record_helpers.h"

namespace {

enum LacnicKeyword { kCountry, kInetnum, kOwner, kOwnerId, kPhone, kEmail, kPerson, kAddress, kKeywordCount };

// Tested in this order; the first match decides.
const Keyword kKeywords[kKeywordCount] = {
    Keyword("country"), Keyword("inetnum"), Keyword("owner"),  Keyword("ownerid"),
    Keyword("phone"),   Keyword("e-mail"),  Keyword("person"), Keyword("address"),
};

bool IsCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The prefix length read as atoi would (blanks, then an optional sign, then
// digits), clamped so that a long run of digits cannot overflow.
long ReadPrefixLength(const char* text) {
    while (IsCSpace(*text)) ++text;
    bool negative = false;
    if (*text == '+' || *text == '-') negative = *text++ == '-';
    long value = 0;
    for (; *text >= '0' && *text <= '9'; ++text) {
        if (value < 1000) value = value * 10 + (*text - '0');
    }
    return negative ? -value : value;
}

}  // namespace

bool ParseCidrRange(const char* text, uint32_t* first, uint32_t* last) {
    char buffer[kFieldSize];
    CopyBounded(buffer, kFieldCapacity, text);
    char* slash = std::strchr(buffer, '/');
    if (!slash) return false;
    *slash = '\0';
    // Prefix 0 covers everything and is no answer; beyond 32 or below 0 is
    // no prefix at all.
    const long prefix = ReadPrefixLength(slash + 1);
    if (prefix <= 0 || prefix > 32) return false;
    uint32_t address = 0;
    ParseDottedQuad(buffer, &address, 1);  // shortened forms fail but keep their groups
    if (address == 0) return false;
    const uint32_t hostBits = prefix == 32 ? 0u : 0xFFFFFFFFu >> prefix;
    *first = address;
    *last = SwapByteOrder(SwapByteOrder(address) | hostBits);
    return true;
}

int ParseLacnicResponse(WhoisRecord* record, const char* answer) {
    char firstAbuse[kFieldSize] = "";
    bool addressDone = false;
    record->whoisSource = RegistryLacnic;

    CountryMemo countryMemo;
    AnswerReader reader(answer);
    while (reader.Next(record)) {
        // The owner's address is the first run of address lines only.
        if (record->line[0] == '\0' && record->address[0] != '\0') addressDone = true;
        if (!reader.Split(record)) continue;
        if (firstAbuse[0] == '\0') PickAbuseAddress(record->value, firstAbuse);
        const char* value = record->value;

        switch (reader.Match(kKeywords, kKeywordCount)) {
            case kCountry:
                SetCountryFromValue(record->country, value, true, &countryMemo);
                break;
            case kInetnum:
                ParseCidrRange(value, &record->fromIp, &record->toIp);
                break;
            case kOwner:
                CopyBounded(record->ownerName, kFieldCapacity, value);
                break;
            case kOwnerId:
                CopyBounded(record->networkName, kFieldCapacity, value);
                break;
            case kPhone:
                if (record->phone[0] == '\0') CopyBounded(record->phone, kFieldCapacity, value);
                break;
            case kEmail:
                if (record->email[0] == '\0') CopyBounded(record->email, kFieldCapacity, value);
                break;
            case kPerson:
                if (record->contactName[0] == '\0') CopyBounded(record->contactName, kFieldCapacity, value);
                break;
            case kAddress:
                if (!addressDone) AppendAddressPart(record->address, value);
                break;
            default:
                break;
        }
    }

    FinishAbuseEmail(record, firstAbuse);
    return 0;
}
