#pragma once
// The process-wide language state shared by the shell's language files.

#include <windows.h>

#include <cstdint>
#include <string>

#include "lang/language_file.h"

LanguageFile& TheLanguageFile();
// The path of the running program's language file ("" when it has none).
std::string ProgramLanguageFilePath();
// One item of a real menu as the numbering walk reads it; separators and
// bitmaps give an empty text.
void ReadMenuItem(HMENU menu, int position, std::string* text, uint32_t* commandId, void** submenu);
