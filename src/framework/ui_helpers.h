#pragma once
// Small user-interface services shared by the windows and dialogs.

#include <windows.h>

#include <string>

// "MS Sans Serif", 10 high, bold, underlined: the font of link controls.
// The caller deletes it.
HFONT CreateHyperlinkFont();

// Shows the hourglass while it lives and puts the previous cursor back.
class WaitCursor {
  public:
    WaitCursor() { Begin(); }
    ~WaitCursor() { End(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
    void Begin();
    void End();

  private:
    HCURSOR previous = nullptr;
    bool active = false;
};

// The system's message text for an error code ("Unknown Error" if none).
std::string GetErrorText(DWORD code);

// "Error %d: %s" in a message box; code 0 means the thread's last error.
void ShowErrorMessage(HWND owner, DWORD code);
