#pragma once
// The About box: the program's icon, its product text, a link to the
// maker's web site and, when the language file names one, the translator.

#include <windows.h>

#include "framework/dialog_base.h"

class AboutDialog : public DialogBase {
  public:
    AboutDialog();
    ~AboutDialog() override;

    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    char productText[255] = {};
    char linkText[257] = {};
    HFONT linkFont = nullptr;

  private:
    void OnInit();
    // The link control under a point of the box's client area, or 0.
    int LinkAt(LPARAM point) const;
    bool TranslatorIsLink() const;
};

// Fills an AboutDialog with its unscrambled texts and runs it over owner.
void RunAboutBox(HWND owner);
