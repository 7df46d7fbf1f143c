#pragma once
// Helpers of the Win32 tests: waiting on messages, driving the dialogs that
// the code under test opens on this thread, the clipboard and files.

#include <windows.h>

#include <functional>
#include <set>
#include <string>

// Dispatches every queued message of this thread.
void PumpMessages();
// Dispatches messages (and waits for the next one or for event) until done()
// holds; false when timeoutMs passed first.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 20000, HANDLE event = nullptr);

// Drives the modal and modeless dialogs and message boxes that this thread
// opens: `act` runs once per dialog as soon as its activation is over, from
// inside the dialog's own loop. It reads and drives the dialog and usually
// ends it. Found through a CBT hook: no timing involved.
class DialogDriver {
  public:
    explicit DialogDriver(std::function<void(HWND)> act);
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;
    int Count() const { return static_cast<int>(seen_.size()); }

  private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    std::function<void(HWND)> act_;
    std::set<HWND> seen_;
    HWND helper_ = nullptr;
    HHOOK hook_ = nullptr;
};

// A button click as the control reports it to its dialog.
void ClickButton(HWND dialog, int id);
// Text of a window, of a dialog's control, of a message box (ANSI).
std::string WindowText(HWND window);
std::string ItemText(HWND dialog, int id);
std::string MessageBoxText(HWND box);
// Part 0 of a status bar.
std::string StatusText(HWND statusBar);
// A window's rectangle in the client coordinates of another.
RECT RectIn(HWND window, HWND reference);

std::string ClipboardText();
// Puts text on the clipboard; null puts something that is not text.
void SetClipboardText(const char* text);

// GDI and USER object counts of this process.
int GdiObjectCount();
int UserObjectCount();

// The settings file of this test program, named as the program names its own.
std::string TestSettingsPath();
// The bytes of a file ("" when it cannot be read), and a file of these bytes.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
// The folder of win_tests.exe, with its trailing backslash.
std::string ProgramFolder();
