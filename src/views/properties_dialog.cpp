#include "views/properties_dialog.h"

#include <cstring>
#include <string>

#include "resources/resource_ids.h"
#include "framework/app.h"

namespace {

// A control's rectangle in its dialog's client coordinates.
RECT ControlRect(HWND dialog, HWND control) {
    RECT r = {};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

struct Template {
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT rect = {};
    int Width() const { return rect.right - rect.left; }
    int Height() const { return rect.bottom - rect.top; }
};

Template ReadTemplate(HWND dialog, int id) {
    Template t;
    HWND control = GetDlgItem(dialog, id);
    if (!control) return t;
    t.style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE));
    t.exStyle = static_cast<DWORD>(GetWindowLongA(control, GWL_EXSTYLE));
    t.rect = ControlRect(dialog, control);
    return t;
}

}  // namespace

PropertiesDialog::PropertiesDialog() : StandardDialog(IDD_PROPERTIES) {}

INT_PTR PropertiesDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CTLCOLORSTATIC) {
        // Read-only edits ask for static colours; the labels keep the dialog's.
        char className[16] = {};
        GetClassNameA(reinterpret_cast<HWND>(lParam), className, sizeof className);
        if (lstrcmpiA(className, "edit") == 0) {
            HDC dc = reinterpret_cast<HDC>(wParam);
            SetBkMode(dc, TRANSPARENT);
            SetBkColor(dc, RGB(255, 255, 255));
            SetTextColor(dc, kPropertyFieldTextColor);
            return reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
        }
    }
    return StandardDialog::HandleMessage(message, wParam, lParam);
}

INT_PTR PropertiesDialog::OnInitDialog() {
    BuildRows();
    CenterOnScreen(hdlg);
    return StandardDialog::OnInitDialog();
}

void PropertiesDialog::BuildRows() {
    if (!item || !list) return;
    const Template label = ReadTemplate(hdlg, IDC_PROP_LABEL);
    const Template field = ReadTemplate(hdlg, IDC_PROP_FIELD);
    labelWidth = label.Width();
    int fieldLeft = field.rect.left;
    int fieldWidth = field.Width();

    // The rows get no font of their own: they draw with the default font the
    // window's device context has, so the labels are measured with it.
    if (HDC dc = GetDC(hdlg)) {
        int widest = 0;
        for (const ColumnDef& def : list->Columns()) {
            SIZE size = {};
            if (GetTextExtentPoint32A(dc, def.header, static_cast<int>(std::strlen(def.header)), &size) &&
                size.cx > widest) {
                widest = size.cx;
            }
        }
        ReleaseDC(hdlg, dc);
        const int w = widest + 10;
        // The fields keep their right edge.
        fieldLeft += w - labelWidth;
        fieldWidth -= w - labelWidth;
        labelWidth = w;
    }

    const int lines = linesPerField > 0 ? linesPerField : 1;
    int y = 0;
    for (const ColumnDef& def : list->Columns()) {
        const std::string text = std::string(def.header) + ":";
        CreateWindowExA(label.exStyle, "STATIC", text.c_str(), label.style | WS_VISIBLE, label.rect.left,
                        y + label.rect.top, labelWidth, label.Height(), hdlg,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPropertyLabelIdBase + def.id)), AppInstance(),
                        nullptr);
        CreateWindowExA(field.exStyle, "EDIT", item->ColumnText(def.id, list->Scratch(0)), field.style | WS_VISIBLE,
                        fieldLeft, y + field.rect.top, fieldWidth, field.Height() * lines, hdlg,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kPropertyFieldIdBase + def.id)), AppInstance(),
                        nullptr);
        y += field.Height() * lines + rowGap;
    }

    // Height for the rows and the OK button below them; position and width stay.
    RECT window = {};
    RECT client = {};
    GetWindowRect(hdlg, &window);
    GetClientRect(hdlg, &client);
    HWND ok = GetDlgItem(hdlg, IDOK);
    const RECT okRect = ControlRect(hdlg, ok);
    const int okHeight = okRect.bottom - okRect.top;
    const int frame = (window.bottom - window.top) - client.bottom;
    SetWindowPos(hdlg, nullptr, 0, 0, window.right - window.left, frame + okHeight + y + 21,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetClientRect(hdlg, &client);
    SetWindowPos(ok, nullptr, okRect.left, client.bottom - okHeight - 5, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
