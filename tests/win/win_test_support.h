#pragma once
// Helpers of the Win32 tests: waiting on messages, driving the dialogs that
// the code under test opens on this thread, the clipboard and files.
#include <windows.h>

#include <functional>
#include <set>
#include <string>

// Dispatches every queued message of this thread.
void PumpMessages();
// Dispatches messages, waiting for the next one (or event), until done()
// holds; false when timeoutMs passed first.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 20000, HANDLE event = nullptr);

// Drives the dialogs and message boxes that this thread activates: `act`
// runs once per dialog as soon as its activation is over, inside the
// dialog's own loop, and usually ends it. Found through a CBT hook.
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
std::string WindowText(HWND window);
std::string ItemText(HWND dialog, int id);
std::string MessageBoxText(HWND box);
std::string StatusText(HWND statusBar);    // part 0
RECT RectIn(HWND window, HWND reference);  // in reference's client coordinates
std::string ClipboardText();
void SetClipboardText(const char* text);  // null: something that is not text
// The settings file of this program, named as the program names its own.
std::string TestSettingsPath();
std::string ReadFileBytes(const std::string& path);  // "" when unreadable
void WriteFileBytes(const std::string& path, const std::string& bytes);
std::string ProgramFolder();  // with its trailing backslash
