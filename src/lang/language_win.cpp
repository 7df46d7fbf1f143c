#include "lang/language.h"

#include <cstring>

#include "lang/ui_strings.h"
#include "shell/app.h"

namespace {

// The string table of the program's own resources.
class ResourceStringSource : public UiStringSource {
public:
    bool BuiltinText(int id, char* out, int outSize) override {
        out[0] = '\0';
        return LoadStringA(AppInstance(), static_cast<UINT>(id), out, outSize) > 0;
    }
    bool TranslatedText(int, char*, int) override { return false; }
};

ResourceStringSource g_resourceStrings;

}  // namespace

void InitLanguage() { SetUiStringSource(&g_resourceStrings); }

HMENU LoadUiMenu(int menuId) { return LoadMenuA(AppInstance(), MAKEINTRESOURCEA(menuId)); }

void TranslateDialog(HWND) {}

void MirrorWindow(HWND, int) {}

bool LanguageRightToLeft() { return false; }
const char* LanguageCharset() { return ""; }
const char* TranslatorName() { return ""; }
const char* TranslatorUrl() { return ""; }
