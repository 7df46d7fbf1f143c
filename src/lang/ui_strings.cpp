#include "lang/ui_strings.h"

#include <cstring>

namespace {

constexpr int kPoolSize = 32768;
constexpr int kMaxEntries = 256;
constexpr int kWorkSize = 4096;

struct CacheEntry {
    uint32_t id;
    int offset;
};

// A fixed pool: texts handed out stay valid for the whole run, so nothing
// is ever moved or freed while the program runs.
struct StringCache {
    char pool[kPoolSize];
    CacheEntry entries[kMaxEntries];
    int count = 0;
    int used = 0;
    char work[kWorkSize];
};

StringCache* g_cache = nullptr;
UiStringSource* g_source = nullptr;
char g_empty[1] = {'\0'};

}  // namespace

void SetUiStringSource(UiStringSource* source) { g_source = source; }

void ResetUiStringCache() {
    delete g_cache;
    g_cache = nullptr;
}

const char* GetUiString(uint32_t id) {
    if (!g_cache) g_cache = new StringCache();
    StringCache& c = *g_cache;
    for (int i = 0; i < c.count; ++i) {
        if (c.entries[i].id == id) return c.pool + c.entries[i].offset;
    }
    if (!g_source) return g_empty;

    c.work[0] = '\0';
    const int tableId = static_cast<int>(id & 0xFFFF);
    bool found = false;
    if (!(id & UISTR_BUILTIN)) found = g_source->TranslatedText(static_cast<int>(id), c.work, kWorkSize) && c.work[0];
    if (!found) found = g_source->BuiltinText(tableId, c.work, kWorkSize);
    c.work[kWorkSize - 1] = '\0';
    if (!found || c.work[0] == '\0') return g_empty;

    const int length = static_cast<int>(std::strlen(c.work));
    if (c.count >= kMaxEntries || c.used + length + 2 >= kPoolSize) return g_empty;
    std::memcpy(c.pool + c.used, c.work, static_cast<size_t>(length) + 1);
    c.entries[c.count].id = id;
    c.entries[c.count].offset = c.used;
    ++c.count;
    c.used += length + 1;
    return c.pool + c.entries[c.count - 1].offset;
}
