#include "app/main_window.h"

#include <commctrl.h>
#include <richedit.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/command_line.h"
#include "app/headless_export_win.h"
#include "app/options_settings.h"
#include "app/startup.h"
#include "extras/about_dialog.h"
#include "framework/app.h"
#include "framework/messages.h"
#include "framework/profile_store_win.h"
#include "framework/shell_open.h"
#include "input/address_dialog.h"
#include "lang/language.h"
#include "lang/ui_strings.h"
#include "resources/resource_ids.h"
#include "views/column_dialog.h"
#include "views/report_format.h"

namespace {

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
    addressList.SetHostNameResolver(&hostResolver);
}

MainWindow::~MainWindow() {
    ShutDownLookupEngine();
}

void MainWindow::SetHeadless(HeadlessExport* run) {
    headless = run;
    writeSettingsAtExit = run == nullptr;
}

bool MainWindow::StartsMaximized() const {
    return const_cast<MainFrame&>(frame).Placement().showCmd == SW_SHOWMAXIMIZED;
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
        case WM_CREATE:
            MirrorWindow(hwnd, 0);
            OnCreate();
            created = true;
            break;
        case WM_DESTROY:
        case WM_QUERYENDSESSION:
            OnClose();
            break;
        case WM_PAINT:
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
            frame.HandleSplitterMessage(message, wParam, lParam);
            break;
        case WM_SETCURSOR:
            if (frame.HandleSplitterMessage(message, wParam, lParam)) return TRUE;
            break;
        case WM_SIZE:
            frame.HandleSplitterMessage(message, wParam, lParam);
            frame.Layout();
            break;
        case WM_NOTIFY: {
            const LRESULT handled = OnNotify(reinterpret_cast<const NMHDR*>(lParam), lParam);
            if (handled) return handled;
            break;
        }
        case WM_COMMAND:
            // Menus (0) and accelerators (1) only; control notifications are
            // not commands.
            if (HIWORD(wParam) == 0 || HIWORD(wParam) == 1) OnCommand(LOWORD(wParam));
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
                if (engine) engine->OnTimer();
            } else if (wParam == REFRESH_TIMER) {
                if (pendingProgress) ShowProgress(pendingProgress);
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
            FocusList();
            UpdateCommandStates();
            return 0;
        case UM_OPENADDRESSDIALOG:
            OpenAddressDialog();
            return 0;
        case UM_RESTOREFOCUS:
            if (focusWindow && IsWindow(focusWindow)) SetFocus(focusWindow);
            return 0;
        case UM_LOOKUPDONE:
            if (!shutDown && engine) engine->OnLookupDone(wParam);
            return 0;
        case UM_RDAPDONE:
            if (!shutDown && engine) engine->OnRdapDone(wParam, lParam);
            return 0;
        case UM_SENDERPROCESS:
            senderProcessId = static_cast<DWORD>(lParam);
            return 0;
        case UM_SENDERTEXT:
            if (shutDown) return 0;
            if (wParam < 0xFFFFF && senderProcessId) ReadSenderText(wParam, lParam);
            return 0;
        case UM_SPLITTERMOVED:
            frame.Layout();
            return 0;
        default:
            if (findMessage && message == findMessage) {
                OnFindDialogMessage(reinterpret_cast<const FINDREPLACEA*>(lParam));
                return 0;
            }
            break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void MainWindow::OnCreate() {
    mainMenu = LoadUiMenu(IDR_MAINMENU);
    SetMenu(hwnd, mainMenu);
    frame.CreateChildren(hwnd);
    AttachResultList();
    contextMenu.Reset(LoadUiMenu(IDR_CONTEXTMENU));
    engine = std::make_unique<LookupEngine>(hwnd, addressList, options, static_cast<LookupUi&>(*this));

    if (commandLine && lstrcmpiA(commandLine->Token(0), "/noloadsettings") == 0) {
        DeleteSettingsRegistryKey();
    }
    ExchangeSettings(SettingsFile::Read);
    if (commandLine) ApplyRunSwitches(*commandLine, options);
    FocusList();

    HWND listView = frame.ListView();
    ListView_SetExtendedListViewStyle(listView, LVS_EX_FULLROWSELECT | LVS_EX_HEADERDRAGDROP);
    ApplyListStyles();
    findMessage = RegisterWindowMessageA(FINDMSGSTRINGA);
    UpdateCommandStates();
    frame.SetupSplitter(options.SplitLoc);
    addressList.Sort(addressList.persistedSort, true);

    HWND tips = ListView_GetToolTips(listView);
    if (tips) {
        SendMessageA(tips, TTM_SETDELAYTIME, TTDT_AUTOPOP, 65535);
        SendMessageA(tips, TTM_SETDELAYTIME, TTDT_INITIAL, 10);
        SendMessageA(tips, TTM_SETDELAYTIME, TTDT_RESHOW, 10);
    }
    SetTimer(hwnd, REFRESH_TIMER, kRefreshMilliseconds, nullptr);
}

void MainWindow::AttachResultList() {
    HWND listView = frame.ListView();
    listBinding.Bind(listView);
    addressList.Attach(&listBinding);
    for (const ColumnDef& def : addressList.Columns()) {
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

void MainWindow::ApplyListStyles() {
    const DWORD mask = LVS_EX_GRIDLINES | LVS_EX_INFOTIP;
    const DWORD bits = (options.ShowGridLines ? LVS_EX_GRIDLINES : 0) | (options.ShowInfoTip ? LVS_EX_INFOTIP : 0);
    ListView_SetExtendedListViewStyleEx(frame.ListView(), mask, bits);
}

int MainWindow::SelectedCount() const {
    HWND listView = const_cast<MainFrame&>(frame).ListView();
    return listView ? static_cast<int>(ListView_GetSelectedCount(listView)) : 0;
}

bool MainWindow::ListHasFocus() const {
    HWND listView = const_cast<MainFrame&>(frame).ListView();
    return listView && GetFocus() == listView;
}

void MainWindow::FocusList() {
    if (frame.ListView()) SetFocus(frame.ListView());
}

void MainWindow::UpdateCommandStates(HMENU menu) {
    const int items = addressList.ItemCount();
    const int selected = SelectedCount();
    const bool running = engine && engine->Running();
    const struct {
        int command;
        bool enabled;
    } states[] = {{IDM_PROPERTIES, selected == 1},    {IDM_SAVE_SELECTED, selected >= 1},
                  {IDM_COPY, selected >= 1},          {IDM_STOP, running},
                  {IDM_AUTOSIZE_COLUMNS, items >= 1}, {IDM_HTML_HORIZONTAL, items >= 1},
                  {IDM_HTML_VERTICAL, items >= 1},    {IDM_FIND, items >= 1}};
    HMENU target = menu ? menu : mainMenu;
    HWND toolbar = frame.Toolbar();
    for (const auto& s : states) {
        if (target) EnableMenuItem(target, s.command, MF_BYCOMMAND | (s.enabled ? MF_ENABLED : MF_GRAYED));
        if (toolbar) SendMessageA(toolbar, TB_ENABLEBUTTON, s.command, MAKELPARAM(s.enabled ? TRUE : FALSE, 0));
    }
    if (mainMenu) {
        CheckMenuItem(mainMenu, IDM_SHOW_GRID, MF_BYCOMMAND | (options.ShowGridLines ? MF_CHECKED : MF_UNCHECKED));
        CheckMenuItem(mainMenu, IDM_SHOW_TOOLTIPS, MF_BYCOMMAND | (options.ShowInfoTip ? MF_CHECKED : MF_UNCHECKED));
    }
}

void MainWindow::UpdateStatusBar() {
    pendingProgress = 0;
    char total[256];
    std::snprintf(total, sizeof total, GetUiString(IDS_ITEM_COUNT), addressList.ItemCount());
    std::string text = total;
    const int selected = SelectedCount();
    if (selected >= 1) {
        char part[256];
        std::snprintf(part, sizeof part, GetUiString(IDS_SELECTED_COUNT), selected);
        text += part;
    }
    frame.SetStatusText(text.c_str());
}

void MainWindow::ShowProgress(int number) {
    // At a thousand lookups a second the text changes faster than anyone can
    // read it: at most one change per refresh period, and the last number
    // on the refresh timer.
    if (GetTickCount() - progressShownAt < kRefreshMilliseconds) {
        pendingProgress = number;
        return;
    }
    pendingProgress = 0;
    progressShownAt = GetTickCount();
    char text[256];
    std::snprintf(text, sizeof text, GetUiString(IDS_PROGRESS), number);
    frame.SetStatusText(text);
}

void MainWindow::ShowSelectedAnswer() {
    HWND textPane = frame.TextPane();
    if (!textPane) return;
    const LookupItem* item = nullptr;
    if (addressList.SelectedCount() == 1) item = static_cast<const LookupItem*>(addressList.SingleSelectedItem());
    SendMessageA(textPane, WM_SETREDRAW, FALSE, 0);
    // Answers may be far longer than the pane's default limit.
    SendMessageA(textPane, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
    SetWindowTextA(textPane, item ? item->RawText() : "");
    SendMessageA(textPane, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(textPane, nullptr, TRUE);
}

void MainWindow::RunEnded() {
    if (headless) headless->RunEnded();
}

void MainWindow::ShowContextMenu(HWND from) {
    int index;
    if (from == frame.ListView()) {
        index = 0;
    } else if (frame.TextPane() && from == frame.TextPane()) {
        index = 1;
    } else {
        return;
    }
    HMENU popup = GetSubMenu(contextMenu.Get(), index);
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
    findRequest.lpstrFindWhat = addressList.findText;
    findRequest.wFindWhatLen = 255;
    FindDialogHandle() = FindTextA(&findRequest);
}

void MainWindow::OnFindDialogMessage(const FINDREPLACEA* request) {
    if (!request) return;
    if (request->Flags & FR_FINDNEXT) FindNext(request);
    if (request->Flags & FR_DIALOGTERM) {
        FindDialogHandle() = nullptr;
        FocusList();
    }
}

void MainWindow::FindNext(const FINDREPLACEA* request) {
    FindRequest find;
    find.text = addressList.findText;
    find.down = (request->Flags & FR_DOWN) != 0;
    find.wholeWord = (request->Flags & FR_WHOLEWORD) != 0;
    find.matchCase = (request->Flags & FR_MATCHCASE) != 0;
    addressList.FindNext(find);
}

LRESULT MainWindow::OnNotify(const NMHDR* header, LPARAM lParam) {
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
            OnCommand(IDM_PROPERTIES);
            break;
        case LVN_COLUMNCLICK:
            addressList.Sort(reinterpret_cast<const NMLISTVIEW*>(lParam)->iSubItem, false);
            break;
        case LVN_GETDISPINFOA: {
            LVITEMA& cell = reinterpret_cast<NMLVDISPINFOA*>(lParam)->item;
            if ((cell.mask & LVIF_TEXT) && cell.pszText && cell.cchTextMax > 0)
                addressList.CopyShownText(cell.iItem, cell.iSubItem, cell.pszText,
                                          static_cast<size_t>(cell.cchTextMax));
            if (cell.mask & LVIF_IMAGE) cell.iImage = addressList.ShownImage(cell.iItem);
            break;
        }
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

void MainWindow::OnCommand(int command) {
    HWND listView = frame.ListView();
    HWND textPane = frame.TextPane();
    switch (command) {
        case IDM_SAVE_SELECTED:
            SaveSelectedItems();
            break;
        case IDM_EXIT:
            SendMessageA(hwnd, WM_CLOSE, 0, 0);
            break;
        case IDM_ABOUT:
            RunAboutBox(hwnd);
            FocusList();
            break;
        case IDM_SHOW_GRID:
            options.ShowGridLines = options.ShowGridLines ? 0 : 1;
            UpdateCommandStates();
            ApplyListStyles();
            break;
        case IDM_SHOW_TOOLTIPS:
            options.ShowInfoTip = options.ShowInfoTip ? 0 : 1;
            UpdateCommandStates();
            ApplyListStyles();
            break;
        case IDM_HTML_HORIZONTAL:
            ShowHtmlReport(FormatHtmlHorizontal);
            break;
        case IDM_HTML_VERTICAL:
            ShowHtmlReport(FormatHtmlVertical);
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
            FocusList();
            break;
        case IDM_CHOOSE_COLUMNS:
            ColumnDialog::Open(hwnd, addressList, listView);
            break;
        case IDM_AUTOSIZE_COLUMNS:
            addressList.AutoSizeColumns();
            break;
        case IDM_FIND:
            OpenFindDialog();
            break;
        case IDM_SELECT_IP:
            OpenAddressDialog();
            break;
        case IDM_STOP:
            if (engine) engine->StopRun();
            break;
        case IDM_SAVE_WHOIS:
            SaveWhoisRecords();
            break;
        case IDM_SHOW_MY_IP:
            ShowMyAddress(hwnd);
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
}

void MainWindow::OnClose() {
    // Both WM_QUERYENDSESSION and WM_DESTROY end here; the work is done once.
    if (shutDown) return;
    shutDown = true;
    KillTimer(hwnd, REFRESH_TIMER);
    KillTimer(hwnd, PAUSE_TIMER);
    // The Find dialog goes with its owner without telling it (no
    // FR_DIALOGTERM): forget it, or a later main window could not open one.
    FindDialogHandle() = nullptr;
    if (reportPath[0]) DeleteFileA(reportPath);  // only ever a file this run created
    listBinding.DestroyImageLists();
    contextMenu.Reset();
    if (writeSettingsAtExit) ExchangeSettings(SettingsFile::Write);
    ShutDownLookupEngine();
    addressList.Clear();
    PostQuitMessage(0);
}

void MainWindow::ShutDownLookupEngine() {
    engine.reset();
}

void MainWindow::OpenAddressDialog() {
    if (headless || shutDown) return;  // a headless run shows no dialog
    AddressDialog dialog;
    dialog.CopyFrom(options);
    if (dialog.DoModal(hwnd)) {
        dialog.CopyTo(options);
        PostMessageA(hwnd, UM_RUNADDRESSTEXT, 0, 0);
    }
}

void MainWindow::RunAddressText() {
    HWND listView = frame.ListView();
    SendMessageA(listView, WM_SETREDRAW, FALSE, 0);
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    addressList.Clear();
    addressList.DeleteAllRows();
    addressList.AddAddressesFromText();
    addressList.Rebuild(true);
    SetCursor(previous);
    FocusList();
    SendMessageA(listView, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(listView, nullptr, TRUE);
    if (engine) engine->StartRun();
}

void MainWindow::ReloadAddressText() {
    HWND listView = frame.ListView();
    addressList.AddAddressesFromText();
    // Many new rows are made far faster while the control does not redraw.
    SendMessageA(listView, WM_SETREDRAW, FALSE, 0);
    addressList.Rebuild(false);
    SendMessageA(listView, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(listView, nullptr, TRUE);
}

void MainWindow::ReadSenderText(WPARAM length, LPARAM address) {
    if (ReadAddressesFromProcess(senderProcessId, static_cast<uintptr_t>(address), static_cast<uint32_t>(length),
                                 options.addressText)) {
        // Only a hand-over that was read ends the running run; a rejected
        // one leaves it going.
        if (engine) engine->StopRun();
        PostMessageA(hwnd, UM_RUNADDRESSTEXT, 0, 0);
    }
}

void MainWindow::RefreshResolvedNames() {
    if (addressList.namesChanged.exchange(0)) addressList.RefreshRows();
    if (headless && headless->Tick(*this)) ShutDownLookupEngine();
}

void MainWindow::ExchangeSettings(SettingsFile::Direction direction) {
    if (direction == SettingsFile::Write) {
        if (frame.SplitterReady()) options.SplitLoc = frame.SplitPosition();
        ++settingsWrites;
    }
    char program[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    const std::string path = SettingsPathFor(program);
    PrivateProfileStore store;
    SettingsFile file(&store, direction, path.c_str(), "General");
    ExchangeOptionKeys(file, options);
    if (direction == SettingsFile::Write && hwnd) frame.SavePlacement();
    WINDOWPLACEMENT& placement = frame.Placement();
    file.ExchangeBinary("WinPos", &placement, static_cast<int>(sizeof placement));
    if (direction == SettingsFile::Read) frame.ApplyPlacement();
    ExchangeColumnSettings(file);
    if (engine) engine->ReadServerOverrides(file);
}

void MainWindow::ExchangeColumnSettings(SettingsFile& file) {
    if (!file.Reading()) addressList.FillColumnLayout();
    const bool read =
        file.ExchangeBinary("Columns", &addressList.columnLayout, static_cast<int>(sizeof addressList.columnLayout));
    file.ExchangeInteger("Sort", &addressList.persistedSort, 0);
    if (file.Reading() && read) addressList.ApplyColumnLayout(addressList.columnLayout);
}
