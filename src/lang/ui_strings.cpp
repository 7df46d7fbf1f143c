#include "lang/ui_strings.h"

#include <cstring>

#include "lang/format_conversions.h"
#include "resources/resource_ids.h"

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
    char builtin[kWorkSize];  // the program's own text beside a translation
};

StringCache* g_cache = nullptr;
UiStringSource* g_source = nullptr;
char g_empty[1] = {'\0'};

bool FetchBuiltin(int tableId, char* out) {
    out[0] = '\0';
    const bool found = g_source->BuiltinText(tableId, out, kWorkSize);
    out[kWorkSize - 1] = '\0';
    return found && out[0] != '\0';
}

// Copies a text into the pool; null when the pool or the table is full.
const char* AddToPool(StringCache& c, uint32_t id, const char* text) {
    const int length = static_cast<int>(std::strlen(text));
    if (c.count >= kMaxEntries || c.used + length + 2 >= kPoolSize) return nullptr;
    std::memcpy(c.pool + c.used, text, static_cast<size_t>(length) + 1);
    c.entries[c.count].id = id;
    c.entries[c.count].offset = c.used;
    ++c.count;
    c.used += length + 1;
    return c.pool + c.entries[c.count - 1].offset;
}

}  // namespace

bool IsUiFormatString(uint32_t id) {
    const uint32_t tableId = id & 0xFFFF;
    return tableId == IDS_ITEM_COUNT || tableId == IDS_SELECTED_COUNT || tableId == IDS_PROGRESS ||
           tableId == IDS_REGISTRY_REFUSED || tableId == IDS_CONTACTS_USED_UP;
}

void SetUiStringSource(UiStringSource* source) {
    g_source = source;
}

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

    const int tableId = static_cast<int>(id & 0xFFFF);
    bool translated = false;
    if (!(id & UISTR_BUILTIN)) {
        c.work[0] = '\0';
        translated = g_source->TranslatedText(static_cast<int>(id), c.work, kWorkSize);
        c.work[kWorkSize - 1] = '\0';
        translated = translated && c.work[0] != '\0';
    }
    if (translated && IsUiFormatString(id)) {
        // A format that asks for other arguments than the program's text
        // would read or write memory it does not own, so the program's text
        // is used instead. Other texts are shown as they are, "%" and all.
        const bool hasBuiltin = FetchBuiltin(tableId, c.builtin);
        if (!SameConversions(hasBuiltin ? c.builtin : "", c.work)) {
            if (!hasBuiltin) return g_empty;
            std::memcpy(c.work, c.builtin, sizeof c.work);
            translated = false;
        }
    } else if (!translated && !FetchBuiltin(tableId, c.work)) {
        return g_empty;
    }

    if (const char* pooled = AddToPool(c, id, c.work)) return pooled;
    // A translation too long for what is left of the pool: the program's
    // own, usually shorter, text may still fit.
    if (translated && c.count < kMaxEntries && FetchBuiltin(tableId, c.builtin)) {
        if (const char* pooled = AddToPool(c, id, c.builtin)) return pooled;
    }
    return g_empty;
}
