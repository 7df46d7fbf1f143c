#include "whois/ripe_parser.h"

#include <cstring>

#include "base/address_helpers.h"
#include "base/registry_id.h"
#include "whois/answer_reader.h"
#include "whois/country_tables.h"
#include "whois/record_helpers.h"

namespace {

// The state of one parse besides the record itself.
struct RipeParse {
    char firstAbuse[kFieldSize];
    char adminHandle[kFieldSize];  // the first "admin-c" of the answer
    char contactName[kFieldSize];  // the last "person" or "role"
    WhoisRecord contact;           // the contact object being read
    ContactState state;
    bool ownerPending;  // inside an inetnum object whose first descr is still to come
};

// Restarts the scratch contact. Only its five contact fields are ever used
// or copied, so clearing those is clearing all that matters of it.
void ClearContact(WhoisRecord* contact) {
    std::memset(contact->email, 0, sizeof contact->email);
    std::memset(contact->address, 0, sizeof contact->address);
    std::memset(contact->phone, 0, sizeof contact->phone);
    std::memset(contact->fax, 0, sizeof contact->fax);
    std::memset(contact->contactName, 0, sizeof contact->contactName);
}

// The admin contact always wins; any other contact only fills a record that
// has no contact address yet. Returns true when it copied.
bool Commit(RipeParse* parse, WhoisRecord* record) {
    if (parse->state == ContactAdmin || (parse->state == ContactUnmatched && record->address[0] == '\0')) {
        CopyContactFields(&parse->contact, record);
        return true;
    }
    return false;
}

// The "trouble" line names the block's abuse desk, unless an abuse address
// is already known.
void HandleTrouble(WhoisRecord* record) {
    if (FindNoCase(record->abuseEmail, "abuse") >= 0 || !std::strchr(record->value, '@')) return;
    char token[kFieldCapacity];
    int position = 0;
    while (NextToken(token, sizeof token, record->value, " ()[],;:", &position)) {
        if (std::strchr(token, '@')) {
            CopyBounded(record->abuseEmail, kFieldCapacity, token);
            return;
        }
    }
}

// Every key the dialect's steps test; each line's key is classified once.
enum RipeKey {
    kOrg,
    kAdminC,
    kPerson,
    kRole,
    kInetnum,
    kNetName,
    kCountry,
    kTrouble,
    kAddress,
    kPhone,
    kFaxNo,
    kEmail,
    kNicHdl,
    kSource,
    kDescr,
    kRipeKeyCount
};
const Keyword kRipeKeys[kRipeKeyCount] = {
    Keyword("org"),     Keyword("admin-c"), Keyword("person"),  Keyword("role"),    Keyword("inetnum"),
    Keyword("netname"), Keyword("country"), Keyword("trouble"), Keyword("address"), Keyword("phone"),
    Keyword("fax-no"),  Keyword("e-mail"),  Keyword("nic-hdl"), Keyword("source"),  Keyword("descr"),
};

void HandleContactLine(RipeParse* parse, int key, WhoisRecord* record) {
    WhoisRecord& contact = parse->contact;
    const char* value = record->value;
    if (contact.contactName[0] == '\0') CopyBounded(contact.contactName, kFieldCapacity, parse->contactName);
    switch (key) {
        case kAddress:
            AppendAddressPart(contact.address, value);
            break;
        case kPhone:
            CopyBounded(contact.phone, kFieldCapacity, value);
            break;
        case kFaxNo:
            CopyBounded(contact.fax, kFieldCapacity, value);
            break;
        case kEmail:
            CopyBounded(contact.email, kFieldCapacity, value);
            break;
        case kNicHdl:
            if (ValueIs(record, parse->adminHandle)) parse->state = ContactAdmin;
            break;
        case kSource:
            // A complete object is done: later lines must not feed it.
            if (Commit(parse, record) && contact.email[0] != '\0' && contact.address[0] != '\0') {
                parse->state = ContactNone;
            }
            break;
        default:
            break;
    }
}

}  // namespace

void CopyContactFields(const WhoisRecord* source, WhoisRecord* destination) {
    std::memcpy(destination->email, source->email, sizeof destination->email);
    std::memcpy(destination->address, source->address, sizeof destination->address);
    std::memcpy(destination->phone, source->phone, sizeof destination->phone);
    std::memcpy(destination->fax, source->fax, sizeof destination->fax);
    std::memcpy(destination->contactName, source->contactName, sizeof destination->contactName);
}

int ParseRipeResponse(WhoisRecord* record, const char* answer, int registry) {
    RipeParse parse;
    parse.firstAbuse[0] = '\0';
    parse.adminHandle[0] = '\0';
    parse.contactName[0] = '\0';
    ClearRecord(&parse.contact);
    parse.state = ContactNone;
    parse.ownerPending = false;
    record->whoisSource = registry;

    CountryMemo countryMemo;
    AnswerReader reader(answer);
    while (reader.Next(record)) {
        if (record->line[0] == '\0' || record->line[0] == ' ') {
            // The end of an object.
            parse.ownerPending = false;
            Commit(&parse, record);
            parse.state = ContactNone;
        }
        if (!reader.Split(record)) continue;
        const char* value = record->value;
        const int key = reader.Match(kRipeKeys, kRipeKeyCount);

        // These steps are independent of each other, in this order.
        if (key == kOrg && ValueIs(record, "org-afnc1-ripe")) return RegistryAfrinic;
        if (parse.firstAbuse[0] == '\0') PickAbuseAddress(value, parse.firstAbuse);
        if (key == kAdminC && parse.adminHandle[0] == '\0') CopyBounded(parse.adminHandle, kFieldCapacity, value);
        if (key == kPerson || key == kRole) {
            CopyBounded(parse.contactName, kFieldCapacity, value);
            ClearContact(&parse.contact);
            parse.state = ContactUnmatched;
        }
        if (key == kInetnum) {
            ParseAddressRange(record);
            parse.ownerPending = true;
        }
        if (key == kNetName) {
            CopyBounded(record->networkName, kFieldCapacity, value);
        } else if (key == kCountry) {
            SetCountryFromValue(record->country, value, true, &countryMemo);
        } else if (key == kTrouble) {
            HandleTrouble(record);
        }
        if (parse.state == ContactUnmatched || parse.state == ContactAdmin) HandleContactLine(&parse, key, record);
        if (parse.ownerPending && key == kDescr) {
            CopyBounded(record->ownerName, kFieldCapacity, value);
            parse.ownerPending = false;
        }
    }

    Commit(&parse, record);  // an answer that ends without a blank line
    FinishAbuseEmail(record, parse.firstAbuse);
    return 0;
}
