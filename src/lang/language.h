#pragma once
// The optional language file that replaces menu, dialog and string texts
// and can turn the layout right-to-left.

#include <windows.h>

#include <cstdint>

// Loads the language file beside the program, if there is one, and makes the
// string table (translated where the file says so) the source of GetUiString.
// Called again, it starts over from the file as it is now.
void InitLanguage();

// Loads a menu resource, translated when a language file is in use. The
// caller owns the menu.
HMENU LoadUiMenu(int menuId);

// Replaces a dialog's caption and control texts (by the template id being
// opened) when a language file is in use.
void TranslateDialog(HWND dialog);

// Right-to-left layout when the language file asks for it: flags 2 gives the
// descendants the RTL style, flags 1 mirrors their positions.
void MirrorWindow(HWND window, int flags);

// The dialog templates that the language template leaves out: a list ended
// by 0 that stays valid while the template is written (null: none).
void SetLanguageTemplateSkipList(const int32_t* ids);
// "/savelangfile": writes every menu, dialog and string text of the program
// into the language file beside it, keeping the values already there.
// Afterwards no language file is in use.
void SaveLanguageFile();

// Whether a language file is in use, and its path ("" when none).
bool LanguageFileInUse();
const char* LanguageFilePath();

bool LanguageRightToLeft();
const char* LanguageCharset();
const char* TranslatorName();
const char* TranslatorUrl();
