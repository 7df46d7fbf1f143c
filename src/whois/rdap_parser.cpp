#include "whois/rdap_parser.h"

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "base/address_helpers.h"
#include "whois/ansi_text.h"
#include "whois/country_tables.h"
#include "whois/rdap_json.h"
#include "whois/record_helpers.h"

using nlohmann::json;

namespace {

enum RoleBits : unsigned { kRegistrant = 1, kTechnical = 2, kAdministrative = 4, kAbuse = 8 };

// One entity of the answer. An entity listed under one handle more than once
// (RIPE writes each once with its roles, once with its details) is one
// contact with the roles of all and the first vCard.
struct Contact {
    const json* properties = nullptr;  // the vCard's property list
    unsigned roles = 0;
    bool roleless = true;  // no roles listed at all, not even ones the record has no use for
    int depth = 0;         // 0 for the network's own entities, 1 for those inside them...
};

bool SameNoCase(const std::string& a, const char* b) {
    return a.size() == std::strlen(b) && FindNoCase(a.c_str(), b) == 0;
}

// A field's text: UTF-8 in the ANSI code page, control characters as blanks.
// Only as much of the text is converted as can reach the field: one byte of
// the result needs at most four of UTF-8.
std::string AnsiText(const std::string& utf8) {
    size_t cut = utf8.size() < 4 * kFieldSize ? utf8.size() : 4 * kFieldSize;
    while (cut < utf8.size() && cut > 0 && (static_cast<unsigned char>(utf8[cut]) & 0xC0) == 0x80) --cut;
    std::string ansi;
    Utf8ToAnsi(utf8.data(), cut, &ansi);
    for (char& c : ansi) {
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    }
    return ansi;
}

void SetField(char* field, const std::string* utf8) {
    if (utf8) CopyBounded(field, kFieldCapacity, AnsiText(*utf8).c_str());
}

unsigned RoleOf(const std::string& name) {
    if (SameNoCase(name, "registrant")) return kRegistrant;
    if (SameNoCase(name, "technical")) return kTechnical;
    if (SameNoCase(name, "administrative")) return kAdministrative;
    if (SameNoCase(name, "abuse")) return kAbuse;
    return 0;
}

// Roles as an array of names, or (LACNIC) one text of names between commas.
unsigned RolesOf(const json& entity) {
    const auto roles = entity.find("roles");
    if (roles == entity.end()) return 0;
    unsigned bits = 0;
    if (roles->is_string()) {
        const std::string& text = roles->get_ref<const std::string&>();
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find_first_of(", ", start);
            if (end == std::string::npos) end = text.size();
            bits |= RoleOf(text.substr(start, end - start));
            start = end + 1;
        }
    } else if (roles->is_array()) {
        for (const json& role : *roles) {
            if (role.is_string()) bits |= RoleOf(role.get_ref<const std::string&>());
        }
    }
    return bits;
}

// ["vcard", [property, ...]], each property [name, parameters, type, value].
const json* VcardProperties(const json& entity) {
    const auto vcard = entity.find("vcardArray");
    if (vcard == entity.end() || !vcard->is_array() || vcard->size() < 2 || !(*vcard)[1].is_array()) return nullptr;
    return &(*vcard)[1];
}

// Entities nest (ARIN puts the contacts inside the registrant); the depth
// limit of the parse bounds the recursion.
void CollectContacts(const json& network, int depth, std::vector<Contact>* contacts,
                     std::map<std::string, size_t>* byHandle) {
    const auto entities = network.find("entities");
    if (entities == network.end() || !entities->is_array()) return;
    for (const json& entity : *entities) {
        if (!entity.is_object()) continue;
        const std::string* handle = StringMember(entity, "handle");
        size_t index = contacts->size();
        if (handle && !handle->empty()) index = byHandle->emplace(*handle, index).first->second;
        if (index == contacts->size()) contacts->push_back(Contact{nullptr, 0, true, depth});
        Contact& contact = (*contacts)[index];
        if (depth < contact.depth) contact.depth = depth;
        contact.roles |= RolesOf(entity);
        const auto roles = entity.find("roles");
        if (roles != entity.end() && !roles->empty()) contact.roleless = false;
        if (!contact.properties) contact.properties = VcardProperties(entity);
        CollectContacts(entity, depth + 1, contacts, byHandle);
    }
}

bool IsProperty(const json& property, const char* name) {
    return property.is_array() && property.size() >= 4 && property[0].is_string() &&
           SameNoCase(property[0].get_ref<const std::string&>(), name);
}

// The text value of the first property of that name, or null.
const std::string* PropertyText(const Contact* contact, const char* name) {
    if (!contact || !contact->properties) return nullptr;
    for (const json& property : *contact->properties) {
        if (IsProperty(property, name) && property[3].is_string()) return property[3].get_ptr<const std::string*>();
    }
    return nullptr;
}

const json* Property(const Contact* contact, const char* name) {
    if (!contact || !contact->properties) return nullptr;
    for (const json& property : *contact->properties) {
        if (IsProperty(property, name)) return &property;
    }
    return nullptr;
}

// A parameter of a property: one text or an array of texts.
bool ParameterHas(const json& property, const char* name, const char* word) {
    const auto parameter = property[1].is_object() ? property[1].find(name) : property[1].end();
    if (!property[1].is_object() || parameter == property[1].end()) return false;
    if (parameter->is_string()) return SameNoCase(parameter->get_ref<const std::string&>(), word);
    if (!parameter->is_array()) return false;
    for (const json& value : *parameter) {
        if (value.is_string() && SameNoCase(value.get_ref<const std::string&>(), word)) return true;
    }
    return false;
}

// Telephone numbers: type "fax" for the fax; for the phone a "voice" one,
// else any that is not a fax (vCard's default type is voice). A "tel:" URI
// (AfriNIC) gives its number.
void SetTelephone(char* field, const Contact* contact, bool fax) {
    if (!contact || !contact->properties) return;
    const std::string* found = nullptr;
    for (const json& property : *contact->properties) {
        if (!IsProperty(property, "tel") || !property[3].is_string()) continue;
        const bool isFax = ParameterHas(property, "type", "fax");
        if (fax ? isFax : ParameterHas(property, "type", "voice")) {
            found = property[3].get_ptr<const std::string*>();
            break;
        }
        if (!fax && !isFax && !found) found = property[3].get_ptr<const std::string*>();
    }
    if (!found) return;
    const bool uri = found->size() >= 4 && FindNoCase(found->substr(0, 4).c_str(), "tel:") == 0;
    const std::string number = uri ? found->substr(4) : *found;
    SetField(field, &number);
}

// The lines of an address label, blanks around each trimmed, empty ones left out.
std::vector<std::string> LabelLines(const std::string& label) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= label.size()) {
        size_t end = label.find('\n', start);
        if (end == std::string::npos) end = label.size();
        const size_t first = label.find_first_not_of(" \t\r", start);
        if (first != std::string::npos && first < end) {
            const size_t last = label.find_last_not_of(" \t\r", end - 1);
            lines.push_back(label.substr(first, last - first + 1));
        }
        start = end + 1;
    }
    return lines;
}

// The parts of a structured address in order; a part may itself be a list.
std::vector<std::string> StructuredParts(const json& value) {
    std::vector<std::string> parts;
    if (!value.is_array()) return parts;
    for (const json& part : value) {
        if (part.is_string()) parts.push_back(part.get_ref<const std::string&>());
        if (!part.is_array()) continue;
        for (const json& piece : part) {
            if (piece.is_string()) parts.push_back(piece.get_ref<const std::string&>());
        }
    }
    return parts;
}

// The address from the "label" parameter, else from the structured parts;
// the country from the country-name part, else the label's last line.
void SetAddress(WhoisRecord* record, const Contact* registrant, bool wantCountry) {
    const json* adr = Property(registrant, "adr");
    if (!adr) return;
    const std::string* label = StringMember((*adr)[1], "label");
    const std::vector<std::string> lines = label ? LabelLines(*label) : std::vector<std::string>();
    const std::vector<std::string> parts = lines.empty() ? StructuredParts((*adr)[3]) : lines;
    for (const std::string& part : parts) AppendAddressPart(record->address, AnsiText(part).c_str());

    if (!wantCountry) return;
    const json& value = (*adr)[3];
    const std::string* country = value.is_array() && value.size() >= 7 && value[6].is_string()
                                     ? value[6].get_ptr<const std::string*>()
                                     : nullptr;
    if ((!country || country->empty()) && !lines.empty()) country = &lines.back();
    if (country && !country->empty()) SetCountryFromValue(record->country, AnsiText(*country).c_str(), true, nullptr);
}

// An organisation before anyone else, and anyone with a vCard before a bare handle.
const Contact* ChooseRegistrant(const std::vector<Contact>& contacts, unsigned roles) {
    const Contact* chosen = nullptr;
    int best = 0;
    for (const Contact& contact : contacts) {
        if (roles ? !(contact.roles & roles) : !contact.roleless) continue;
        if (!contact.properties) continue;
        const std::string* kind = PropertyText(&contact, "kind");
        const int rank = kind && SameNoCase(*kind, "org") ? 2 : 1;
        if (rank > best) {
            best = rank;
            chosen = &contact;
        }
    }
    return chosen;
}

// RIPE gives an abuse role two e-mails, the role's own and its abuse mailbox
// (type "abuse"): the abuse address is the mailbox when there is one.
const std::string* AbuseEmail(const Contact* contact) {
    for (const json& property : *contact->properties) {
        if (IsProperty(property, "email") && property[3].is_string() && ParameterHas(property, "type", "abuse"))
            return property[3].get_ptr<const std::string*>();
    }
    return PropertyText(contact, "email");
}

// The network's own contact before one named inside another entity (ARIN
// names the holder's contacts inside the holder), else the first one sent.
// With abuse set, only one with an abuse address counts.
const Contact* FirstWithRole(const std::vector<Contact>& contacts, unsigned role, bool abuse = false) {
    const Contact* chosen = nullptr;
    for (const Contact& contact : contacts) {
        if (!(contact.roles & role) || !contact.properties || (abuse && !AbuseEmail(&contact))) continue;
        if (!chosen || contact.depth < chosen->depth) chosen = &contact;
    }
    return chosen;
}

// The first "abuse@" address of the network's remarks, as the port-43
// parsers take one from anywhere when no abuse contact is named.
void SetAbuseFromRemarks(WhoisRecord* record, const json& network) {
    const auto remarks = network.find("remarks");
    if (remarks == network.end() || !remarks->is_array()) return;
    for (const json& remark : *remarks) {
        const auto description = remark.is_object() ? remark.find("description") : remark.end();
        if (!remark.is_object() || description == remark.end() || !description->is_array()) continue;
        for (const json& line : *description) {
            if (line.is_string() &&
                PickAbuseAddress(AnsiText(line.get_ref<const std::string&>()).c_str(), record->abuseEmail))
                return;
        }
    }
}

uint32_t AddressOf(const std::string* text) {
    if (!text) return 0;
    std::string address = AnsiText(*text);
    address = address.substr(0, address.find('/'));  // RIPE wrote "/32" after each end
    const size_t first = address.find_first_not_of(' ');
    const size_t last = address.find_last_not_of(' ');
    uint32_t ip = 0;
    if (first == std::string::npos || !ParseDottedQuad(address.substr(first, last - first + 1).c_str(), &ip, 0))
        return 0;
    return ip;  // ParseDottedQuad reads ARIN's zero-padded octets ("074") as they are meant
}

bool IsIpNetwork(const json& answer) {
    if (!answer.is_object() || answer.contains("errorCode")) return false;
    const auto objectClass = answer.find("objectClassName");
    if (objectClass == answer.end()) {
        // Old RIPE answers name no class: the addresses show what they are.
        return answer.contains("startAddress") || answer.contains("endAddress");
    }
    return objectClass->is_string() && SameNoCase(objectClass->get_ref<const std::string&>(), "ip network");
}

void MapNetwork(WhoisRecord* record, const json& network) {
    record->fromIp = AddressOf(StringMember(network, "startAddress"));
    record->toIp = AddressOf(StringMember(network, "endAddress"));
    SetField(record->networkName, StringMember(network, "name"));
    if (const std::string* country = StringMember(network, "country")) {
        SetCountryFromValue(record->country, AnsiText(*country).c_str(), true, nullptr);
    }

    std::vector<Contact> contacts;
    std::map<std::string, size_t> byHandle;
    CollectContacts(network, 0, &contacts, &byHandle);
    // AfriNIC once sent its entities without roles: then a role-less one is the holder.
    const Contact* registrant = ChooseRegistrant(contacts, kRegistrant);
    if (!registrant) registrant = ChooseRegistrant(contacts, 0);
    SetField(record->ownerName, PropertyText(registrant, "fn"));
    SetAddress(record, registrant, record->country[0] == '\0');

    const Contact* contact = FirstWithRole(contacts, kTechnical);
    if (!contact) contact = FirstWithRole(contacts, kAdministrative);
    if (!contact) contact = registrant;
    SetField(record->email, PropertyText(contact, "email"));
    SetTelephone(record->phone, contact, false);
    SetTelephone(record->fax, contact, true);
    SetField(record->contactName, PropertyText(contact, "fn"));

    if (const Contact* abuse = FirstWithRole(contacts, kAbuse, true)) SetField(record->abuseEmail, AbuseEmail(abuse));
    if (record->abuseEmail[0] == '\0') SetAbuseFromRemarks(record, network);
}

}  // namespace

int ParseRdapResponse(WhoisRecord* record, const char* answer, size_t length, int32_t registry) {
    ClearRecord(record);
    try {
        const json network = ParseRdapJson(answer, length);
        if (!IsIpNetwork(network)) return -1;
        MapNetwork(record, network);
        record->allocated = 2;
        record->whoisSource = registry;
        return 0;
    } catch (...) {  // only running out of memory can throw here
        ClearRecord(record);
        return -1;
    }
}
