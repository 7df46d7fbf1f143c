#include "app/command_line.h"

#include <cstring>

#include "base/options.h"

namespace {
bool EqualNoCase(const char* a, const char* b) {
    for (;; ++a, ++b) {
        unsigned char x = static_cast<unsigned char>(*a), y = static_cast<unsigned char>(*b);
        if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
        if (x != y) return false;
        if (!x) return true;
    }
}
}  // namespace

void CommandLine::Build(const char* raw) {
    packed.clear();
    offsets.clear();
    std::string current;
    bool quoted = false;
    bool separator = true;
    auto finish = [&] {
        offsets.push_back(packed.size());
        packed.insert(packed.end(), current.begin(), current.end());
        packed.push_back('\0');
        current.clear();
    };
    for (const char* p = raw ? raw : ""; *p; ++p) {
        const char c = *p;
        if (c == ' ' && !quoted) {
            if (separator) continue;
            finish();
            separator = true;
        } else if (c == '"') {
            quoted = !quoted;
            separator = false;
        } else {
            // Blanks right after an opening quote are not kept.
            if (!(current.empty() && c == ' ')) current.push_back(c);
            separator = false;
        }
    }
    if (!current.empty()) finish();
}

const char* CommandLine::Token(int i) const {
    if (i < 0 || i >= Count()) return "";
    return packed.data() + offsets[static_cast<size_t>(i)];
}

int CommandLine::Find(const char* name) const {
    for (int i = 0; i < Count(); ++i) {
        if (EqualNoCase(Token(i), name)) return i;
    }
    return -1;
}

const char* CommandLine::ValueOf(const char* name) const {
    const int i = Find(name);
    return i < 0 ? "" : Token(i + 1);
}

void ApplyRunSwitches(const CommandLine& commandLine, Options& options) {
    static const struct {
        const char* name;
        int32_t Options::*flag;
    } kSwitches[] = {{"/rdap", &Options::RdapOnce}};
    for (const auto& s : kSwitches) {
        if (commandLine.Find(s.name) >= 0) options.*s.flag = 1;
    }
}
