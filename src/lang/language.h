#pragma once
// The optional language file that replaces menu, dialog and string texts
// and can turn the layout right-to-left.

#include <windows.h>

// Loads the language file beside the program, if there is one, and makes the
// string table (translated where the file says so) the source of GetUiString.
void InitLanguage();

// Loads a menu resource, translated when a language file is in use.
HMENU LoadUiMenu(int menuId);

// Replaces a dialog's caption and control texts (by the template id being
// opened) when a language file is in use.
void TranslateDialog(HWND dialog);

// Right-to-left layout when the language file asks for it: flags 2 gives the
// descendants the RTL style, flags 1 mirrors their positions.
void MirrorWindow(HWND window, int flags);

bool LanguageRightToLeft();
const char* LanguageCharset();
const char* TranslatorName();
const char* TranslatorUrl();
