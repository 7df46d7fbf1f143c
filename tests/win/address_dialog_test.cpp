// The address selection dialog with its real template.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "input/address_dialog.h"
#include "resources/resource_ids.h"
#include "framework/app.h"
#include "base/options.h"
#include "win_test_support.h"

namespace {

bool Enabled(HWND dialog, int id) {
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}
bool Checked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}
std::string Text(HWND dialog, int id) {
    return WindowText(GetDlgItem(dialog, id));
}

// A button click as the control reports it to the dialog.
void Click(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
void Toggle(HWND dialog, int id) {
    CheckDlgButton(dialog, id, Checked(dialog, id) ? BST_UNCHECKED : BST_CHECKED);
    Click(dialog, id);
}

void SetClipboardText(const char* text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    if (text) {
        const size_t n = std::strlen(text) + 1;
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, n);
        std::memcpy(GlobalLock(block), text, n);
        GlobalUnlock(block);
        SetClipboardData(CF_TEXT, block);
    } else {
        // Something that is not text.
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 4);
        SetClipboardData(RegisterClipboardFormatA("OwnerlensTestFormat"), block);
    }
    CloseClipboard();
}

// Runs the dialog; `act` sees it once it is up and active, then it is ended
// with `end` (IDOK or IDCANCEL) unless act ended it.
struct Driver {
    std::function<void(HWND)> act;
    int end = IDCANCEL;

    bool Run(AddressDialog& dialog) {
        DialogWatcher watcher([this](HWND window) {
            // Activation is just starting: act once the dialog is active.
            PostMessageA(helper, WM_APP, 0, reinterpret_cast<LPARAM>(window));
        });
        return dialog.DoModal(nullptr);
    }

    Driver() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = AppInstance();
        wc.lpszClassName = "AddressDialogDriver";
        RegisterClassA(&wc);
        helper = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, AppInstance(), nullptr);
        SetWindowLongPtrA(helper, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~Driver() { DestroyWindow(helper); }

    HWND helper = nullptr;

  private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_APP) {
            auto* self = reinterpret_cast<Driver*>(GetWindowLongPtrA(window, GWLP_USERDATA));
            HWND dialog = reinterpret_cast<HWND>(lParam);
            if (self->act) self->act(dialog);
            if (IsWindow(dialog)) PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(self->end, BN_CLICKED), 0);
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
};

void Fill(AddressDialog& d) {
    d.addressText.SetText("198.51.100.1\r\n203.0.113.9");
    d.HostNameToIP = 1;
    d.LoadOnlyLastIP = 0;
    d.Pause = 0;
    d.ResolveIPAddr = 1;
    d.FindServerByIP = 0;
    d.PauseTime = 30;
    d.PauseCount = 10;
}

TEST(AddressDialog, OpensWithTheOptionsTheFocusInTheTextAndPauseFieldsByThePauseBox) {
    for (int pause = 0; pause <= 1; ++pause) {
        AddressDialog dialog;
        Fill(dialog);
        dialog.Pause = pause;
        Driver driver;
        driver.act = [&](HWND d) {
            EXPECT_EQ(Text(d, IDC_ADDR_TEXT), "198.51.100.1\r\n203.0.113.9");
            EXPECT_TRUE(Checked(d, IDC_ADDR_HOST_TO_IP));
            EXPECT_FALSE(Checked(d, IDC_ADDR_LAST_ONLY));
            EXPECT_EQ(Checked(d, IDC_ADDR_PAUSE), pause == 1);
            EXPECT_TRUE(Checked(d, IDC_ADDR_RESOLVE));
            EXPECT_FALSE(Checked(d, IDC_ADDR_FIND_SERVER));
            EXPECT_EQ(Text(d, IDC_ADDR_PAUSE_TIME), "30");
            EXPECT_EQ(Text(d, IDC_ADDR_PAUSE_COUNT), "10");
            EXPECT_EQ(Enabled(d, IDC_ADDR_PAUSE_TIME), pause == 1);
            EXPECT_EQ(Enabled(d, IDC_ADDR_PAUSE_COUNT), pause == 1);
            EXPECT_EQ(GetFocus(), GetDlgItem(d, IDC_ADDR_TEXT));
        };
        EXPECT_FALSE(driver.Run(dialog));
    }
}

TEST(AddressDialog, OkCopiesEveryControlBackCancelNothing) {
    for (const int end : {IDOK, IDCANCEL}) {
        AddressDialog dialog;
        Fill(dialog);
        dialog.Pause = 1;
        Driver driver;
        driver.end = end;
        driver.act = [](HWND d) {
            SetDlgItemTextA(d, IDC_ADDR_TEXT, "Received: from relay ([192.0.2.7])");
            Toggle(d, IDC_ADDR_HOST_TO_IP);
            Toggle(d, IDC_ADDR_LAST_ONLY);
            Toggle(d, IDC_ADDR_RESOLVE);
            Toggle(d, IDC_ADDR_FIND_SERVER);
            SetDlgItemTextA(d, IDC_ADDR_PAUSE_TIME, "5");
            SetDlgItemTextA(d, IDC_ADDR_PAUSE_COUNT, "2");
            // Unchecking the pause box disables its fields at once.
            Toggle(d, IDC_ADDR_PAUSE);
            EXPECT_FALSE(Enabled(d, IDC_ADDR_PAUSE_TIME));
            EXPECT_FALSE(Enabled(d, IDC_ADDR_PAUSE_COUNT));
        };
        EXPECT_EQ(driver.Run(dialog), end == IDOK);
        if (end == IDOK) {
            EXPECT_STREQ(dialog.addressText.Text(), "Received: from relay ([192.0.2.7])");
            EXPECT_EQ(dialog.HostNameToIP, 0);
            EXPECT_EQ(dialog.LoadOnlyLastIP, 1);
            EXPECT_EQ(dialog.Pause, 0);
            EXPECT_EQ(dialog.ResolveIPAddr, 0);
            EXPECT_EQ(dialog.FindServerByIP, 1);
            EXPECT_EQ(dialog.PauseTime, 5);  // still copied while disabled
            EXPECT_EQ(dialog.PauseCount, 2);
        } else {
            EXPECT_STREQ(dialog.addressText.Text(), "198.51.100.1\r\n203.0.113.9");
            EXPECT_EQ(dialog.HostNameToIP, 1);
            EXPECT_EQ(dialog.Pause, 1);
            EXPECT_EQ(dialog.PauseTime, 30);
        }
    }
}

TEST(AddressDialog, ClearAndPasteReplaceTheWholeText) {
    AddressDialog dialog;
    Fill(dialog);
    Driver driver;
    driver.end = IDOK;
    driver.act = [](HWND d) {
        Click(d, IDC_ADDR_CLEAR);
        EXPECT_EQ(Text(d, IDC_ADDR_TEXT), "");
        SetDlgItemTextA(d, IDC_ADDR_TEXT, "old text");
        SetClipboardText("203.0.113.9, 198.51.100.4");
        Click(d, IDC_ADDR_PASTE);
        EXPECT_EQ(Text(d, IDC_ADDR_TEXT), "203.0.113.9, 198.51.100.4");
        // A clipboard without text empties the edit and pastes nothing.
        SetClipboardText(nullptr);
        Click(d, IDC_ADDR_PASTE);
        EXPECT_EQ(Text(d, IDC_ADDR_TEXT), "");
        SetClipboardText("kept");
        Click(d, IDC_ADDR_PASTE);
    };
    EXPECT_TRUE(driver.Run(dialog));
    EXPECT_STREQ(dialog.addressText.Text(), "kept");
}

TEST(AddressDialog, LongTextsAndEmptyNumbers) {
    // Longer than the edit's default limit, whole on OK; a field without a
    // number reads as 0 (which switches pausing off).
    std::string text;
    while (text.size() < 100000) text += "198.51.100." + std::to_string(text.size() % 250) + "\r\n";
    AddressDialog dialog;
    Fill(dialog);
    Driver driver;
    driver.end = IDOK;
    driver.act = [&](HWND d) {
        SetClipboardText(text.c_str());
        Click(d, IDC_ADDR_PASTE);
        SetDlgItemTextA(d, IDC_ADDR_PAUSE_TIME, "");
    };
    EXPECT_TRUE(driver.Run(dialog));
    EXPECT_EQ(dialog.addressText.Text(), text);
    EXPECT_EQ(dialog.addressText.length, static_cast<int32_t>(text.size()));
    EXPECT_EQ(dialog.PauseTime, 0);
}

TEST(AddressDialog, CopiesToAndFromTheOptions) {
    Options options;
    options.addressText.SetText("4.2.2.1");
    options.Pause = 1;
    options.PauseCount = 3;
    AddressDialog dialog;
    dialog.CopyFrom(options);
    EXPECT_STREQ(dialog.addressText.Text(), "4.2.2.1");
    EXPECT_EQ(dialog.ResolveIPAddr, 1);
    EXPECT_EQ(dialog.FindServerByIP, 1);
    EXPECT_EQ(dialog.PauseTime, 30);
    dialog.addressText.SetText("");
    dialog.PauseCount = 7;
    dialog.CopyTo(options);
    EXPECT_STREQ(options.addressText.Text(), "");
    EXPECT_EQ(options.PauseCount, 7);
    EXPECT_EQ(options.Pause, 1);
}

// Template 109 as the user sees it: kind, text and place of every control.
TEST(AddressDialog, TemplateHasEveryControlWhereItBelongs) {
    const struct {
        int id;
        const char* cls;
        RECT units;  // x, y, width, height in dialog units
        const char* text;
    } controls[] = {
        {IDC_ADDR_HINT, "Static", {7, 7, 336, 34}, nullptr},
        {IDC_ADDR_TEXT, "Edit", {7, 45, 336, 119}, ""},
        {IDC_ADDR_FIND_SERVER, "Button", {7, 170, 246, 8}, nullptr},
        {IDC_ADDR_RESOLVE, "Button", {7, 186, 246, 8}, nullptr},
        {IDC_ADDR_HOST_TO_IP, "Button", {7, 202, 246, 8}, nullptr},
        {IDC_ADDR_LAST_ONLY, "Button", {7, 218, 246, 8}, nullptr},
        {IDC_ADDR_PAUSE, "Button", {7, 234, 60, 8}, ""},
        {IDC_ADDR_PAUSE_TIME, "Edit", {69, 231, 38, 14}, nullptr},
        {IDC_ADDR_SECONDS, "Static", {114, 234, 38, 8}, nullptr},
        {IDC_ADDR_AFTER, "Static", {155, 234, 54, 8}, nullptr},
        {IDC_ADDR_PAUSE_COUNT, "Edit", {212, 231, 38, 14}, nullptr},
        {IDC_ADDR_ADDRESSES, "Static", {255, 234, 54, 8}, nullptr},
        {IDOK, "Button", {107, 257, 55, 14}, nullptr},
        {IDCANCEL, "Button", {167, 257, 55, 14}, nullptr},
        {IDC_ADDR_CLEAR, "Button", {227, 257, 55, 14}, nullptr},
        {IDC_ADDR_PASTE, "Button", {287, 257, 55, 14}, nullptr},
    };
    AddressDialog dialog;
    Driver driver;
    driver.act = [&](HWND d) {
        char title[64];
        GetWindowTextA(d, title, sizeof title);
        EXPECT_STREQ(title, "\xD1\xA1\xD4\xF1 IP \xB5\xD8\xD6\xB7");  // 选择 IP 地址
        RECT whole = {0, 0, 350, 278};
        MapDialogRect(d, &whole);
        RECT client;
        GetClientRect(d, &client);
        EXPECT_EQ(client.right, whole.right);
        EXPECT_EQ(client.bottom, whole.bottom);
        for (const auto& c : controls) {
            HWND control = GetDlgItem(d, c.id);
            ASSERT_NE(control, nullptr) << c.id;
            char cls[32];
            GetClassNameA(control, cls, sizeof cls);
            EXPECT_STREQ(cls, c.cls) << c.id;
            // Position and size are converted apart, as the dialog manager does.
            RECT expected = c.units;
            MapDialogRect(d, &expected);
            expected.right += expected.left;
            expected.bottom += expected.top;
            RECT actual;
            GetWindowRect(control, &actual);
            MapWindowPoints(nullptr, d, reinterpret_cast<POINT*>(&actual), 2);
            EXPECT_EQ(actual.left, expected.left) << c.id;
            EXPECT_EQ(actual.top, expected.top) << c.id;
            EXPECT_EQ(actual.right, expected.right) << c.id;
            EXPECT_EQ(actual.bottom, expected.bottom) << c.id;
            if (c.text) {
                EXPECT_EQ(WindowText(control), c.text) << c.id;
            }
        }
        const LONG style = GetWindowLongA(GetDlgItem(d, IDC_ADDR_TEXT), GWL_STYLE);
        EXPECT_TRUE(style & ES_MULTILINE);
        EXPECT_TRUE(style & ES_WANTRETURN);
        EXPECT_TRUE(style & WS_VSCROLL);
        EXPECT_TRUE(GetWindowLongA(GetDlgItem(d, IDC_ADDR_PAUSE_TIME), GWL_STYLE) & ES_NUMBER);
        EXPECT_TRUE(GetWindowLongA(GetDlgItem(d, IDC_ADDR_PAUSE_COUNT), GWL_STYLE) & ES_NUMBER);
        EXPECT_EQ(Text(d, IDOK), "\xC8\xB7\xB6\xA8");                // 确定
        EXPECT_EQ(Text(d, IDCANCEL), "\xC8\xA1\xCF\xFB");            // 取消
        EXPECT_EQ(Text(d, IDC_ADDR_CLEAR), "\xC7\xE5\xBF\xD5(&C)");  // 清空(&C)
        EXPECT_EQ(Text(d, IDC_ADDR_PASTE), "\xD5\xB3\xCC\xF9");      // 粘贴
        EXPECT_EQ(Text(d, IDC_ADDR_SECONDS), "\xC3\xEB");            // 秒
    };
    driver.Run(dialog);
}

}  // namespace
