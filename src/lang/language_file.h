#pragma once
// The language file as the program reads and writes it: a private-profile
// file beside the program. Sections "general", "strings", "menu%d" and
// "dialog_%d"; an empty value counts as absent everywhere.

#include <cstdint>
#include <string>

#include "base/profile_store.h"

constexpr int kLanguagePathSize = 260;
constexpr int kLanguageValueSize = 4096;  // values are read up to 4095 characters

// The language file of a program: its path with everything from the last
// "." removed and "_lng.ini" appended. Empty when the result would not fit
// in kLanguagePathSize characters (a shortened path would name another file).
std::string LanguageFilePathFor(const char* programPath);

// What section "general" says.
struct LanguageGeneral {
    int32_t rtl = 0;  // 1: right-to-left layout
    char charset[64] = {};
    char translatorName[64] = {};
    char translatorUrl[256] = {};
};

class LanguageFile {
  public:
    explicit LanguageFile(ProfileStore* store_) : store(store_) {}

    // Uses the file at path from now on; an empty path means no file.
    void Open(const char* file);
    void Close() { Open(""); }
    bool InUse() const { return path[0] != '\0'; }
    const char* Path() const { return path; }

    void SelectSection(const char* name);
    // "menu%d", "dialog_%d".
    void SelectSection(const char* prefix, int id);
    const char* Section() const { return section; }

    // The non-empty value of a key of the current section, at most
    // outSize - 1 characters; false (and "") when absent or empty.
    bool Read(const char* key, char* out, int outSize);
    bool Read(int key, char* out, int outSize);
    // Writes value under key unless the key already has a non-empty value,
    // so that a translator's work survives a new template.
    void WriteIfMissing(const char* key, const char* value);
    void WriteIfMissing(int key, const char* value);

    // Section "general"; leaves "general" selected.
    LanguageGeneral ReadGeneral();

  private:
    ProfileStore* store;
    char path[kLanguagePathSize] = {};
    char section[64] = {};
};

// Numbers the items of a menu for the language file: an item without
// submenu by its command id, a submenu of the top level by 70001 + its
// position, a deeper submenu by 71000 + a counter that runs depth-first
// through the whole menu.
class MenuKeyNumbering {
  public:
    void Reset() { counter = 0; }
    // The key of an item whose text is not empty (empty items have none and
    // do not advance the counter).
    int KeyFor(bool hasSubmenu, bool topLevel, int position, uint32_t commandId);

  private:
    int counter = 0;
};

// A menu as the numbering walk sees it; the shell reads real menus, tests
// a tree.
class MenuSource {
  public:
    virtual ~MenuSource() = default;
    virtual int ItemCount(void* menu) = 0;
    // The item's text (as the menu shows it, accelerator part included), its
    // command id and its submenu (null when it has none).
    virtual void ReadItem(void* menu, int position, std::string* text, uint32_t* commandId, void** submenu) = 0;
    // Told about every item with a text, in walk order, with its key.
    virtual void Visit(void* menu, int position, int key, const std::string& text) = 0;
};

// Walks a menu by position, each item before its submenu.
void WalkMenu(MenuSource& source, void* menu, bool topLevel, MenuKeyNumbering& numbering);

// A translated item text: the new text, followed by the tab and the
// accelerator part of the old text when it has one.
std::string TranslatedMenuText(const char* value, const char* oldText);

// The text of a menu item without its accelerator part (cut at the first
// tab): what the template offers to the translator.
std::string MenuTextWithoutAccelerator(const char* text);
