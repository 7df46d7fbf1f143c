#pragma once
// Helpers of the Win32 tests: pumping messages, and answering the message
// boxes and dialogs that the code under test opens on this thread.

#include <windows.h>

#include <functional>
#include <string>

// Dispatches every queued message of this thread.
void PumpMessages();

// While alive, every dialog or message box that this thread activates is
// handed to onDialog (which may read it and must end it, e.g. by posting
// WM_COMMAND IDOK/IDCANCEL) through a CBT hook: no timing involved.
class DialogWatcher {
public:
    explicit DialogWatcher(std::function<void(HWND)> onDialog);
    ~DialogWatcher();
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;
    int Count() const { return count; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    HHOOK hook = nullptr;
    std::function<void(HWND)> onDialog;
    int count = 0;
};

// Text of a window (ANSI).
std::string WindowText(HWND window);
// The text of a message box: its static control that is not the icon.
std::string MessageBoxText(HWND box);

// GDI and USER object counts of this process.
int GdiObjectCount();
int UserObjectCount();

// The settings file of this test program, named as the program names its own.
std::string TestSettingsPath();
// The bytes of a file ("" when it cannot be read).
std::string ReadFileBytes(const std::string& path);

// Pumps messages until done() holds or the time is up.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 20000);

// Runs work on this thread once the current message is done: a dialog seen
// by a DialogWatcher is only being activated, still inside its set-up.
class Later {
public:
    Later();
    ~Later();
    Later(const Later&) = delete;
    Later& operator=(const Later&) = delete;
    void Post(std::function<void()> work);

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};
