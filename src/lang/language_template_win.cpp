// "/savelangfile": the language file template, written from the program's
// own resources into the file beside it.
#include <cstring>
#include <string>
#include <vector>

#include "lang/language.h"
#include "lang/language_state.h"
#include "framework/app.h"

namespace {

const int32_t* g_skipList = nullptr;

bool Skipped(int id) {
    for (const int32_t* p = g_skipList; p && *p; ++p) {
        if (*p == id) return true;
    }
    return false;
}

// Walks a real menu and offers every text, without its accelerator part,
// under its key.
class MenuTemplateWriter : public MenuSource {
  public:
    int ItemCount(void* menu) override { return GetMenuItemCount(static_cast<HMENU>(menu)); }
    void ReadItem(void* menu, int position, std::string* text, uint32_t* commandId, void** submenu) override {
        ReadMenuItem(static_cast<HMENU>(menu), position, text, commandId, submenu);
    }
    void Visit(void*, int, int key, const std::string& text) override {
        TheLanguageFile().WriteIfMissing(key, MenuTextWithoutAccelerator(text.c_str()).c_str());
    }
};

BOOL CALLBACK CollectId(HMODULE, LPCSTR, LPSTR name, LONG_PTR ids) {
    // Resources named by text have no number to make a section of.
    if (IS_INTRESOURCE(name)) {
        reinterpret_cast<std::vector<int>*>(ids)->push_back(static_cast<int>(reinterpret_cast<uintptr_t>(name)));
    }
    return TRUE;
}

std::vector<int> ResourceIds(LPCSTR type) {
    std::vector<int> ids;
    EnumResourceNamesA(AppInstance(), type, CollectId, reinterpret_cast<LONG_PTR>(&ids));
    return ids;
}

// The template's own texts: a procedure that handles nothing.
INT_PTR CALLBACK InertDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

BOOL CALLBACK WriteControlText(HWND child, LPARAM) {
    const int id = GetDlgCtrlID(child);
    if (id <= 0) return TRUE;
    std::vector<char> text(kLanguageValueSize);
    if (GetWindowTextA(child, text.data(), kLanguageValueSize) > 0) {
        text[kLanguageValueSize - 1] = '\0';
        TheLanguageFile().WriteIfMissing(id, text.data());
    }
    return TRUE;
}

void WriteMenus(LanguageFile& file) {
    for (int id : ResourceIds(RT_MENU)) {
        file.SelectSection("menu", id);
        HMENU menu = LoadMenuA(AppInstance(), MAKEINTRESOURCEA(id));
        if (!menu) continue;
        MenuKeyNumbering numbering;
        MenuTemplateWriter writer;
        WalkMenu(writer, menu, true, numbering);
        DestroyMenu(menu);
    }
}

void WriteDialogs(LanguageFile& file) {
    for (int id : ResourceIds(RT_DIALOG)) {
        if (Skipped(id)) continue;
        file.SelectSection("dialog", id);
        HWND dialog = CreateDialogParamA(AppInstance(), MAKEINTRESOURCEA(id), nullptr, InertDialogProc, 0);
        if (!dialog) continue;
        std::vector<char> title(kLanguageValueSize);
        if (GetWindowTextA(dialog, title.data(), kLanguageValueSize) > 0) {
            title[kLanguageValueSize - 1] = '\0';
            file.WriteIfMissing("caption", title.data());
        }
        EnumChildWindows(dialog, WriteControlText, 0);
        DestroyWindow(dialog);
    }
}

void WriteStrings(LanguageFile& file) {
    file.SelectSection("strings");
    std::vector<char> text(kLanguageValueSize);
    for (int id = 0; id <= 0xFFFF; ++id) {
        if (LoadStringA(AppInstance(), static_cast<UINT>(id), text.data(), kLanguageValueSize) > 0 && text[0]) {
            file.WriteIfMissing(id, text.data());
        }
    }
}

}  // namespace

void SetLanguageTemplateSkipList(const int32_t* ids) {
    g_skipList = ids;
}

void SaveLanguageFile() {
    LanguageFile& file = TheLanguageFile();
    const std::string path = ProgramLanguageFilePath();
    file.Open(path.c_str());
    if (file.InUse()) {
        file.SelectSection("general");
        file.WriteIfMissing("TranslatorName", "");
        file.WriteIfMissing("TranslatorURL", "");
        WriteMenus(file);
        WriteDialogs(file);
        WriteStrings(file);
    }
    file.Close();
}
