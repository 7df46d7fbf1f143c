#include "framework/window_base.h"

#include "framework/fault_guard.h"

namespace {
struct WindowCall {
    WindowBase* window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

LRESULT CallHandler(void* context) {
    WindowCall* call = static_cast<WindowCall*>(context);
    return call->window->HandleMessage(call->message, call->wParam, call->lParam);
}
}  // namespace

LRESULT WindowBase::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK GenericWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowBase* window = nullptr;
    if (message == WM_NCCREATE) {
        window = static_cast<WindowBase*>(reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
        if (window) {
            window->hwnd = hwnd;
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
        }
    } else {
        window = reinterpret_cast<WindowBase*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }
    if (!window) return DefWindowProcA(hwnd, message, wParam, lParam);
    WindowCall call = {window, message, wParam, lParam};
    const LRESULT result = CallGuarded(hwnd, CallHandler, &call);
    // The object may outlive its window: no message may reach it afterwards.
    if (message == WM_NCDESTROY) SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
    return result;
}
