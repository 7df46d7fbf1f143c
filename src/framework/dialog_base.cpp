#include "framework/dialog_base.h"

#include "framework/app.h"
#include "framework/fault_guard.h"

namespace {
int g_openingTemplate = 0;

struct DialogCall {
    DialogBase* dialog;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

LRESULT CallHandler(void* context) {
    DialogCall* call = static_cast<DialogCall*>(context);
    return call->dialog->HandleMessage(call->message, call->wParam, call->lParam);
}
}  // namespace

int OpeningDialogTemplate() {
    return g_openingTemplate;
}

namespace {
void (*g_translateDialog)(HWND) = nullptr;
void (*g_mirrorDialog)(HWND) = nullptr;
}  // namespace

void SetDialogLanguageHooks(void (*translate)(HWND), void (*mirror)(HWND)) {
    g_translateDialog = translate;
    g_mirrorDialog = mirror;
}

DialogBase::~DialogBase() {
    if (hdlg && IsWindow(hdlg)) SetWindowLongPtrA(hdlg, DWLP_USER, 0);
}

INT_PTR DialogBase::HandleMessage(UINT, WPARAM, LPARAM) {
    return 0;
}

void DialogBase::ExchangeData(bool) {}

bool DialogBase::DoModal(HWND parent) {
    g_openingTemplate = templateId;
    const INT_PTR result = DialogBoxParamA(AppInstance(), MAKEINTRESOURCEA(templateId), parent, GenericDialogProc,
                                           reinterpret_cast<LPARAM>(this));
    return result == IDOK;
}

INT_PTR StandardDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NOTIFY:
            return OnNotify(wParam, lParam);
        case WM_INITDIALOG:
            return OnInitDialog();
        case WM_COMMAND:
            return OnCommand(HIWORD(wParam), wParam, lParam);
        default:
            return 0;
    }
}

INT_PTR StandardDialog::OnCommand(int code, WPARAM wParam, LPARAM) {
    if (code == 0) {
        const int id = LOWORD(wParam);
        if (id == IDOK) {
            ExchangeData(false);
            EndDialog(hdlg, IDOK);
        } else if (id == IDCANCEL) {
            EndDialog(hdlg, IDCANCEL);
        }
    }
    return 0;
}

INT_PTR StandardDialog::OnInitDialog() {
    ExchangeData(true);
    CenterOnScreen(hdlg);
    // 0: the dialog sets its own focus where it wants one.
    return 0;
}

INT_PTR StandardDialog::OnNotify(WPARAM, LPARAM) {
    return 0;
}

INT_PTR CALLBACK GenericDialogProc(HWND hdlg, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        if (g_translateDialog) g_translateDialog(hdlg);
        DialogBase* dialog = reinterpret_cast<DialogBase*>(lParam);
        if (dialog) {
            dialog->hdlg = hdlg;
            SetWindowLongPtrA(hdlg, DWLP_USER, reinterpret_cast<LONG_PTR>(dialog));
        }
    }
    DialogBase* dialog = reinterpret_cast<DialogBase*>(GetWindowLongPtrA(hdlg, DWLP_USER));
    if (!dialog) return 0;
    DialogCall call = {dialog, message, wParam, lParam};
    const INT_PTR result = CallGuarded(hdlg, CallHandler, &call);
    if (message == WM_INITDIALOG && g_mirrorDialog) g_mirrorDialog(hdlg);
    return result;
}

void ExchangeCheckBox(HWND dialog, int id, int32_t* member, bool toControl) {
    if (toControl) {
        CheckDlgButton(dialog, id, *member ? BST_CHECKED : BST_UNCHECKED);
    } else {
        *member = IsDlgButtonChecked(dialog, id) == BST_CHECKED ? 1 : 0;
    }
}

void ExchangeInteger(HWND dialog, int id, int32_t* member, bool toControl) {
    if (toControl) {
        SetDlgItemInt(dialog, id, static_cast<UINT>(*member), TRUE);
    } else {
        BOOL ok = FALSE;
        const int value = static_cast<int>(GetDlgItemInt(dialog, id, &ok, TRUE));
        *member = ok ? value : 0;
    }
}

void EnableControl(HWND dialog, int id, bool enable) {
    EnableWindow(GetDlgItem(dialog, id), enable ? TRUE : FALSE);
}

void CenterOnScreen(HWND window) {
    RECT r;
    if (!GetWindowRect(window, &r)) return;
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
