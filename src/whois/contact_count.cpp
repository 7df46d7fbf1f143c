#include "whois/contact_count.h"

#include <cctype>
#include <cstring>

namespace {

// Whether the line starts with the attribute name, in any case, then ":".
bool IsAttribute(const char* line, const char* name) {
    const size_t length = std::strlen(name);
    for (size_t i = 0; i < length; ++i)
        if (std::tolower(static_cast<unsigned char>(line[i])) != name[i]) return false;
    return line[length] == ':';
}

}  // namespace

int CountContactObjects(const char* answer) {
    int count = 0;
    // The class of the object being read: 0 none or not a contact, 1 person, 2 role.
    int kind = 0;
    bool abuse = false;
    for (const char* line = answer ? answer : "";;) {
        // An object ends at a blank or comment line, or where the answer does.
        const bool ends = *line == '\0' || *line == '\r' || *line == '\n' || *line == '%' || *line == '#';
        if (ends) {
            if (kind == 1 || (kind == 2 && !abuse)) ++count;
            kind = 0;
            abuse = false;
        } else if (kind == 0 && (IsAttribute(line, "person") || IsAttribute(line, "role"))) {
            kind = std::tolower(static_cast<unsigned char>(line[0])) == 'p' ? 1 : 2;
        } else if (kind != 0 && IsAttribute(line, "abuse-mailbox")) {
            abuse = true;
        } else if (kind == 0 && *line != ' ' && *line != '\t' && *line != '+') {
            kind = -1;  // another class: its later lines start no contact
        }
        const char* end = std::strchr(line, '\n');
        if (!end) {
            if (*line)
                line += std::strlen(line);  // once more, to end the last object
            else
                break;
            continue;
        }
        line = end + 1;
    }
    return count;
}
