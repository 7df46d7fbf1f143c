#include "app/main_frame.h"

#include <commctrl.h>
#include <richedit.h>

#include <cstring>

#include "app/options_settings.h"
#include "framework/app.h"
#include "resources/resource_ids.h"

namespace {

const struct {
    int command;
    int image;
} kToolbarButtons[] = {
    {0, -1},       {IDM_SELECT_IP, 6},  {IDM_STOP, 5}, {0, -1},      {IDM_HTML_VERTICAL, 7}, {IDM_SAVE_SELECTED, 1},
    {IDM_COPY, 2}, {IDM_PROPERTIES, 3}, {IDM_FIND, 0}, {IDM_EXIT, 4}};

int WindowHeight(HWND window) {
    RECT r;
    if (!window || !GetWindowRect(window, &r)) return 0;
    return r.bottom - r.top;
}

}  // namespace

void MainFrame::CreateChildren(HWND parent) {
    window = parent;
    HINSTANCE instance = AppInstance();
    statusBar = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, window,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDW_STATUSBAR)), instance, nullptr);
    int parts[1] = {-1};
    SendMessageA(statusBar, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));
    CreateToolbar();
    listView = CreateWindowExA(
        0, WC_LISTVIEWA, "",
        WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_ALIGNLEFT, 0, 0, 400, 200,
        window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDW_RESULTLIST)), instance, nullptr);
    CreateTextPane();
}

void MainFrame::CreateToolbar() {
    HBITMAP strip =
        static_cast<HBITMAP>(LoadImageA(AppInstance(), MAKEINTRESOURCEA(IDB_TOOLBAR), IMAGE_BITMAP, 0, 0,
                                        LR_SHARED | LR_DEFAULTSIZE | LR_LOADTRANSPARENT | LR_LOADMAP3DCOLORS));
    TBBUTTON buttons[sizeof kToolbarButtons / sizeof kToolbarButtons[0]] = {};
    int count = 0;
    for (const auto& b : kToolbarButtons) {
        TBBUTTON& t = buttons[count++];
        t.iBitmap = b.image < 0 ? 0 : b.image;
        t.idCommand = b.command;
        t.fsState = TBSTATE_ENABLED;
        t.fsStyle = b.command ? TBSTYLE_BUTTON : TBSTYLE_SEP;
    }
    toolbar =
        CreateToolbarEx(window, WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS, IDW_TOOLBAR, 8,
                        nullptr, reinterpret_cast<UINT_PTR>(strip), buttons, count, 16, 16, 16, 16, sizeof(TBBUTTON));
}

void MainFrame::CreateTextPane() {
    textPane = CreateWindowExA(
        WS_EX_CLIENTEDGE, "RichEdit20A", "",
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | ES_AUTOHSCROLL, 0, 0, 100,
        100, window, nullptr, AppInstance(), nullptr);
    if (!textPane) return;  // without the rich edit library the pane is missing
    ShowScrollBar(textPane, SB_BOTH, TRUE);
    SendMessageA(textPane, EM_SETTARGETDEVICE, 0, 0);  // wrap at the window edge
    CHARFORMATA format = {};
    format.cbSize = sizeof format;
    format.dwMask = CFM_FACE | CFM_SIZE | CFM_BOLD;
    format.yHeight = 200;
    std::strcpy(format.szFaceName, "Fixedsys");
    SendMessageA(textPane, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
}

void MainFrame::SetupSplitter(int position) {
    HCURSOR cursor = LoadCursorA(AppInstance(), MAKEINTRESOURCEA(IDCUR_SPLIT));
    splitter.Setup(window, position, WindowHeight(toolbar), WindowHeight(statusBar), cursor);
}

bool MainFrame::HandleSplitterMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // Before the split bar is set up (the placement read from the settings
    // resizes the window) it must stay untouched.
    if (!splitter.window) return false;
    return splitter.HandleMessage(message, wParam, lParam);
}

void MainFrame::Layout() {
    if (!splitter.window) return;
    RECT client;
    GetClientRect(window, &client);
    const int width = client.right;
    const int height = client.bottom;
    const int statusHeight = WindowHeight(statusBar);
    const int toolbarHeight = WindowHeight(toolbar);
    const int barTop = splitter.barTop;
    const int below = barTop + splitter.thickness;

    HDWP batch = BeginDeferWindowPos(4);
    if (batch && toolbar) batch = DeferWindowPos(batch, toolbar, nullptr, 0, 0, width, toolbarHeight, SWP_NOZORDER);
    if (batch && statusBar) {
        batch = DeferWindowPos(batch, statusBar, nullptr, 0, height - statusHeight, width, statusHeight, SWP_NOZORDER);
    }
    if (batch && listView) {
        const int listHeight = barTop - toolbarHeight;
        batch = DeferWindowPos(batch, listView, nullptr, 0, toolbarHeight, width, listHeight > 0 ? listHeight : 0,
                               SWP_NOZORDER);
    }
    if (batch && textPane) {
        const int paneHeight = height - below - statusHeight;
        batch =
            DeferWindowPos(batch, textPane, nullptr, 0, below, width, paneHeight > 0 ? paneHeight : 0, SWP_NOZORDER);
    }
    if (batch) EndDeferWindowPos(batch);
    InvalidateRect(window, nullptr, TRUE);
}

void MainFrame::ApplyPlacement() {
    const RECT& r = placement.rcNormalPosition;
    const int rect[4] = {r.left, r.top, r.right, r.bottom};
    const int desktop[4] = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                            GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    if (placement.showCmd == 0 || !IsPlacementPlausible(rect, desktop)) return;
    // The normal rectangle is in workspace coordinates, which only the
    // placement call reads as such (a taskbar at the top or left would
    // otherwise move the window by its size at every start). Showing stays
    // with the start-up code.
    WINDOWPLACEMENT restored = placement;
    restored.length = sizeof restored;
    restored.flags = 0;
    restored.showCmd = IsWindowVisible(window) ? SW_SHOWNOACTIVATE : SW_HIDE;
    SetWindowPlacement(window, &restored);
}

void MainFrame::SavePlacement() {
    if (!window) return;
    placement.length = sizeof placement;
    GetWindowPlacement(window, &placement);
}

void MainFrame::SetStatusText(const char* text) {
    if (statusBar) SendMessageA(statusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text));
}
