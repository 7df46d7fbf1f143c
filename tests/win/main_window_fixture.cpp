#include "main_window_fixture.h"

#include "base/address_helpers.h"
#include "input/address_list.h"
#include "resources/resource_ids.h"
#include "app/main_window.h"
#include "win_test_support.h"

MainWindow* CreateMainWindow(CommandLine* commandLine) {
    auto* window = new MainWindow();
    window->SetCommandLine(commandLine);
    if (window->Create()) return window;
    delete window;
    return nullptr;
}
HWND WindowOf(MainWindow& window) {
    return window.hwnd;
}
AddressList& Addresses(MainWindow& window) {
    return window.Addresses();
}
void SetAddressText(MainWindow& window, const char* text) {
    window.CurrentOptions().addressText.SetText(text);
}
// The window's own state that no message shows.
class MainWindowProbe {
  public:
    static HMENU ContextMenu(MainWindow& window) { return window.contextMenu.Get(); }
};

HMENU ContextMenu(MainWindow& window) {
    return MainWindowProbe::ContextMenu(window);
}
HWND FindDialog() {
    return FindDialogHandle();
}

std::string MainWindowTest::SettingsPath() {
    return TestSettingsPath();
}
void MainWindowTest::WriteSettings(const std::string& lines) {
    WriteFileBytes(SettingsPath(), "[General]\r\n" + lines);
}

void MainWindowTest::Open() {
    commandLine.Build("/nodlgstart");
    window = CreateMainWindow(&commandLine);
    ASSERT_NE(window, nullptr);
    hwnd = WindowOf(*window);
    list = GetDlgItem(hwnd, IDW_RESULTLIST);
    status = GetDlgItem(hwnd, IDW_STATUSBAR);
    toolbar = GetDlgItem(hwnd, IDW_TOOLBAR);
    pane = FindWindowExA(hwnd, nullptr, "RichEdit20A", nullptr);
    PumpMessages();
}

void MainWindowTest::Close() {
    // Cancelled, the Find dialog tells its owner it is gone; destroyed with it, it does not.
    if (FindDialog() && IsWindow(FindDialog())) SendMessageA(FindDialog(), WM_COMMAND, IDCANCEL, 0);
    if (hwnd && IsWindow(hwnd)) DestroyWindow(hwnd);
    PumpMessages();
    delete window;
    window = nullptr;
    hwnd = nullptr;
}

std::string MainWindowTest::Cell(int row, int column) {
    char text[512] = {};
    ListView_GetItemText(list, row, column, text, sizeof text);
    return text;
}

std::vector<std::string> MainWindowTest::Column(int column) {
    std::vector<std::string> out;
    for (int row = 0; row < Rows(); ++row) out.push_back(Cell(row, column));
    return out;
}

void MainWindowTest::Select(std::initializer_list<int> rows) {
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    for (int row : rows) ListView_SetItemState(list, row, LVIS_SELECTED, LVIS_SELECTED);
}

void MainWindowTest::ClickHeader(int column) {
    NMLISTVIEW click = {};
    click.hdr = {list, IDW_RESULTLIST, static_cast<UINT>(LVN_COLUMNCLICK)};
    click.iItem = -1;
    click.iSubItem = column;
    SendMessageA(hwnd, WM_NOTIFY, IDW_RESULTLIST, reinterpret_cast<LPARAM>(&click));
}

void MainWindowTest::AddRows(std::initializer_list<const char*> addresses) {
    for (const char* address : addresses) {
        uint32_t ip = 0;
        ParseDottedQuad(address, &ip, 0);
        Addresses(*window).CreateItem(ip, nullptr);
    }
    Addresses(*window).Rebuild(true);
}
