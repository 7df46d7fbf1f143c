#include "input/address_dialog.h"

#include <cstring>
#include <initializer_list>

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
    ReuseMaxAddresses = options.ReuseMaxAddresses;
    MaxConversations = options.MaxConversations;
    UseRdap = options.UseRdap;
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
    options.ReuseMaxAddresses = ReuseMaxAddresses;
    options.MaxConversations = MaxConversations;
    options.UseRdap = UseRdap;
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
    ExchangeCheckBox(hdlg, IDC_ADDR_RDAP, &UseRdap, toControls);
    // The box only says yes or no: a number of the user's own survives a
    // yes, and a yes where reuse was off gives the setting's default, 256.
    int32_t reuse = ReuseMaxAddresses > 0;
    ExchangeCheckBox(hdlg, IDC_ADDR_REUSE, &reuse, toControls);
    if (!toControls) ReuseMaxAddresses = !reuse ? 0 : ReuseMaxAddresses > 0 ? ReuseMaxAddresses : 256;
    // The list holds "1" to "5" in order, so its index is the number less one.
    const int32_t conversations = MaxConversations < 1 ? 1 : MaxConversations > 5 ? 5 : MaxConversations;
    HWND list = GetDlgItem(hdlg, IDC_ADDR_CONVERSATIONS);
    if (toControls) {
        SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(conversations - 1), 0);
    } else {
        const LRESULT chosen = SendMessageA(list, CB_GETCURSEL, 0, 0);
        MaxConversations = chosen >= 0 && chosen < 5 ? static_cast<int32_t>(chosen) + 1 : conversations;
    }
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
    HWND list = GetDlgItem(hdlg, IDC_ADDR_CONVERSATIONS);
    for (const char* number : {"1", "2", "3", "4", "5"})
        SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(number));
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
