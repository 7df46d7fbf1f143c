#pragma once
// Helpers of the Win32 tests: waiting on messages, driving the dialogs that
// the code under test opens on this thread, and a main window created in
// this process as the program creates it, driven through its messages.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <set>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/main_window.h"

void PumpMessages();  // every queued message of this thread
// Dispatches messages, waiting for the next one (or event), until done()
// holds; false when timeoutMs passed first.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 20000, HANDLE event = nullptr);

// Drives the dialogs and message boxes that this thread activates: `act`
// runs once per dialog as soon as its activation is over, inside the
// dialog's own loop, and usually ends it. Found through a CBT hook and
// acted on by a thread timer, which the dialog's loop dispatches.
class DialogDriver {
  public:
    explicit DialogDriver(std::function<void(HWND)> act);
    ~DialogDriver();
    int Count() const { return static_cast<int>(seen_.size()); }

  private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK Act(HWND, UINT, UINT_PTR timer, DWORD);
    std::function<void(HWND)> act_;
    std::set<HWND> seen_;
    std::vector<HWND> pending_;  // activated, not yet acted on
    HHOOK hook_ = nullptr;
};

void ClickButton(HWND dialog, int id);  // as the control reports it to its dialog
std::string WindowText(HWND window);
inline std::string ItemText(HWND dialog, int id) {
    return WindowText(GetDlgItem(dialog, id));
}
std::string StatusText(HWND statusBar);  // part 0
std::string ClipboardText();
void SetClipboardText(const char* text);             // null: something that is not text
std::string ReadFileBytes(const std::string& path);  // "" when unreadable
void WriteFileBytes(const std::string& path, const std::string& bytes);
std::string ProgramFolder();                        // with its trailing backslash
void MenuCommands(HMENU menu, std::set<int>* out);  // of the menu and its submenus

struct MainWindowTest : ::testing::Test {
    CommandLine commandLine;
    MainWindow* window = nullptr;
    HWND hwnd = nullptr, list = nullptr, status = nullptr, toolbar = nullptr;
    HWND pane = nullptr;  // the answer pane, null without a rich edit

    void SetUp() override { DeleteFileA(SettingsPath().c_str()); }  // each test starts without settings
    void TearDown() override { Close(); }
    static std::string SettingsPath();  // named as the program names its own
    static void WriteSettings(const std::string& lines) { WriteFileBytes(SettingsPath(), "[General]\r\n" + lines); }
    void Open(const char* switches = "/nodlgstart");
    void Close();
    void Command(int id) { SendMessageA(hwnd, WM_COMMAND, id, 0); }
    bool MenuEnabled(int id) { return !(GetMenuState(GetMenu(hwnd), id, MF_BYCOMMAND) & MF_GRAYED); }
    bool MenuChecked(int id) { return (GetMenuState(GetMenu(hwnd), id, MF_BYCOMMAND) & MF_CHECKED) != 0; }
    bool ButtonEnabled(int id) { return SendMessageA(toolbar, TB_ISBUTTONENABLED, id, 0) != 0; }
    int Rows() { return ListView_GetItemCount(list); }
    std::string Cell(int row, int column);
    void Select(std::initializer_list<int> rows);
    void ClickHeader(int column);  // as the list reports it
    // Rows for these addresses, as a new list shows them, without a lookup.
    void AddRows(std::initializer_list<const char*> addresses);
    void SetAddressText(const char* text) { window->CurrentOptions().addressText.SetText(text); }
    HMENU ContextMenu();  // the window's own, which no message shows
};
