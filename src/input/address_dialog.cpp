#include "input/address_dialog.h"

#include <cstring>

#include "resources/resource_ids.h"
#include "base/options.h"

AddressDialog::AddressDialog() : StandardDialog(IDD_ADDRESS) {}

void AddressDialog::CopyFrom(const Options& options) {
    addressText.SetText(options.addressText.Text());
    HostNameToIP = options.HostNameToIP;
    LoadOnlyLastIP = options.LoadOnlyLastIP;
    Pause = options.Pause;
    ResolveIPAddr = options.ResolveIPAddr;
    FindServerByIP = options.FindServerByIP;
    PauseTime = options.PauseTime;
    PauseCount = options.PauseCount;
}

void AddressDialog::CopyTo(Options& options) const {
    options.addressText.SetText(addressText.Text());
    options.HostNameToIP = HostNameToIP;
    options.LoadOnlyLastIP = LoadOnlyLastIP;
    options.Pause = Pause;
    options.ResolveIPAddr = ResolveIPAddr;
    options.FindServerByIP = FindServerByIP;
    options.PauseTime = PauseTime;
    options.PauseCount = PauseCount;
}

void AddressDialog::ExchangeData(bool toControls) {
    if (toControls) {
        SetDlgItemTextA(hdlg, IDC_ADDR_TEXT, addressText.Text());
    } else {
        HWND edit = GetDlgItem(hdlg, IDC_ADDR_TEXT);
        const int length = edit ? GetWindowTextLengthA(edit) : 0;
        // The whole text, however long: room for it and its NUL.
        if (length > 0 && addressText.Reserve(static_cast<int64_t>(length) + 2)) {
            const int got = GetWindowTextA(edit, addressText.data, length + 1);
            addressText.data[got > 0 ? got : 0] = '\0';
            addressText.length = static_cast<int32_t>(std::strlen(addressText.data));
        } else {
            addressText.SetText("");
        }
    }
    ExchangeCheckBox(hdlg, IDC_ADDR_HOST_TO_IP, &HostNameToIP, toControls);
    ExchangeCheckBox(hdlg, IDC_ADDR_LAST_ONLY, &LoadOnlyLastIP, toControls);
    ExchangeCheckBox(hdlg, IDC_ADDR_PAUSE, &Pause, toControls);
    ExchangeInteger(hdlg, IDC_ADDR_PAUSE_TIME, &PauseTime, toControls);
    ExchangeInteger(hdlg, IDC_ADDR_PAUSE_COUNT, &PauseCount, toControls);
    ExchangeCheckBox(hdlg, IDC_ADDR_RESOLVE, &ResolveIPAddr, toControls);
    ExchangeCheckBox(hdlg, IDC_ADDR_FIND_SERVER, &FindServerByIP, toControls);
}

void AddressDialog::EnablePauseFields() {
    const bool on = IsDlgButtonChecked(hdlg, IDC_ADDR_PAUSE) == BST_CHECKED;
    EnableControl(hdlg, IDC_ADDR_PAUSE_TIME, on);
    EnableControl(hdlg, IDC_ADDR_PAUSE_COUNT, on);
}

INT_PTR AddressDialog::OnInitDialog() {
    HWND edit = GetDlgItem(hdlg, IDC_ADDR_TEXT);
    // A pasted mail header may be longer than the edit's default 32K limit.
    SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);
    SetFocus(edit);
    const INT_PTR result = StandardDialog::OnInitDialog();
    EnablePauseFields();
    return result;
}

INT_PTR AddressDialog::OnCommand(int code, WPARAM wParam, LPARAM lParam) {
    if (code == BN_CLICKED) {
        switch (LOWORD(wParam)) {
            case IDC_ADDR_CLEAR:
                SetDlgItemTextA(hdlg, IDC_ADDR_TEXT, "");
                break;
            case IDC_ADDR_PASTE:
                // The clipboard's text replaces the whole text.
                SetDlgItemTextA(hdlg, IDC_ADDR_TEXT, "");
                SendDlgItemMessageA(hdlg, IDC_ADDR_TEXT, WM_PASTE, 0, 0);
                break;
            case IDC_ADDR_PAUSE:
                EnablePauseFields();
                break;
            default:
                break;
        }
    }
    return StandardDialog::OnCommand(code, wParam, lParam);
}
