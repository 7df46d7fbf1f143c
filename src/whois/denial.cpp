#include "whois/denial.h"

#include <cstring>

namespace {

bool StartsWith(const char* line, const char* prefix) {
    return std::strncmp(line, prefix, std::strlen(prefix)) == 0;
}

Denial LineDenial(const char* line) {
    // The RIPE server family writes its errors as "%ERROR:nnn" at the start of
    // a line; its older versions left out the "%".
    const char* code = line[0] == '%' ? line + 1 : line;
    if (StartsWith(code, "ERROR:201") || StartsWith(code, "ERROR:202")) return Denial::Blocked;
    if (StartsWith(code, "ERROR:306")) return Denial::TooManyConnections;
    // LACNIC's texts come as comment lines or bare; only the words are known.
    while (*line == '%' || *line == ' ') ++line;
    if (StartsWith(line, "Query rate limit exceeded") || StartsWith(line, "Permission denied")) {
        return Denial::RateLimited;
    }
    return Denial::None;
}

}  // namespace

Denial FindDenial(const char* answer) {
    for (const char* line = answer ? answer : ""; *line;) {
        const Denial denial = LineDenial(line);
        if (denial != Denial::None) return denial;
        const char* end = std::strchr(line, '\n');
        if (!end) break;
        line = end + 1;
    }
    return Denial::None;
}
