#include "extras/about_dialog.h"

#include "framework/shell_open.h"
#include "extras/unscramble.h"
#include "lang/language.h"
#include "resources/resource_ids.h"
#include "framework/app.h"
#include "framework/ui_helpers.h"

AboutDialog::AboutDialog() : DialogBase(IDD_ABOUT) {}

AboutDialog::~AboutDialog() {
    if (linkFont) DeleteObject(linkFont);
}

bool AboutDialog::TranslatorIsLink() const {
    return TranslatorName()[0] && TranslatorUrl()[0];
}

void AboutDialog::OnInit() {
    if (!TranslatorName()[0]) {
        ShowWindow(GetDlgItem(hdlg, IDC_ABOUT_TRANSLATOR_LABEL), SW_HIDE);
        ShowWindow(GetDlgItem(hdlg, IDC_ABOUT_TRANSLATOR), SW_HIDE);
    } else {
        SetDlgItemTextA(hdlg, IDC_ABOUT_TRANSLATOR, TranslatorName());
    }
    SetWindowTextA(hdlg, "Ownerlens");
    SetDlgItemTextA(hdlg, IDC_ABOUT_PRODUCT, productText);
    SetDlgItemTextA(hdlg, IDC_ABOUT_LINK, linkText);
    if (!linkFont) linkFont = CreateHyperlinkFont();
    SendDlgItemMessageA(hdlg, IDC_ABOUT_LINK, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont), FALSE);
    if (TranslatorIsLink()) {
        SendDlgItemMessageA(hdlg, IDC_ABOUT_TRANSLATOR, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont), FALSE);
    }
    CenterOnScreen(hdlg);
}

int AboutDialog::LinkAt(LPARAM point) const {
    POINT p = {static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
    HWND child = ChildWindowFromPointEx(hdlg, p, CWP_SKIPINVISIBLE);
    if (!child || child == hdlg) return 0;
    const int id = GetDlgCtrlID(child);
    if (id == IDC_ABOUT_LINK) return id;
    if (id == IDC_ABOUT_TRANSLATOR && TranslatorIsLink()) return id;
    return 0;
}

INT_PTR AboutDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            OnInit();
            return TRUE;
        case WM_CTLCOLORSTATIC: {
            const int id = GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
            if (id != IDC_ABOUT_LINK && !(id == IDC_ABOUT_TRANSLATOR && TranslatorIsLink())) return FALSE;
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, RGB(0, 0, 192));
            return reinterpret_cast<INT_PTR>(GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_MOUSEMOVE:
            if (!LinkAt(lParam)) return FALSE;
            SetCursor(LoadCursorA(AppInstance(), MAKEINTRESOURCEA(IDCUR_HAND)));
            return TRUE;
        case WM_LBUTTONUP: {
            const int link = LinkAt(lParam);
            if (link == IDC_ABOUT_LINK) ShellOpen(hdlg, linkText);
            if (link == IDC_ABOUT_TRANSLATOR) ShellOpen(hdlg, TranslatorUrl());
            return link ? TRUE : FALSE;
        }
        case WM_COMMAND:
            // Esc and the close box (IDCANCEL) close the box as OK does.
            if (HIWORD(wParam) == 0 && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
                EndDialog(hdlg, IDOK);
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

void RunAboutBox(HWND owner) {
    AboutDialog box;
    UnscrambleText(kScrambledProductText, box.productText, sizeof box.productText);
    UnscrambleText(kScrambledLinkText, box.linkText, sizeof box.linkText);
    box.DoModal(owner);
}
