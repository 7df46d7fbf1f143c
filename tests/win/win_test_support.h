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
