#pragma once
// A main window created in this process as the program creates it, driven
// through commands, messages and its child controls. What only the window's
// own state can give goes through the functions at the end: they are
// the one place that follows the window's interface.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "shell/command_line.h"

class AddressList;
class MainWindow;

struct MainWindowTest : ::testing::Test {
    CommandLine commandLine;
    MainWindow* window = nullptr;
    HWND hwnd = nullptr;
    HWND list = nullptr;     // the result list view
    HWND status = nullptr;   // the status bar
    HWND toolbar = nullptr;
    HWND pane = nullptr;     // the answer pane (null without a rich edit)

    // Each test starts without a settings file.
    void SetUp() override { DeleteFileA(SettingsPath().c_str()); }
    void TearDown() override { Close(); }
    static std::string SettingsPath();
    // A settings file of these [General] lines.
    static void WriteSettings(const std::string& general);

    void Open(const char* args = "/nodlgstart");
    void Close();
    void Command(int id) { SendMessageA(hwnd, WM_COMMAND, id, 0); }
    bool MenuEnabled(int id) { return !(GetMenuState(GetMenu(hwnd), id, MF_BYCOMMAND) & MF_GRAYED); }
    bool MenuChecked(int id) { return (GetMenuState(GetMenu(hwnd), id, MF_BYCOMMAND) & MF_CHECKED) != 0; }
    bool ButtonEnabled(int id) { return SendMessageA(toolbar, TB_ISBUTTONENABLED, id, 0) != 0; }
    std::string Cell(int row, int column);
    std::vector<std::string> Column(int column);
    int Rows();
    void Select(std::initializer_list<int> rows);
    int SelectedRow();
    // A click on a column header, as the list reports it.
    void ClickHeader(int column);
    // Rows for these addresses, as a new list shows them, without a lookup.
    void AddRows(std::initializer_list<const char*> addresses);
};

// The window's own state, for what no message reaches.
MainWindow* CreateMainWindow(CommandLine* commandLine);  // created, not shown; null on failure
HWND WindowOf(MainWindow& window);
AddressList& Addresses(MainWindow& window);
void SetAddressText(MainWindow& window, const char* text);  // what a run or reload reads
HMENU ContextMenu(MainWindow& window);
HWND FindDialog();  // the open Find dialog, null when closed
