#include "base/browser_command.h"

#include <cstring>

bool BrowserPathFromCommand(const char* command, std::string* path) {
    path->clear();
    if (!command || !*command) return false;
    if (command[0] == '"') {
        const char* close = std::strchr(command + 1, '"');
        if (!close) return false;
        path->assign(command + 1, close);
        return true;
    }
    const char* backslash = std::strrchr(command, '\\');
    if (!backslash) return false;
    const char* blank = std::strchr(backslash, ' ');
    if (blank) {
        path->assign(command, blank);
    } else {
        path->assign(command);
    }
    return true;
}
