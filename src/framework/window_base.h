#pragma once
// Framework windows: every window of the program is an object that gets its
// messages through GenericWindowProc.

#include <windows.h>

class WindowBase {
  public:
    WindowBase() = default;
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;
    virtual ~WindowBase() = default;

    // Base: the default window procedure.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    char className[256] = {};
    HICON icon = nullptr;
    HWND hwnd = nullptr;
};

// The window procedure of every framework window class. The object is the
// creation parameter of CreateWindow; the window keeps it in its user data.
LRESULT CALLBACK GenericWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
