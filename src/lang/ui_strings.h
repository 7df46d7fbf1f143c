#pragma once
// Every user-interface text of the string table, through the language file
// when one is in use. Texts are cached for the rest of the run.

#include <cstdint>

// Added to a string id: take the program's own text, whatever the language
// file says.
constexpr uint32_t UISTR_BUILTIN = 0x10000;

// Where the texts come from: the shell reads the string table and the
// language file; tests supply a map.
class UiStringSource {
  public:
    virtual ~UiStringSource() = default;
    // The string table's text for id (low 16 bits); false when there is none.
    virtual bool BuiltinText(int id, char* out, int outSize) = 0;
    // The language file's non-empty value for id; false when there is none.
    virtual bool TranslatedText(int id, char* out, int outSize) = 0;
};

void SetUiStringSource(UiStringSource* source);

// Whether the text of id is handed to printf as a format (the status bar's
// counts and the progress text): only then must a translation ask for the
// same arguments as the program's text.
bool IsUiFormatString(uint32_t id);

// The text for id, valid for the rest of the run; "" when there is none.
const char* GetUiString(uint32_t id);

// Forgets every cached text (tests and a new source only).
void ResetUiStringCache();
