#include "lang/language_file.h"

#include <cstdio>
#include <cstring>

namespace {

void CopyBounded(char* out, size_t size, const char* text) {
    std::snprintf(out, size, "%s", text ? text : "");
}

}  // namespace

std::string LanguageFilePathFor(const char* programPath) {
    std::string result = programPath ? programPath : "";
    const size_t dot = result.rfind('.');
    if (dot != std::string::npos) result.erase(dot);
    result += "_lng.ini";
    if (result.size() >= static_cast<size_t>(kLanguagePathSize)) return std::string();
    return result;
}

void LanguageFile::Open(const char* file) {
    CopyBounded(path, sizeof path, file);
}

void LanguageFile::SelectSection(const char* name) {
    CopyBounded(section, sizeof section, name);
}

void LanguageFile::SelectSection(const char* prefix, int id) {
    std::snprintf(section, sizeof section, "%s_%d", prefix, id);
}

bool LanguageFile::Read(const char* key, char* out, int outSize) {
    if (outSize <= 0) return false;
    out[0] = '\0';
    if (!InUse()) return false;
    store->GetString(path, section, key, "", out, outSize);
    out[outSize - 1] = '\0';
    return out[0] != '\0';
}

bool LanguageFile::Read(int key, char* out, int outSize) {
    char name[16];
    std::snprintf(name, sizeof name, "%d", key);
    return Read(name, out, outSize);
}

void LanguageFile::WriteIfMissing(const char* key, const char* value) {
    if (!InUse()) return;
    char existing[kLanguageValueSize];
    if (Read(key, existing, sizeof existing)) return;
    store->PutString(path, section, key, value);
}

void LanguageFile::WriteIfMissing(int key, const char* value) {
    char name[16];
    std::snprintf(name, sizeof name, "%d", key);
    WriteIfMissing(name, value);
}

LanguageGeneral LanguageFile::ReadGeneral() {
    LanguageGeneral general;
    SelectSection("general");
    if (!InUse()) return general;
    general.rtl = store->GetInt(path, section, "rtl", 0) == 1 ? 1 : 0;
    Read("charset", general.charset, sizeof general.charset);
    Read("TranslatorName", general.translatorName, sizeof general.translatorName);
    Read("TranslatorURL", general.translatorUrl, sizeof general.translatorUrl);
    return general;
}

int MenuKeyNumbering::KeyFor(bool hasSubmenu, bool topLevel, int position, uint32_t commandId) {
    if (!hasSubmenu) return static_cast<int>(commandId);
    if (topLevel) return 70001 + position;
    return 71000 + ++counter;
}

void WalkMenu(MenuSource& source, void* menu, bool topLevel, MenuKeyNumbering& numbering) {
    const int count = source.ItemCount(menu);
    for (int position = 0; position < count; ++position) {
        std::string text;
        uint32_t commandId = 0;
        void* submenu = nullptr;
        source.ReadItem(menu, position, &text, &commandId, &submenu);
        if (!text.empty()) {
            source.Visit(menu, position, numbering.KeyFor(submenu != nullptr, topLevel, position, commandId), text);
        }
        if (submenu) WalkMenu(source, submenu, false, numbering);
    }
}

std::string TranslatedMenuText(const char* value, const char* oldText) {
    std::string text = value ? value : "";
    const char* tab = oldText ? std::strchr(oldText, '\t') : nullptr;
    if (tab) text += tab;
    return text;
}

std::string MenuTextWithoutAccelerator(const char* text) {
    std::string s = text ? text : "";
    const size_t tab = s.find('\t');
    if (tab != std::string::npos) s.erase(tab);
    return s;
}
