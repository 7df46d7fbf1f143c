#pragma once
// Drives the modal dialogs that the code under test opens on this thread:
// `act` runs once per dialog, from inside the dialog's own modal loop, as
// soon as the dialog is active. It reads and drives the dialog and usually
// ends it.

#include <windows.h>

#include <functional>
#include <set>

#include "framework/app.h"
#include "win_test_support.h"

class DialogDriver {
  public:
    explicit DialogDriver(std::function<void(HWND)> act)
        : act_(std::move(act)), watcher_([this](HWND dialog) {
              // Activation is only starting: act once it is over.
              if (seen_.insert(dialog).second) PostMessageA(helper_, WM_APP, 0, reinterpret_cast<LPARAM>(dialog));
          }) {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = AppInstance();
        wc.lpszClassName = "OlDialogDriver";
        RegisterClassA(&wc);
        helper_ =
            CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, AppInstance(), nullptr);
        SetWindowLongPtrA(helper_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~DialogDriver() { DestroyWindow(helper_); }
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    int Count() const { return static_cast<int>(seen_.size()); }

  private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_APP) {
            auto* self = reinterpret_cast<DialogDriver*>(GetWindowLongPtrA(window, GWLP_USERDATA));
            HWND dialog = reinterpret_cast<HWND>(lParam);
            if (self && IsWindow(dialog)) self->act_(dialog);
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    std::function<void(HWND)> act_;
    std::set<HWND> seen_;
    HWND helper_ = nullptr;
    DialogWatcher watcher_;
};

// A button click as the control reports it to its dialog.
inline void ClickButton(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// A control's rectangle in screen coordinates.
inline RECT ScreenRect(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    return r;
}
