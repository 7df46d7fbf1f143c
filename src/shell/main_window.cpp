#include "shell/main_window.h"

#include <commctrl.h>
#include <richedit.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "lang/language.h"
#include "lang/ui_strings.h"
#include "resources/resource_ids.h"
#include "shell/app.h"
#include "shell/messages.h"
#include "shell/options_settings.h"
#include "shell/profile_store_win.h"
#include "input/address_list.h"

namespace {

const char kRegistryKey[] = "Software\\Velmora\\Ownerlens";

const struct {
    int command;
    int image;
} kToolbarButtons[] = {{0, -1},
                       {IDM_SELECT_IP, 6},
                       {IDM_STOP, 5},
                       {0, -1},
                       {IDM_HTML_VERTICAL, 7},
                       {IDM_SAVE_SELECTED, 1},
                       {IDM_COPY, 2},
                       {IDM_PROPERTIES, 3},
                       {IDM_FIND, 0},
                       {IDM_EXIT, 4}};

int WindowHeight(HWND window) {
    RECT r;
    if (!window || !GetWindowRect(window, &r)) return 0;
    return r.bottom - r.top;
}

bool TestFaultsEnabled() {
    char value[8] = {};
    return GetEnvironmentVariableA("OWNERLENS_TEST_FAULTS", value, sizeof value) > 0 && value[0] == '1';
}

}  // namespace

HWND& FindDialogHandle() {
    static HWND handle = nullptr;
    return handle;
}

MainWindow::MainWindow() {
    std::strcpy(className, MAIN_WINDOW_CLASS);
    options = new Options();
    addressList = new AddressList(options);
    addressList->SetHostNameResolver(&hostResolver);
    splitter = new Splitter();
}

MainWindow::~MainWindow() {
    ShutDownLookupEngine();
    delete options;
    delete splitter;
    delete addressList;
}

bool MainWindow::Create() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = GenericWindowProc;
    wc.hInstance = AppInstance();
    wc.hIcon = LoadIconA(AppInstance(), MAKEINTRESOURCEA(IDI_MAIN));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = className;
    icon = wc.hIcon;
    RegisterClassA(&wc);
    return CreateWindowExA(0, className, "Ownerlens", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr, nullptr,
                           AppInstance(), this) != nullptr;
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
            splitter->HandleMessage(message, wParam, lParam);
            break;
        case WM_SETCURSOR:
            if (splitter->HandleMessage(message, wParam, lParam)) return TRUE;
            break;
        case WM_SIZE:
            // Before the split bar is set up (the placement read from the
            // settings resizes the window) it must stay untouched.
            if (created) {
                splitter->HandleMessage(message, wParam, lParam);
                LayoutChildren();
            }
            break;
        case WM_ACTIVATEAPP:
            if (!wParam) {
                focusWindow = GetFocus();
            } else {
                PostMessageA(hwnd, UM_RESTOREFOCUS, 0, 0);
            }
            break;
        case WM_CONTEXTMENU:
            ShowContextMenu(reinterpret_cast<HWND>(wParam));
            break;
        case WM_TIMER:
            if (wParam == PAUSE_TIMER) {
                KillTimer(hwnd, PAUSE_TIMER);
                StartNextLookup();
            } else if (wParam == REFRESH_TIMER) {
                RefreshResolvedNames();
            }
            break;
        case UM_SELECTIONCHANGED:
            selectionChangePosted = false;
            ShowSelectedAnswer();
            UpdateStatusBar();
            UpdateCommandStates();
            return 0;
        case UM_RUNADDRESSTEXT:
            if (shutDown) return 0;
            RunAddressText();
            UpdateCommandStates();
            return 0;
        case UM_RELOADADDRESSTEXT:
            if (shutDown) return 0;
            ReloadAddressText();
            UpdateStatusBar();
            SetFocus(listView);
            UpdateCommandStates();
            return 0;
        case UM_OPENADDRESSDIALOG:
            OpenAddressDialog();
            return 0;
        case UM_RESTOREFOCUS:
            if (focusWindow && IsWindow(focusWindow)) SetFocus(focusWindow);
            return 0;
        case UM_LOOKUPDONE:
            if (!shutDown) OnLookupDone(static_cast<int>(wParam));
            return 0;
        case UM_SENDERPROCESS:
            senderProcessId = static_cast<DWORD>(lParam);
            return 0;
        case UM_SENDERTEXT:
            if (shutDown) return 0;
            StopRun();
            if (wParam < 0xFFFFF && senderProcessId) ReadSenderText(wParam, lParam);
            return 0;
        case UM_SPLITTERMOVED:
            LayoutChildren();
            return 0;
        default:
            if (findMessage && message == findMessage) {
                OnFindDialogMessage(reinterpret_cast<const FINDREPLACEA*>(lParam));
                return 0;
            }
            break;
    }

    // Frame dispatch.
    switch (message) {
        case WM_CREATE:
            MirrorWindow(hwnd, 0);
            OnCreate();
            created = true;
            break;
        case WM_DESTROY:
        case WM_QUERYENDSESSION:
            OnClose();
            break;
        case WM_SIZE:
            OnSize();
            break;
        case WM_NOTIFY: {
            const LRESULT handled = OnNotify(wParam, lParam);
            if (handled) return handled;
            break;
        }
        case WM_COMMAND:
            OnCommand(HIWORD(wParam), wParam, lParam);
            break;
        default:
            break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void MainWindow::OnCreate() {
    HINSTANCE instance = AppInstance();
    mainMenu = LoadUiMenu(IDR_MAINMENU);
    SetMenu(hwnd, mainMenu);

    statusBar = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, hwnd,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDW_STATUSBAR)), instance, nullptr);
    int parts[1] = {-1};
    SendMessageA(statusBar, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));

    CreateToolbar();
    CreateResultList();
    CreateTextPane();
    AttachResultList();
    contextMenu = LoadUiMenu(IDR_CONTEXTMENU);

    if (commandLine && lstrcmpiA(commandLine->Token(0), "/noloadsettings") == 0) {
        RegDeleteKeyA(HKEY_CURRENT_USER, kRegistryKey);
    }
    ExchangeSettings(SettingsFile::Read);
    SetFocus(listView);
    ComputeReportPath();

    ListView_SetExtendedListViewStyle(listView, LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP);
    ApplyListStyles();
    findMessage = RegisterWindowMessageA(FINDMSGSTRINGA);
    UpdateCommandStates();

    splitCursor = LoadCursorA(instance, MAKEINTRESOURCEA(IDCUR_SPLIT));
    splitter->Setup(hwnd, options->SplitLoc, WindowHeight(toolbar), WindowHeight(statusBar), splitCursor);

    SortList(addressList->persistedSort, true);

    HWND tips = ListView_GetToolTips(listView);
    if (tips) {
        SendMessageA(tips, TTM_SETDELAYTIME, TTDT_AUTOPOP, 65535);
        SendMessageA(tips, TTM_SETDELAYTIME, TTDT_INITIAL, 10);
        SendMessageA(tips, TTM_SETDELAYTIME, TTDT_RESHOW, 10);
    }
    SetTimer(hwnd, REFRESH_TIMER, 50, nullptr);
}

void MainWindow::CreateToolbar() {
    HBITMAP strip = static_cast<HBITMAP>(LoadImageA(AppInstance(), MAKEINTRESOURCEA(IDB_TOOLBAR), IMAGE_BITMAP, 0, 0,
                                                    LR_SHARED | LR_DEFAULTSIZE | LR_LOADTRANSPARENT |
                                                        LR_LOADMAP3DCOLORS));
    TBBUTTON buttons[sizeof kToolbarButtons / sizeof kToolbarButtons[0]] = {};
    int count = 0;
    for (const auto& b : kToolbarButtons) {
        TBBUTTON& t = buttons[count++];
        t.iBitmap = b.image < 0 ? 0 : b.image;
        t.idCommand = b.command;
        t.fsState = TBSTATE_ENABLED;
        t.fsStyle = b.command ? TBSTYLE_BUTTON : TBSTYLE_SEP;
    }
    toolbar = CreateToolbarEx(hwnd, WS_CHILD | WS_VISIBLE | WS_TABSTOP | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS, IDW_TOOLBAR, 8,
                              nullptr, reinterpret_cast<UINT_PTR>(strip), buttons, count, 16, 16, 16, 16,
                              sizeof(TBBUTTON));
}

void MainWindow::CreateResultList() {
    listView = CreateWindowExA(0, WC_LISTVIEWA, "",
                               WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS |
                                   LVS_ALIGNLEFT,
                               0, 0, 400, 200, hwnd, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDW_RESULTLIST)),
                               AppInstance(), nullptr);
}

void MainWindow::AttachResultList() {
    listBinding.Bind(listView);
    addressList->Attach(&listBinding);
    for (const ColumnDef& def : addressList->Columns()) {
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = def.defaultWidth;
        column.pszText = const_cast<char*>(def.header);
        column.iSubItem = def.id;
        SendMessageA(listView, LVM_INSERTCOLUMNA, static_cast<WPARAM>(def.id), reinterpret_cast<LPARAM>(&column));
    }
    listBinding.CreateImageLists();
}

void MainWindow::CreateTextPane() {
    textPane = CreateWindowExA(WS_EX_CLIENTEDGE, "RichEdit20A", "",
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL |
                                   ES_AUTOHSCROLL,
                               0, 0, 100, 100, hwnd, nullptr, AppInstance(), nullptr);
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

void MainWindow::ComputeReportPath() {
    char folder[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, folder, MAX_PATH);
    char* slash = std::strrchr(folder, '\\');
    if (slash) slash[1] = '\0';
    const DWORD attributes = GetFileAttributesA(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY)) {
        GetTempPathA(MAX_PATH, folder);
    }
    size_t length = std::strlen(folder);
    reportPath[0] = '\0';
    if (length + 12 >= MAX_PATH) return;
    if (length == 0 || folder[length - 1] != '\\') folder[length++] = '\\', folder[length] = '\0';
    std::snprintf(reportPath, sizeof reportPath, "%sreport.html", folder);
}

void MainWindow::ApplyListStyles() {
    const DWORD mask = LVS_EX_GRIDLINES | LVS_EX_INFOTIP;
    const DWORD bits = (options->ShowGridLines ? LVS_EX_GRIDLINES : 0) | (options->ShowInfoTip ? LVS_EX_INFOTIP : 0);
    ListView_SetExtendedListViewStyleEx(listView, mask, bits);
}

void MainWindow::LayoutChildren() {
    if (!created) return;
    RECT client;
    GetClientRect(hwnd, &client);
    const int width = client.right;
    const int height = client.bottom;
    const int statusHeight = WindowHeight(statusBar);
    const int toolbarHeight = WindowHeight(toolbar);
    const int barTop = splitter->barTop;
    const int below = barTop + splitter->thickness;

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
        batch = DeferWindowPos(batch, textPane, nullptr, 0, below, width, paneHeight > 0 ? paneHeight : 0,
                               SWP_NOZORDER);
    }
    if (batch) EndDeferWindowPos(batch);
    InvalidateRect(hwnd, nullptr, TRUE);
}

void MainWindow::OnSize() { LayoutChildren(); }

int MainWindow::ItemCount() const { return addressList->ItemCount(); }

int MainWindow::SelectedCount() const { return listView ? static_cast<int>(ListView_GetSelectedCount(listView)) : 0; }

bool MainWindow::ListHasFocus() const { return listView && GetFocus() == listView; }

void MainWindow::UpdateCommandStates(HMENU menu) {
    const int items = ItemCount();
    const int selected = SelectedCount();
    const struct {
        int command;
        bool enabled;
    } states[] = {{IDM_PROPERTIES, selected == 1},      {IDM_SAVE_SELECTED, selected >= 1},
                  {IDM_COPY, selected >= 1},            {IDM_STOP, running != 0},
                  {IDM_AUTOSIZE_COLUMNS, items >= 1},   {IDM_HTML_HORIZONTAL, items >= 1},
                  {IDM_HTML_VERTICAL, items >= 1},      {IDM_FIND, items >= 1}};
    HMENU target = menu ? menu : mainMenu;
    for (const auto& s : states) {
        if (target) EnableMenuItem(target, s.command, MF_BYCOMMAND | (s.enabled ? MF_ENABLED : MF_GRAYED));
        if (toolbar) SendMessageA(toolbar, TB_ENABLEBUTTON, s.command, MAKELPARAM(s.enabled ? TRUE : FALSE, 0));
    }
    if (mainMenu) {
        CheckMenuItem(mainMenu, IDM_SHOW_GRID, MF_BYCOMMAND | (options->ShowGridLines ? MF_CHECKED : MF_UNCHECKED));
        CheckMenuItem(mainMenu, IDM_SHOW_TOOLTIPS,
                      MF_BYCOMMAND | (options->ShowInfoTip ? MF_CHECKED : MF_UNCHECKED));
    }
}

void MainWindow::UpdateStatusBar() {
    char total[256];
    std::snprintf(total, sizeof total, GetUiString(4), ItemCount());
    std::string text = total;
    const int selected = SelectedCount();
    if (selected >= 1) {
        char part[256];
        std::snprintf(part, sizeof part, GetUiString(5), selected);
        text += part;
    }
    SendMessageA(statusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void MainWindow::ShowContextMenu(HWND from) {
    int index;
    if (from == listView) {
        index = 0;
    } else if (textPane && from == textPane) {
        index = 1;
    } else {
        return;
    }
    HMENU popup = GetSubMenu(contextMenu, index);
    if (!popup) return;
    POINT p;
    GetCursorPos(&p);
    UpdateCommandStates(popup);
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, p.x, p.y, 0, hwnd, nullptr);
}

void MainWindow::OpenFindDialog() {
    if (FindDialogHandle()) return;
    std::memset(&findRequest, 0, sizeof findRequest);
    findRequest.lStructSize = sizeof findRequest;
    findRequest.hwndOwner = hwnd;
    findRequest.Flags = FR_DOWN;
    findRequest.lpstrFindWhat = addressList->findText;
    findRequest.wFindWhatLen = 255;
    FindDialogHandle() = FindTextA(&findRequest);
}

void MainWindow::OnFindDialogMessage(const FINDREPLACEA* request) {
    if (!request) return;
    if (request->Flags & FR_FINDNEXT) FindNext(request);
    if (request->Flags & FR_DIALOGTERM) {
        FindDialogHandle() = nullptr;
        SetFocus(listView);
    }
}

LRESULT MainWindow::OnNotify(WPARAM, LPARAM lParam) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (!header) return 0;
    if (header->code == TTN_GETDISPINFOA || header->code == TTN_GETDISPINFOW) {
        // Tooltip of a toolbar button: the main menu's text for its command.
        char text[80] = {};
        if (mainMenu) GetMenuStringA(mainMenu, static_cast<UINT>(header->idFrom), text, 80, MF_BYCOMMAND);
        if (header->code == TTN_GETDISPINFOA) {
            NMTTDISPINFOA* info = reinterpret_cast<NMTTDISPINFOA*>(lParam);
            lstrcpynA(info->szText, text, 80);
            info->lpszText = info->szText;
        } else {
            NMTTDISPINFOW* info = reinterpret_cast<NMTTDISPINFOW*>(lParam);
            MultiByteToWideChar(CP_ACP, 0, text, -1, info->szText, 80);
            info->szText[79] = L'\0';
            info->lpszText = info->szText;
        }
        return 0;
    }
    if (header->idFrom != IDW_RESULTLIST) return 0;
    switch (header->code) {
        case NM_DBLCLK:
            OnCommand(0, IDM_PROPERTIES, 0);
            break;
        case LVN_COLUMNCLICK:
            SortList(reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem, false);
            break;
        case LVN_ITEMCHANGED: {
            const NMLISTVIEW* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
            if ((change->uChanged & LVIF_STATE) && ((change->uNewState ^ change->uOldState) & LVIS_SELECTED) &&
                !selectionChangePosted) {
                selectionChangePosted = true;
                PostMessageA(hwnd, UM_SELECTIONCHANGED, 0, 0);
            }
            break;
        }
        default:
            break;
    }
    return 0;
}

LRESULT MainWindow::OnCommand(int code, WPARAM wParam, LPARAM) {
    if (code != 0 && code != 1) return 0;
    switch (LOWORD(wParam)) {
        case IDM_SAVE_SELECTED:
            SaveSelectedItems();
            break;
        case IDM_EXIT:
            SendMessageA(hwnd, WM_CLOSE, 0, 0);
            break;
        case IDM_ABOUT:
            ShowAbout();
            SetFocus(listView);
            break;
        case IDM_SHOW_GRID:
            options->ShowGridLines = options->ShowGridLines ? 0 : 1;
            UpdateCommandStates();
            ApplyListStyles();
            break;
        case IDM_SHOW_TOOLTIPS:
            options->ShowInfoTip = options->ShowInfoTip ? 0 : 1;
            UpdateCommandStates();
            ApplyListStyles();
            break;
        case IDM_HTML_HORIZONTAL:
            ShowHtmlReport(4);
            break;
        case IDM_HTML_VERTICAL:
            ShowHtmlReport(5);
            break;
        case IDM_SELECT_ALL:
            if (ListHasFocus()) {
                ListView_SetItemState(listView, -1, LVIS_SELECTED, LVIS_SELECTED);
            } else if (textPane) {
                SendMessageA(textPane, EM_SETSEL, 0, -1);
            }
            break;
        case IDM_DESELECT_ALL:
            if (ListHasFocus()) {
                ListView_SetItemState(listView, -1, 0, LVIS_SELECTED);
            } else if (textPane) {
                SendMessageA(textPane, EM_SETSEL, static_cast<WPARAM>(-1), 0);
            }
            break;
        case IDM_COPY:
            CopySelection();
            break;
        case IDM_PROPERTIES:
            if (SelectedCount() == 1) ShowProperties();
            SetFocus(listView);
            break;
        case IDM_CHOOSE_COLUMNS:
            ChooseColumns();
            break;
        case IDM_AUTOSIZE_COLUMNS:
            AutoSizeColumns();
            break;
        case IDM_FIND:
            OpenFindDialog();
            break;
        case IDM_SELECT_IP:
            OpenAddressDialog();
            break;
        case IDM_STOP:
            StopRun();
            break;
        case IDM_SAVE_WHOIS:
            SaveWhoisRecords();
            break;
        case IDM_SHOW_MY_IP:
            ShowMyAddress();
            break;
        case IDM_TEST_FAULT:
            if (TestFaultsEnabled()) {
                volatile int* volatile p = nullptr;
                *p = 1;
            }
            break;
        default:
            break;
    }
    return 0;
}

void MainWindow::OnClose() {
    // Both WM_QUERYENDSESSION and WM_DESTROY end here; the work is done once.
    if (shutDown) return;
    shutDown = true;
    KillTimer(hwnd, REFRESH_TIMER);
    KillTimer(hwnd, PAUSE_TIMER);
    if (reportPath[0]) DeleteFileA(reportPath);
    listBinding.DestroyImageLists();
    if (contextMenu) DestroyMenu(contextMenu);
    contextMenu = nullptr;
    if (writeSettingsAtExit) ExchangeSettings(SettingsFile::Write);
    // Nothing of the lookup engine (reverse-name workers included) may reach
    // the list once it is released.
    ShutDownLookupEngine();
    ReleaseAddressList();
    PostQuitMessage(0);
}

void MainWindow::RunAddressText() {
    SendMessageA(listView, WM_SETREDRAW, FALSE, 0);
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    ClearAddressList();
    AddAddressesFromText();
    RebuildList(true);
    SetCursor(previous);
    SetFocus(listView);
    SendMessageA(listView, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(listView, nullptr, TRUE);
    currentIndex = 0;
    running = 1;
    StartNextLookup();
}

void MainWindow::ExchangeSettings(SettingsFile::Direction direction) {
    if (direction == SettingsFile::Write) {
        if (splitter->window) options->SplitLoc = splitter->position;
        ++settingsWrites;
    }
    char program[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    const std::string path = SettingsPathFor(program);
    PrivateProfileStore store;
    SettingsFile file(&store, direction, path.c_str(), "General");
    ExchangeOptionKeys(file, *options);
    if (direction == SettingsFile::Write && hwnd) {
        placement.length = sizeof placement;
        GetWindowPlacement(hwnd, &placement);
    }
    file.ExchangeBinary("WinPos", &placement, static_cast<int>(sizeof placement));
    if (direction == SettingsFile::Read) ApplyPlacement();
    ExchangeColumnSettings(file);
    ReadServerOverrides(file);
}

void MainWindow::ApplyPlacement() {
    const RECT& r = placement.rcNormalPosition;
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    const bool plausible = width > 20 && height > 20 && r.right > 5 && r.top >= -10 &&
                           r.left + 20 < GetSystemMetrics(SM_CXSCREEN) && r.top + 20 < GetSystemMetrics(SM_CYSCREEN);
    if (placement.showCmd != 0 && plausible) {
        SetWindowPos(hwnd, nullptr, r.left, r.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}
