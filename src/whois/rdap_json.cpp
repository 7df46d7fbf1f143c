#include "whois/rdap_json.h"

#include <utility>
#include <vector>

#include "whois/ansi_text.h"
#include "whois/rdap_parser.h"
#include "whois/record_helpers.h"

using nlohmann::json;

namespace {

// Counts brackets outside strings: for JSON that parses, exactly its depth.
bool DepthWithin(const char* text, size_t length, int limit) {
    int depth = 0;
    bool inString = false;
    for (size_t i = 0; i < length; ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > limit) return false;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return true;
}

// The text with its JSON escapes for quote, backslash and control bytes;
// done on the UTF-8 side, where no byte of a character can look like ASCII.
std::string Escaped(const std::string& utf8) {
    std::string out = "\"";
    for (const char c : utf8) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (u < 0x20) {
            static const char kHex[] = "0123456789abcdef";
            out += "\\u00";
            out += kHex[u >> 4];
            out += kHex[u & 15];
        } else {
            out += c;
        }
    }
    out += '"';
    return out;
}

// Writes the events of the parser as indented text as they come, so the
// members keep the order the server sent.
class PaneWriter : public json::json_sax_t {
  public:
    explicit PaneWriter(std::string* out) : out(out) {}

    bool null() override { return Scalar("null"); }
    bool boolean(bool value) override { return Scalar(value ? "true" : "false"); }
    bool number_integer(number_integer_t value) override { return Scalar(std::to_string(value)); }
    bool number_unsigned(number_unsigned_t value) override { return Scalar(std::to_string(value)); }
    bool number_float(number_float_t, const string_t& text) override { return Scalar(text); }
    bool string(string_t& value) override { return Scalar(Escaped(value), true); }
    bool binary(binary_t&) override { return false; }
    bool start_object(std::size_t) override { return Open('{'); }
    bool end_object() override { return Close('}'); }
    bool start_array(std::size_t) override { return Open('['); }
    bool end_array() override { return Close(']'); }
    bool key(string_t& name) override {
        Separate();
        Convert(Escaped(name));
        *out += ": ";
        return true;
    }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override { return false; }

  private:
    void Convert(const std::string& utf8) { Utf8ToAnsi(utf8.data(), utf8.size(), out); }

    // A new line for the next element or member, after a comma when it is not the first.
    void Separate() {
        if (counts.back()++ > 0) *out += ',';
        NewLine(counts.size());
    }
    void NewLine(size_t depth) {
        *out += "\r\n";
        out->append(depth * 2, ' ');
    }
    // An array element starts its own line; a member's value follows its key.
    void BeforeValue() {
        if (!counts.empty() && !inObject.back()) Separate();
    }
    bool Scalar(const std::string& text, bool convert = false) {
        BeforeValue();
        if (convert) {
            Convert(text);
        } else {
            *out += text;
        }
        return true;
    }
    bool Open(char bracket) {
        if (counts.size() >= static_cast<size_t>(kRdapMaxDepth)) return false;
        BeforeValue();
        *out += bracket;
        counts.push_back(0);
        inObject.push_back(bracket == '{');
        return true;
    }
    bool Close(char bracket) {
        const bool empty = counts.back() == 0;
        counts.pop_back();
        inObject.pop_back();
        if (!empty) NewLine(counts.size());
        *out += bracket;
        return true;
    }

    std::string* out;
    std::vector<size_t> counts;  // elements or members written, per open level
    std::vector<bool> inObject;
};

bool SaysRateLimitExceeded(const json& text) {
    if (text.is_array()) {
        for (const json& line : text) {
            if (SaysRateLimitExceeded(line)) return true;
        }
        return false;
    }
    if (!text.is_string()) return false;
    const char* value = text.get_ref<const std::string&>().c_str();
    return (FindNoCase(value, "rate limit") >= 0 || FindNoCase(value, "rate-limit") >= 0) &&
           FindNoCase(value, "exceed") >= 0;
}

bool NoticeSaysRateLimit(const json& notice) {
    if (!notice.is_object()) return false;
    const auto title = notice.find("title");
    const auto description = notice.find("description");
    return (title != notice.end() && SaysRateLimitExceeded(*title)) ||
           (description != notice.end() && SaysRateLimitExceeded(*description));
}

}  // namespace

json ParseRdapJson(const char* answer, size_t length) {
    if (!answer || !DepthWithin(answer, length, kRdapMaxDepth)) return json(json::value_t::discarded);
    std::string repaired;
    if (RepairUtf8(answer, length, &repaired)) {
        answer = repaired.data();
        length = repaired.size();
    }
    return json::parse(answer, answer + length, nullptr, false);
}

const std::string* StringMember(const json& object, const char* name) {
    if (!object.is_object()) return nullptr;
    const auto found = object.find(name);
    return found != object.end() && found->is_string() ? found->get_ptr<const std::string*>() : nullptr;
}

bool RdapRateLimited(const char* answer, size_t length) {
    try {
        const json body = ParseRdapJson(answer, length);
        if (!body.is_object()) return false;
        const auto code = body.find("errorCode");
        if (code != body.end() &&
            ((code->is_number_integer() && *code == 429) || (code->is_string() && *code == "429")))
            return true;
        if (NoticeSaysRateLimit(body)) return true;
        const auto notices = body.find("notices");
        if (notices == body.end() || !notices->is_array()) return false;
        for (const json& notice : *notices) {
            if (NoticeSaysRateLimit(notice)) return true;
        }
    } catch (...) {  // only running out of memory can throw here
    }
    return false;
}

bool FormatRdapForPane(const char* answer, size_t length, std::string* out) {
    out->clear();
    bool formatted = false;
    try {
        std::string repaired;
        if (answer && RepairUtf8(answer, length, &repaired)) {
            answer = repaired.data();
            length = repaired.size();
        }
        PaneWriter writer(out);
        formatted = answer && json::sax_parse(answer, answer + length, &writer);
    } catch (...) {  // only running out of memory can throw here
    }
    if (!formatted) out->clear();
    return formatted;
}
