#pragma once
// A main window created in this process as the program creates it, driven
// through commands, messages and its child controls. What only the window's
// own state gives goes through the functions at the end: the one place that
// follows the window's interface.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "app/command_line.h"

class AddressList;
class MainWindow;

struct MainWindowTest : ::testing::Test {
    CommandLine commandLine;
    MainWindow* window = nullptr;
    HWND hwnd = nullptr, list = nullptr, status = nullptr, toolbar = nullptr;
    HWND pane = nullptr;  // the answer pane, null without a rich edit

    void SetUp() override { DeleteFileA(SettingsPath().c_str()); }  // each test starts without settings
    void TearDown() override { Close(); }
    static std::string SettingsPath();
    static void WriteSettings(const std::string& generalLines);
    void Open();
    void Close();
    void Command(int id) { SendMessageA(hwnd, WM_COMMAND, id, 0); }
    bool MenuEnabled(int id) { return !(GetMenuState(GetMenu(hwnd), id, MF_BYCOMMAND) & MF_GRAYED); }
    bool MenuChecked(int id) { return (GetMenuState(GetMenu(hwnd), id, MF_BYCOMMAND) & MF_CHECKED) != 0; }
    bool ButtonEnabled(int id) { return SendMessageA(toolbar, TB_ISBUTTONENABLED, id, 0) != 0; }
    int Rows() { return ListView_GetItemCount(list); }
    int SelectedRow() { return ListView_GetNextItem(list, -1, LVNI_SELECTED); }
    std::string Cell(int row, int column);
    std::vector<std::string> Column(int column);
    void Select(std::initializer_list<int> rows);
    void ClickHeader(int column);  // as the list reports it
    // Rows for these addresses, as a new list shows them, without a lookup.
    void AddRows(std::initializer_list<const char*> addresses);
};

MainWindow* CreateMainWindow(CommandLine* commandLine);  // created, not shown; null on failure
HWND WindowOf(MainWindow& window);
AddressList& Addresses(MainWindow& window);
void SetAddressText(MainWindow& window, const char* text);  // what a run or a reload reads
HMENU ContextMenu(MainWindow& window);
HWND FindDialog();  // the open Find dialog, null when closed
