#include "shell/window_base.h"

#include "shell/fault_guard.h"

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

HandleMap& WindowMap() {
    static HandleMap map;
    return map;
}

LRESULT WindowBase::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK GenericWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        const CREATESTRUCTA* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        WindowBase* created = static_cast<WindowBase*>(cs->lpCreateParams);
        if (created) {
            created->hwnd = hwnd;
            WindowMap().Add(created, reinterpret_cast<uintptr_t>(hwnd));
        }
    }
    WindowBase* window = static_cast<WindowBase*>(WindowMap().Find(reinterpret_cast<uintptr_t>(hwnd)));
    if (!window) return DefWindowProcA(hwnd, message, wParam, lParam);
    WindowCall call = {window, message, wParam, lParam};
    const LRESULT result = CallGuarded(hwnd, CallHandler, &call);
    if (message == WM_DESTROY) WindowMap().Remove(window);
    return result;
}
