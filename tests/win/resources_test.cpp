// The compiled resources read back the way the program reads them: texts in
// UTF-16 and, through the "A" functions, in the Chinese ANSI code page; menus,
// accelerators and dialog templates item by item; pictures by size and
// background.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "resource_ids.h"
#include "framework/app.h"

namespace {

std::wstring Wide(const char* utf8) {
    const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, nullptr, 0);
    std::wstring out(n > 0 ? n - 1 : 0, L'\0');
    if (n > 1) MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, &out[0], n);
    return out;
}

// The bytes that an "A" function gives for the text under code page 936.
std::string Gbk(const std::wstring& text) {
    BOOL lossy = FALSE;
    const int n = WideCharToMultiByte(936, 0, text.c_str(), -1, nullptr, 0, nullptr, &lossy);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(936, 0, text.c_str(), -1, &out[0], n, nullptr, nullptr);
    EXPECT_FALSE(lossy) << "not representable in code page 936";
    return out;
}

// Readable form of a text for failure messages, whatever the console does.
std::string Show(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        char buffer[12];
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            wsprintfA(buffer, "\\u%04X", static_cast<unsigned>(c));
            out += buffer;
        }
    }
    return out;
}

bool AnsiIs936() {
    return GetACP() == 936;
}

// A dialog created with the "A" function holds its texts in the ANSI code
// page, as the program sees them: under 936 exactly, elsewhere with "?" for
// what that code page lacks.
std::wstring ThroughAnsi(const std::wstring& text) {
    const int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string ansi(n > 0 ? n : 1, '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &ansi[0], n, nullptr, nullptr);
    wchar_t back[1024] = {};
    MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, back, 1024);
    return back;
}

struct StringEntry {
    UINT id;
    const char* text;  // UTF-8
};

const StringEntry kStrings[] = {
    {IDS_ITEM_COUNT, "共 %d 项"},
    {IDS_SELECTED_COUNT, ", 已选定 %d 个"},
    {IDS_CREATED_BY, "创建本报告的应用程序是"},
    {IDS_SAVE_ITEMS_TITLE, "选择一个文件名存盘"},
    {IDS_REPORT_TITLE, "IP 地址报告"},
    {IDS_ALLOCATED, "确定"},
    {IDS_NOT_ALLOCATED, "不确定"},
    {IDS_SAVE_WHOIS_TITLE, "为保存选择的WHOIS反应选择一个文件名"},
    {IDS_PROGRESS, "重新找回 Whois 数据... %d"},
    {IDS_FILTER_TEXT, "文本文件"},
    {IDS_FILTER_TAB_DELIMITED, "选项被限定的文本文件"},
    {IDS_FILTER_TABULAR, "空格分隔的表格化文本文件"},
    {IDS_FILTER_HTML_HORIZONTAL, "HTML 文件 - 横向排列"},
    {IDS_FILTER_HTML_VERTICAL, "HTML 文件 - 纵向排列"},
    {IDS_FILTER_XML, "XML 文件"},
    {IDS_STATUS_WAITING, "等待中..."},
    {IDS_STATUS_RETRIEVING, "重新找回数据..."},
    {IDS_STATUS_SUCCEEDED, "成功"},
    {IDS_STATUS_FAILED, "失败"},
    {IDS_STATUS_PAUSED, "暂停"},
    {IDS_REGISTRY_ARIN, "ARIN"},
    {IDS_REGISTRY_RIPE, "RIPE NCC"},
    {IDS_REGISTRY_APNIC, "APNIC"},
    {IDS_REGISTRY_LACNIC, "LACNIC"},
    {IDS_REGISTRY_AFRINIC, "AfriNIC"},
    {IDS_WHOIS_FILTER_TEXT, "文本文件"},
    {IDS_WHOIS_FILTER_ALL, "所有文件"},
    {IDS_COLUMN_ORDER, "顺序"},
    {IDS_COLUMN_IP, "IP 地址"},
    {IDS_COLUMN_COUNTRY, "国家"},
    {IDS_COLUMN_OWNER_NAME, "所有者名称"},
    {IDS_COLUMN_ADDRESS, "地址"},
    {IDS_COLUMN_EMAIL, "邮件"},
    {IDS_COLUMN_ABUSE_EMAIL, "电子邮件"},
    {IDS_COLUMN_PHONE, "电话"},
    {IDS_COLUMN_FAX, "传真"},
    {IDS_COLUMN_FROM_IP, "来自 IP"},
    {IDS_COLUMN_TO_IP, "到 IP"},
    {IDS_COLUMN_STATUS, "状态"},
    {IDS_COLUMN_WHOIS_SOURCE, "Whois 来源"},
    {IDS_COLUMN_NETWORK_NAME, "网络名称"},
    {IDS_COLUMN_CONTACT_NAME, "联系名称"},
    {IDS_COLUMN_ALLOCATED, "分配"},
    {IDS_COLUMN_HOST_NAME, "主机名"},
    {IDS_COLUMN_RESOLVED_NAME, "解析名称"},
};

std::wstring LoadW(UINT id) {
    wchar_t buffer[4096];
    const int n = LoadStringW(AppInstance(), id, buffer, 4096);
    return std::wstring(buffer, n > 0 ? n : 0);
}

std::string LoadA(UINT id) {
    char buffer[4096];
    const int n = LoadStringA(AppInstance(), id, buffer, 4096);
    return std::string(buffer, n > 0 ? n : 0);
}

TEST(Resources, StringTableHoldsEveryTextInUtf16) {
    for (const StringEntry& s : kStrings) {
        EXPECT_EQ(Show(LoadW(s.id)), Show(Wide(s.text))) << "string " << s.id;
    }
    // Nothing else: the language template writes every text the table has.
    int present = 0;
    for (UINT id = 0; id <= 0xFFFF; ++id) {
        if (!LoadW(id).empty()) ++present;
    }
    EXPECT_EQ(present, static_cast<int>(sizeof kStrings / sizeof kStrings[0]));
}

TEST(Resources, StringTableReadsBackInCodePage936) {
    if (!AnsiIs936()) GTEST_SKIP() << "the ANSI code page is " << GetACP() << ", not 936";
    // One text by its known bytes, so that the conversion itself is checked.
    EXPECT_EQ(LoadA(IDS_ITEM_COUNT), "\xB9\xB2 %d \xCF\xEE");
    for (const StringEntry& s : kStrings) {
        EXPECT_EQ(LoadA(s.id), Gbk(Wide(s.text))) << "string " << s.id;
    }
}

// ---- Menus ----

struct MenuEntry {
    UINT id;           // 0 for a separator
    const char* text;  // with its "\t" accelerator part
};

struct PopupEntry {
    const char* title;
    std::vector<MenuEntry> items;
};

const MenuEntry kSeparator = {0, nullptr};

void ExpectMenuItem(HMENU menu, int pos, UINT id, const char* text, HMENU* sub, const std::string& where) {
    wchar_t buffer[256] = {};
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU;
    info.dwTypeData = buffer;
    info.cch = 256;
    ASSERT_TRUE(GetMenuItemInfoW(menu, pos, TRUE, &info)) << where;
    if (text == nullptr) {
        EXPECT_TRUE(info.fType & MFT_SEPARATOR) << where << ": a separator";
        return;
    }
    EXPECT_FALSE(info.fType & MFT_SEPARATOR) << where;
    EXPECT_EQ(Show(buffer), Show(Wide(text))) << where;
    if (AnsiIs936()) {
        char ansi[256] = {};
        GetMenuStringA(menu, pos, ansi, sizeof ansi, MF_BYPOSITION);
        EXPECT_EQ(std::string(ansi), Gbk(Wide(text))) << where << " (ANSI)";
    }
    if (sub) {
        *sub = info.hSubMenu;
    } else {
        EXPECT_EQ(info.hSubMenu, nullptr) << where;
        EXPECT_EQ(info.wID, id) << where;
    }
}

void ExpectMenu(UINT menuId, const std::vector<PopupEntry>& popups) {
    HMENU menu = LoadMenuW(AppInstance(), MAKEINTRESOURCEW(menuId));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), static_cast<int>(popups.size()));
    for (size_t p = 0; p < popups.size(); ++p) {
        const std::string where = "menu " + std::to_string(menuId) + " popup " + std::to_string(p);
        HMENU sub = nullptr;
        ExpectMenuItem(menu, static_cast<int>(p), 0, popups[p].title, &sub, where);
        ASSERT_NE(sub, nullptr) << where;
        const std::vector<MenuEntry>& items = popups[p].items;
        ASSERT_EQ(GetMenuItemCount(sub), static_cast<int>(items.size())) << where;
        for (size_t i = 0; i < items.size(); ++i) {
            ExpectMenuItem(sub, static_cast<int>(i), items[i].id, items[i].text, nullptr,
                           where + " item " + std::to_string(i));
        }
    }
    DestroyMenu(menu);
}

TEST(Resources, MenuBarItemByItem) {
    ExpectMenu(IDR_MAINMENU, {
                                 {"文件(&F)",
                                  {{IDM_SELECT_IP, "选择 IP 地址\tF9"},
                                   {IDM_STOP, "停止重新找回数据"},
                                   kSeparator,
                                   {IDM_SAVE_SELECTED, "保存选择项\tCtrl+S"},
                                   {IDM_SAVE_WHOIS, "保存 Whois 记录\tCtrl+W"},
                                   {IDM_PROPERTIES, "属性\tAlt+Enter"},
                                   kSeparator,
                                   {IDM_EXIT, "退出"}}},
                                 {"编辑",
                                  {{IDM_FIND, "查找\tCtrl+F"},
                                   {IDM_COPY, "复制(&C)\tCtrl+C"},
                                   kSeparator,
                                   {IDM_SELECT_ALL, "选择所有\tCtrl+A"},
                                   {IDM_DESELECT_ALL, "取消全选\tCtrl+D"}}},
                                 {"视图(&V)",
                                  {{IDM_SHOW_GRID, "显示网格线"},
                                   {IDM_SHOW_TOOLTIPS, "显示工具提示"},
                                   kSeparator,
                                   {IDM_HTML_VERTICAL, "HTML 报告 (竖排)"},
                                   {IDM_HTML_HORIZONTAL, "HTML 报告 (横排)"},
                                   kSeparator,
                                   {IDM_CHOOSE_COLUMNS, "选择分栏"},
                                   {IDM_AUTOSIZE_COLUMNS, "自动分栏大小"}}},
                                 {"帮助(&H)", {{IDM_ABOUT, "关于(&A)..."}, {IDM_SHOW_MY_IP, "显示我的现有 IP 地址"}}},
                             });
}

TEST(Resources, ContextMenusItemByItem) {
    ExpectMenu(IDR_CONTEXTMENU, {
                                    {"",
                                     {{IDM_HTML_VERTICAL, "HTML 报告 (竖排)"},
                                      {IDM_HTML_HORIZONTAL, "HTML 报告 (横排)"},
                                      kSeparator,
                                      {IDM_SAVE_SELECTED, "保存选择项\tCtrl+S"},
                                      {IDM_COPY, "复制选择项\tCtrl+C"},
                                      {IDM_SAVE_WHOIS, "保存 Whois 记录\tCtrl+W"},
                                      kSeparator,
                                      {IDM_CHOOSE_COLUMNS, "选择分栏"},
                                      {IDM_AUTOSIZE_COLUMNS, "自动分栏大小"},
                                      kSeparator,
                                      {IDM_PROPERTIES, "属性\tAlt+Enter"}}},
                                    {"",
                                     {{IDM_COPY, "复制(&C)\tCtrl+C"},
                                      {IDM_SELECT_ALL, "选择所有\tCtrl+A"},
                                      {IDM_DESELECT_ALL, "取消全选\tCtrl+D"},
                                      {IDM_SAVE_WHOIS, "保存 Whois 记录\tCtrl+W"}}},
                                });
}

TEST(Resources, AcceleratorTable) {
    HACCEL table = LoadAcceleratorsW(AppInstance(), MAKEINTRESOURCEW(IDR_ACCEL));
    ASSERT_NE(table, nullptr);
    const ACCEL expected[] = {
        {FVIRTKEY | FCONTROL, 'A', IDM_SELECT_ALL},
        {FVIRTKEY | FCONTROL, 'C', IDM_COPY},
        {FVIRTKEY | FCONTROL, 'D', IDM_DESELECT_ALL},
        {FVIRTKEY | FCONTROL, 'F', IDM_FIND},
        {FVIRTKEY | FCONTROL, 'S', IDM_SAVE_SELECTED},
        {FVIRTKEY | FCONTROL, VK_ADD, IDM_AUTOSIZE_COLUMNS},
        {FVIRTKEY, VK_F9, IDM_SELECT_IP},
        {FVIRTKEY | FALT, VK_RETURN, IDM_PROPERTIES},
        {FVIRTKEY | FCONTROL, 'W', IDM_SAVE_WHOIS},
    };
    const int count = sizeof expected / sizeof expected[0];
    ASSERT_EQ(CopyAcceleratorTableW(table, nullptr, 0), count);
    ACCEL actual[count];
    CopyAcceleratorTableW(table, actual, count);
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(actual[i].fVirt, expected[i].fVirt) << "entry " << i;
        EXPECT_EQ(actual[i].key, expected[i].key) << "entry " << i;
        EXPECT_EQ(actual[i].cmd, expected[i].cmd) << "entry " << i;
    }
    DestroyAcceleratorTable(table);
}

// ---- Dialog templates ----

enum class Kind { Static, Icon, Line, Edit, Button, ListView };

struct ControlEntry {
    int id;
    Kind kind;
    const char* text;  // UTF-8; not checked for the icon
    int x, y, cx, cy;  // dialog units
    DWORD style;       // every bit must be set; WS_VISIBLE must match exactly
};

const wchar_t* ClassOf(Kind kind) {
    switch (kind) {
        case Kind::Static:
        case Kind::Icon:
        case Kind::Line:
            return L"Static";
        case Kind::Edit:
            return L"Edit";
        case Kind::Button:
            return L"Button";
        case Kind::ListView:
            return L"SysListView32";
    }
    return L"";
}

INT_PTR CALLBACK InertDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

// Whether the raw template is the extended kind (it starts with version 1
// and the signature 0xFFFF).
bool IsExtendedTemplate(UINT id) {
    HRSRC info = FindResourceW(AppInstance(), MAKEINTRESOURCEW(id), reinterpret_cast<LPCWSTR>(RT_DIALOG));
    if (info == nullptr) return false;
    const WORD* words = static_cast<const WORD*>(LockResource(LoadResource(AppInstance(), info)));
    return words != nullptr && words[0] == 1 && words[1] == 0xFFFF;
}

// The pixel rectangle that the dialog manager makes of a rectangle in
// dialog units: each value converted on its own, as the controls are placed.
RECT Pixels(HWND dialog, int x, int y, int cx, int cy) {
    RECT r = {x, y, cx, cy};
    MapDialogRect(dialog, &r);
    return r;
}

// Dialog id, template kind, caption, size in dialog units and the controls
// in tab order.
void ExpectDialog(UINT id, bool extended, const char* caption, int cx, int cy,
                  const std::vector<ControlEntry>& controls) {
    SCOPED_TRACE("dialog " + std::to_string(id));
    EXPECT_EQ(IsExtendedTemplate(id), extended);
    HWND dialog = CreateDialogParamA(AppInstance(), MAKEINTRESOURCEA(id), nullptr, InertDialogProc, 0);
    ASSERT_NE(dialog, nullptr) << "error " << GetLastError();
    EXPECT_FALSE(IsWindowVisible(dialog));

    const LONG style = GetWindowLongW(dialog, GWL_STYLE);
    const LONG frame = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
    EXPECT_EQ(style & frame, frame);

    wchar_t title[256] = {};
    GetWindowTextW(dialog, title, 256);
    EXPECT_EQ(Show(title), Show(ThroughAnsi(Wide(caption))));

    LOGFONTW font = {};
    ASSERT_TRUE(GetObjectW(reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0)), sizeof font, &font));
    EXPECT_EQ(Show(font.lfFaceName), Show(L"\u5B8B\u4F53"));  // 宋体
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(font.lfHeight, -MulDiv(9, GetDeviceCaps(screen, LOGPIXELSY), 72));
    ReleaseDC(nullptr, screen);

    RECT client;
    GetClientRect(dialog, &client);
    const RECT size = Pixels(dialog, 0, 0, cx, cy);
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);

    std::vector<int> order;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        order.push_back(GetDlgCtrlID(child));
    }
    std::vector<int> expectedOrder;
    for (const ControlEntry& c : controls) expectedOrder.push_back(c.id);
    EXPECT_EQ(order, expectedOrder);

    HWND child = GetWindow(dialog, GW_CHILD);
    for (const ControlEntry& c : controls) {
        SCOPED_TRACE("control " + std::to_string(c.id));
        ASSERT_NE(child, nullptr);
        ASSERT_EQ(GetDlgCtrlID(child), c.id);

        wchar_t className[64] = {};
        GetClassNameW(child, className, 64);
        EXPECT_EQ(lstrcmpiW(className, ClassOf(c.kind)), 0) << Show(className);

        // Edits and list views trade a template's WS_BORDER for the sunken
        // client edge when they are created.
        const DWORD actual = static_cast<DWORD>(GetWindowLongW(child, GWL_STYLE));
        const DWORD exStyle = static_cast<DWORD>(GetWindowLongW(child, GWL_EXSTYLE));
        const DWORD bits = c.style & ~WS_BORDER;
        EXPECT_EQ(actual & bits, bits) << std::hex << actual;
        if (c.style & WS_BORDER) {
            EXPECT_TRUE((actual & WS_BORDER) || (exStyle & WS_EX_CLIENTEDGE)) << "a border";
        }
        EXPECT_EQ(actual & WS_VISIBLE, c.style & WS_VISIBLE);
        if (c.kind == Kind::Button) {
            EXPECT_EQ(actual & BS_TYPEMASK, c.style & BS_TYPEMASK);
        }
        if (c.kind == Kind::Static || c.kind == Kind::Icon || c.kind == Kind::Line) {
            EXPECT_EQ(actual & SS_TYPEMASK, c.style & SS_TYPEMASK);
        }

        if (c.kind != Kind::Icon) {
            wchar_t text[512] = {};
            GetWindowTextW(child, text, 512);
            EXPECT_EQ(Show(text), Show(ThroughAnsi(Wide(c.text))));
            if (AnsiIs936()) {
                char ansi[512] = {};
                GetWindowTextA(child, ansi, sizeof ansi);
                EXPECT_EQ(std::string(ansi), Gbk(Wide(c.text))) << "(ANSI)";
            }
        }

        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        const RECT want = Pixels(dialog, c.x, c.y, c.cx, c.cy);
        EXPECT_EQ(r.left, want.left);
        EXPECT_EQ(r.top, want.top);
        // An icon static takes the size of its icon and an etched line its
        // own thickness, whatever the template says.
        if (c.kind != Kind::Icon && c.kind != Kind::Line) {
            EXPECT_EQ(r.right - r.left, want.right);
            EXPECT_EQ(r.bottom - r.top, want.bottom);
        }
        child = GetWindow(child, GW_HWNDNEXT);
    }
    DestroyWindow(dialog);
}

const DWORD kChild = WS_CHILD | WS_VISIBLE;
const DWORD kText = kChild | SS_LEFT;
const DWORD kCheck = kChild | WS_TABSTOP | BS_AUTOCHECKBOX;
const DWORD kPush = kChild | WS_TABSTOP | BS_PUSHBUTTON;
const DWORD kDefault = kChild | WS_TABSTOP | BS_DEFPUSHBUTTON;
const DWORD kNumber = kChild | WS_BORDER | WS_TABSTOP | ES_NUMBER | ES_AUTOHSCROLL;

TEST(ResourcesDialog, Properties105) {
    ExpectDialog(IDD_PROPERTIES, true, "IP 地址信息", 365, 226,
                 {
                     {IDOK, Kind::Button, "确定", 308, 205, 50, 14, kDefault},
                     {IDC_PROP_LABEL, Kind::Static, "", 7, 8, 60, 10, WS_CHILD | WS_GROUP | SS_LEFT},
                     {IDC_PROP_FIELD, Kind::Edit, "", 71, 7, 287, 12,
                      WS_CHILD | WS_BORDER | WS_TABSTOP | ES_READONLY | ES_AUTOHSCROLL | ES_MULTILINE},
                 });
}

TEST(ResourcesDialog, CrashReport107) {
    ExpectDialog(
        IDD_CRASH_REPORT, false, "异常 !", 270, 125,
        {
            {IDC_CRASH_HEADING, Kind::Static, "生成了以下应用错误：", 7, 6, 255, 9, kText},
            {IDC_CRASH_TEXT, Kind::Edit, "", 7, 18, 255, 63,
             kChild | ES_MULTILINE | ES_READONLY | WS_VSCROLL | ES_AUTOVSCROLL | WS_BORDER | WS_TABSTOP},
            {IDC_CRASH_ADVICE, Kind::Static,
             "如果这个问题继续存在，请复制上面异常信息到剪贴板，并且将它反馈给软件的作者。", 7, 82, 255, 18, kText},
            {IDC_CRASH_COPY, Kind::Button, "复制异常信息", 7, 104, 80, 14, kDefault},
            {IDC_CRASH_CONTINUE, Kind::Button, "继续", 95, 104, 80, 14, kPush},
            {IDC_CRASH_TERMINATE, Kind::Button, "终止应用", 182, 104, 80, 14, kPush},
        });
}

TEST(ResourcesDialog, Address109) {
    ExpectDialog(
        IDD_ADDRESS, true, "选择 IP 地址", 350, 278,
        {
            {IDC_ADDR_HINT, Kind::Static,
             "键入逗号、空格或者CRLF将多个IP地址分离成唯一IP地址。 也可以从您的电子邮件标题中，自动地提取IP地址。 ", 7,
             7, 336, 34, kText},
            {IDC_ADDR_TEXT, Kind::Edit, "", 7, 45, 336, 119,
             kChild | ES_MULTILINE | ES_WANTRETURN | ES_AUTOHSCROLL | WS_VSCROLL | WS_BORDER | WS_TABSTOP},
            {IDC_ADDR_FIND_SERVER, Kind::Button, "根据IP地址自动地使用正确的服务器 ", 7, 170, 246, 8, kCheck},
            {IDC_ADDR_RESOLVE, Kind::Button, "解析 IP 地址", 7, 186, 246, 8, kCheck},
            {IDC_ADDR_HOST_TO_IP, Kind::Button, "转换主机名到 IP 地址", 7, 202, 246, 8, kCheck},
            {IDC_ADDR_LAST_ONLY, Kind::Button, "载入最后一个 IP 地址", 7, 218, 246, 8, kCheck},
            {IDC_ADDR_PAUSE, Kind::Button, "", 7, 234, 60, 8, kCheck},
            {IDC_ADDR_PAUSE_TIME, Kind::Edit, "", 69, 231, 38, 14, kNumber},
            {IDC_ADDR_SECONDS, Kind::Static, "秒", 114, 234, 38, 8, kText},
            {IDC_ADDR_AFTER, Kind::Static, "在重新找回后", 155, 234, 54, 8, kText},
            {IDC_ADDR_PAUSE_COUNT, Kind::Edit, "", 212, 231, 38, 14, kNumber},
            {IDC_ADDR_ADDRESSES, Kind::Static, "IP 地址", 255, 234, 54, 8, kText},
            {IDOK, Kind::Button, "确定", 107, 257, 55, 14, kDefault},
            {IDCANCEL, Kind::Button, "取消", 167, 257, 55, 14, kPush},
            {IDC_ADDR_CLEAR, Kind::Button, "清空(&C)", 227, 257, 55, 14, kPush},
            {IDC_ADDR_PASTE, Kind::Button, "粘贴", 287, 257, 55, 14, kPush},
        });
}

TEST(ResourcesDialog, About112) {
    ExpectDialog(IDD_ABOUT, true, "", 195, 78,
                 {
                     {IDOK, Kind::Button, "确定", 145, 57, 43, 14, kDefault},
                     {-1, Kind::Icon, nullptr, 14, 15, 21, 20, kChild | SS_ICON},
                     {IDC_ABOUT_PRODUCT, Kind::Static, "", 41, 15, 130, 16, kText},
                     {IDC_ABOUT_LINK, Kind::Static, "", 40, 34, 118, 8, kText},
                     {IDC_ABOUT_TRANSLATOR_LABEL, Kind::Static, "转换:", 7, 51, 45, 8, kText},
                     {IDC_ABOUT_TRANSLATOR, Kind::Static, "", 7, 61, 120, 8, kText},
                 });
}

TEST(ResourcesDialog, AboutLinksLetTheMouseThrough) {
    // The box finds the link under the mouse itself; a static that notified
    // would keep the mouse messages from it.
    HWND dialog = CreateDialogParamA(AppInstance(), MAKEINTRESOURCEA(IDD_ABOUT), nullptr, InertDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    for (int id : {IDC_ABOUT_LINK, IDC_ABOUT_TRANSLATOR}) {
        EXPECT_FALSE(GetWindowLongW(GetDlgItem(dialog, id), GWL_STYLE) & SS_NOTIFY) << id;
    }
    HWND icon = GetDlgItem(dialog, -1);
    ASSERT_NE(icon, nullptr);
    EXPECT_NE(SendMessageW(icon, STM_GETICON, 0, 0), 0);
    DestroyWindow(dialog);
}

TEST(ResourcesDialog, Columns1096) {
    ExpectDialog(
        IDD_COLUMNS, true, "分栏设置", 216, 215,
        {
            {IDC_COLUMNS_HINT, Kind::Static, "选择你想显示的栏目，使用上移和下移按钮来调整", 7, 7, 202, 18, kText},
            {IDC_COLUMNS_LIST, Kind::ListView, "", 7, 28, 150, 138,
             kChild | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL | LVS_SHOWSELALWAYS},
            {IDC_COLUMNS_UP, Kind::Button, "上移", 164, 28, 45, 14, kPush},
            {IDC_COLUMNS_DOWN, Kind::Button, "下移", 164, 46, 45, 14, kPush},
            {IDC_COLUMNS_SHOW, Kind::Button, "显示", 164, 70, 45, 14, kPush},
            {IDC_COLUMNS_HIDE, Kind::Button, "隐藏", 164, 88, 45, 14, kPush},
            {IDC_COLUMNS_DEFAULT, Kind::Button, "默认", 164, 112, 45, 14, kPush},
            {IDC_COLUMNS_WIDTH_LABEL, Kind::Static, "设置分栏宽度 (像素):", 7, 174, 92, 8, kText},
            {IDC_COLUMNS_WIDTH, Kind::Edit, "", 102, 172, 45, 12, kNumber},
            {IDOK, Kind::Button, "确定", 104, 195, 50, 14, kDefault},
            {IDCANCEL, Kind::Button, "取消", 159, 195, 50, 14, kPush},
            {IDC_COLUMNS_LINE, Kind::Line, "", 7, 190, 202, 1, kChild | SS_ETCHEDHORZ},
        });
}

// ---- Pictures and tables ----

struct BitmapFacts {
    int width, height;
    COLORREF corner;  // the pixel at the top left
};

BitmapFacts Facts(HBITMAP bitmap) {
    BitmapFacts facts = {0, 0, CLR_INVALID};
    BITMAP info = {};
    if (!GetObjectW(bitmap, sizeof info, &info)) return facts;
    facts.width = info.bmWidth;
    facts.height = info.bmHeight;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    facts.corner = GetPixel(dc, 0, 0);
    SelectObject(dc, old);
    DeleteDC(dc);
    return facts;
}

TEST(Resources, BitmapsHaveTheirSizesAndBackgrounds) {
    struct Expect {
        UINT id;
        int width, height;
        COLORREF corner;
    } const expected[] = {
        {IDB_TOOLBAR, 128, 16, RGB(192, 192, 192)},
        {IDB_ROW_ICONS, 48, 16, RGB(0, 128, 128)},  // the mask colour of the row icons
        {IDB_SORT_UP, 16, 16, RGB(192, 192, 192)},
        {IDB_SORT_DOWN, 16, 16, RGB(192, 192, 192)},
    };
    for (const Expect& e : expected) {
        HBITMAP bitmap = static_cast<HBITMAP>(
            LoadImageW(AppInstance(), MAKEINTRESOURCEW(e.id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ASSERT_NE(bitmap, nullptr) << "bitmap " << e.id;
        const BitmapFacts facts = Facts(bitmap);
        EXPECT_EQ(facts.width, e.width) << "bitmap " << e.id;
        EXPECT_EQ(facts.height, e.height) << "bitmap " << e.id;
        EXPECT_EQ(facts.corner, e.corner) << "bitmap " << e.id;
        DeleteObject(bitmap);
    }
}

TEST(Resources, ToolbarBackgroundBecomesTheButtonFace) {
    // Loaded as the main window loads it: the 3-D colour mapping works on
    // palette entries, so the strip must be a palette bitmap.
    HBITMAP bitmap = static_cast<HBITMAP>(LoadImageW(AppInstance(), MAKEINTRESOURCEW(IDB_TOOLBAR), IMAGE_BITMAP, 0, 0,
                                                     LR_LOADTRANSPARENT | LR_LOADMAP3DCOLORS | LR_CREATEDIBSECTION));
    ASSERT_NE(bitmap, nullptr);
    DIBSECTION dib = {};
    ASSERT_EQ(GetObjectW(bitmap, sizeof dib, &dib), static_cast<int>(sizeof dib));
    EXPECT_LE(dib.dsBmih.biBitCount, 8);
    EXPECT_EQ(Facts(bitmap).corner, GetSysColor(COLOR_3DFACE));
    DeleteObject(bitmap);
}

TEST(Resources, IconHasBothSizes) {
    HRSRC group = FindResourceW(AppInstance(), MAKEINTRESOURCEW(IDI_MAIN), reinterpret_cast<LPCWSTR>(RT_GROUP_ICON));
    ASSERT_NE(group, nullptr);
    // The group directory: reserved, type, count, then 14-byte entries that
    // start with width and height.
    const BYTE* dir = static_cast<const BYTE*>(LockResource(LoadResource(AppInstance(), group)));
    ASSERT_NE(dir, nullptr);
    WORD count;
    std::memcpy(&count, dir + 4, 2);
    std::vector<int> widths;
    for (int i = 0; i < count; ++i) {
        const BYTE* entry = dir + 6 + 14 * i;
        EXPECT_EQ(entry[0], entry[1]);
        widths.push_back(entry[0]);
    }
    EXPECT_EQ(widths, (std::vector<int>{32, 16}));

    for (int size : {16, 32}) {
        HICON icon =
            static_cast<HICON>(LoadImageW(AppInstance(), MAKEINTRESOURCEW(IDI_MAIN), IMAGE_ICON, size, size, 0));
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bm = {};
        GetObjectW(info.hbmColor, sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

TEST(Resources, CursorsHaveTheirHotSpots) {
    struct Expect {
        UINT id;
        DWORD x, y;
    } const expected[] = {
        {IDCUR_SPLIT, 15, 15},  // the middle of the gap between the bars
        {IDCUR_HAND, 5, 0},     // the tip of the finger
    };
    for (const Expect& e : expected) {
        HCURSOR cursor = static_cast<HCURSOR>(
            LoadImageW(AppInstance(), MAKEINTRESOURCEW(e.id), IMAGE_CURSOR, 32, 32, LR_DEFAULTCOLOR));
        ASSERT_NE(cursor, nullptr) << "cursor " << e.id;
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(cursor, &info));
        EXPECT_FALSE(info.fIcon);
        EXPECT_EQ(info.xHotspot, e.x) << "cursor " << e.id;
        EXPECT_EQ(info.yHotspot, e.y) << "cursor " << e.id;
        if (info.hbmColor) DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyCursor(cursor);
    }
}

TEST(Resources, BinTablesArePresent) {
    for (UINT id : {IDR_BIN_COUNTRY, IDR_BIN_STATE, IDR_BIN_FIRST_OCTET}) {
        HRSRC info = FindResourceA(AppInstance(), MAKEINTRESOURCEA(id), "BIN");
        ASSERT_NE(info, nullptr) << "table " << id;
        EXPECT_GT(SizeofResource(AppInstance(), info), 0u) << "table " << id;
    }
}

TEST(Resources, VersionIsOnePointZero) {
    HRSRC info = FindResourceW(AppInstance(), MAKEINTRESOURCEW(VS_VERSION_INFO), reinterpret_cast<LPCWSTR>(RT_VERSION));
    ASSERT_NE(info, nullptr);
    const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(AppInstance(), info)));
    const DWORD size = SizeofResource(AppInstance(), info);
    const DWORD signature = 0xFEEF04BD;
    const VS_FIXEDFILEINFO* fixed = nullptr;
    for (DWORD at = 0; at + sizeof(VS_FIXEDFILEINFO) <= size; at += 4) {
        if (std::memcmp(data + at, &signature, 4) == 0) {
            fixed = reinterpret_cast<const VS_FIXEDFILEINFO*>(data + at);
            break;
        }
    }
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    // The product name is stored as UTF-16 inside the block.
    const std::wstring name = L"Ownerlens";
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string nameBytes(reinterpret_cast<const char*>(name.c_str()), name.size() * sizeof(wchar_t));
    EXPECT_NE(bytes.find(nameBytes), std::string::npos);
}

}  // namespace
