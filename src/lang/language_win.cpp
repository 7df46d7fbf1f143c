#include "lang/language.h"

#include <cstring>
#include <string>
#include <vector>

#include "lang/language_state.h"
#include "lang/ui_strings.h"
#include "framework/app.h"
#include "framework/dialog_base.h"
#include "framework/profile_store_win.h"

namespace {

PrivateProfileStore g_store;
LanguageFile g_file(&g_store);
LanguageGeneral g_general;

// The string table of the program's own resources, translated by the
// language file's section "strings".
class ResourceStringSource : public UiStringSource {
  public:
    bool BuiltinText(int id, char* out, int outSize) override {
        out[0] = '\0';
        return LoadStringA(AppInstance(), static_cast<UINT>(id), out, outSize) > 0;
    }
    bool TranslatedText(int id, char* out, int outSize) override {
        if (!g_file.InUse()) return false;
        g_file.SelectSection("strings");
        return g_file.Read(id, out, outSize);
    }
};

ResourceStringSource g_resourceStrings;

// Real menus for the numbering walk, replacing each item's text by the
// current section's value.
class MenuTranslator : public MenuSource {
  public:
    int ItemCount(void* menu) override { return GetMenuItemCount(static_cast<HMENU>(menu)); }
    void ReadItem(void* menu, int position, std::string* text, uint32_t* commandId, void** submenu) override {
        ReadMenuItem(static_cast<HMENU>(menu), position, text, commandId, submenu);
    }
    void Visit(void* menu, int position, int key, const std::string& text) override {
        std::vector<char> value(kLanguageValueSize);
        if (!g_file.Read(key, value.data(), kLanguageValueSize)) return;
        std::string newText = TranslatedMenuText(value.data(), text.c_str());
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STRING;
        info.dwTypeData = &newText[0];
        SetMenuItemInfoA(static_cast<HMENU>(menu), static_cast<UINT>(position), TRUE, &info);
    }
};

BOOL CALLBACK TranslateChild(HWND child, LPARAM) {
    std::vector<char> value(kLanguageValueSize);
    if (g_file.Read(GetDlgCtrlID(child), value.data(), kLanguageValueSize)) SetWindowTextA(child, value.data());
    return TRUE;
}

BOOL CALLBACK AddDescendant(HWND child, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

void AddLayoutRtl(HWND window) {
    const LONG_PTR style = GetWindowLongPtrA(window, GWL_EXSTYLE);
    SetWindowLongPtrA(window, GWL_EXSTYLE, style | WS_EX_LAYOUTRTL);
}

// Moves a child so that its horizontal place is mirrored inside its parent's
// client area; top, size and z-order stay.
void MirrorPosition(HWND child) {
    HWND parent = GetParent(child);
    RECT client, r;
    if (!parent || !GetClientRect(parent, &client) || !GetWindowRect(child, &r)) return;
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    const int left = client.right - r.right - client.left;
    SetWindowPos(child, nullptr, left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

void ReadMenuItem(HMENU menu, int position, std::string* text, uint32_t* commandId, void** submenu) {
    std::vector<char> buffer(kLanguageValueSize);
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = buffer.data();
    info.cch = kLanguageValueSize;
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info)) return;
    buffer[kLanguageValueSize - 1] = '\0';
    // Separators and bitmaps have no text to translate.
    if (!(info.fType & (MFT_SEPARATOR | MFT_BITMAP))) *text = buffer.data();
    *commandId = info.wID;
    *submenu = info.hSubMenu;
}

LanguageFile& TheLanguageFile() {
    return g_file;
}

std::string ProgramLanguageFilePath() {
    char program[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameA(nullptr, program, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::string();
    return LanguageFilePathFor(program);
}

void InitLanguage() {
    SetDialogLanguageHooks(TranslateDialog, [](HWND dialog) { MirrorWindow(dialog, 3); });
    g_file.Close();
    g_general = LanguageGeneral();
    SetUiStringSource(&g_resourceStrings);
    const std::string path = ProgramLanguageFilePath();
    const DWORD attributes = path.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
    g_file.Open(path.c_str());
    g_general = g_file.ReadGeneral();
}

HMENU LoadUiMenu(int menuId) {
    HMENU menu = LoadMenuA(AppInstance(), MAKEINTRESOURCEA(menuId));
    if (menu && g_file.InUse()) {
        MenuKeyNumbering numbering;
        g_file.SelectSection("menu", menuId);
        MenuTranslator translator;
        WalkMenu(translator, menu, true, numbering);
    }
    return menu;
}

void TranslateDialog(HWND dialog) {
    if (!g_file.InUse() || !dialog) return;
    g_file.SelectSection("dialog", OpeningDialogTemplate());
    std::vector<char> value(kLanguageValueSize);
    if (g_file.Read("caption", value.data(), kLanguageValueSize)) SetWindowTextA(dialog, value.data());
    EnumChildWindows(dialog, TranslateChild, 0);
}

void MirrorWindow(HWND window, int flags) {
    if (!g_general.rtl || !window) return;
    std::vector<HWND> descendants;
    if (flags & 3) EnumChildWindows(window, AddDescendant, reinterpret_cast<LPARAM>(&descendants));
    if (flags & 2) {
        for (HWND child : descendants) AddLayoutRtl(child);
    }
    if (flags & 1) {
        for (HWND child : descendants) MirrorPosition(child);
    }
    AddLayoutRtl(window);
}

bool LanguageFileInUse() {
    return g_file.InUse();
}
const char* LanguageFilePath() {
    return g_file.Path();
}
bool LanguageRightToLeft() {
    return g_general.rtl == 1;
}
const char* LanguageCharset() {
    return g_general.charset;
}
const char* TranslatorName() {
    return g_general.translatorName;
}
const char* TranslatorUrl() {
    return g_general.translatorUrl;
}
