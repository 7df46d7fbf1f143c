// Saving, copying and the HTML report commands of the main window, on real
// controls, the real save dialog and the clipboard, with exact bytes.
#include <windows.h>
#include <dlgs.h>

#include <cstdio>
#include <utility>

#include "framework/ui_helpers.h"
#include "reports/report_file_win.h"
#include "resources/resource_ids.h"
#include "win_test_support.h"

namespace {

// A file beside the program that does not exist yet (else the save dialog would ask).
std::string NewFile(const char* name) {
    DeleteFileA((ProgramFolder() + name).c_str());
    return ProgramFolder() + name;
}

std::string g_opened;
void RecordOpen(HWND, const char* path) {
    g_opened = path;
}

struct ReportsTest : MainWindowTest {
    // The save dialog's title, file types and selected type (0-based) as shown.
    std::string title;
    int types = 0, shownType = -1;

    // Opens the window with three answered items in rows 0 to 2.
    void Open() {
        if (ReadFileBytes(SettingsPath()).empty()) WriteSettings("ResolveIPAddr=0\r\n");
        MainWindowTest::Open();
        SetShellOpener(RecordOpen);
        AddRows({"198.51.100.7", "203.0.113.9", "192.0.2.55"});
        for (int i = 0; i < 3; ++i) {
            LookupItem& item = *window->Addresses().At(i);
            item.status = i == 1 ? LookupStatus::Failed : LookupStatus::Succeeded;
            std::snprintf(item.record.ownerName, sizeof item.record.ownerName, "Owner %d & Co", i + 1);
            item.rawText->SetText(("answer " + std::to_string(i + 1) + "\nline two").c_str());
        }
        window->Addresses().Rebuild(true);
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        SetShellOpener(nullptr);
    }
    // Runs a command that opens the save dialog and answers it: a type
    // (1-based, 0 keeps the shown one) and a path, or cancel for no path.
    void Save(int command, const std::string& path, int type = 0) {
        DialogDriver driver([&](HWND d) {
            title = WindowText(d);
            HWND box = GetDlgItem(d, cmb1);
            shownType = static_cast<int>(SendMessageA(box, CB_GETCURSEL, 0, 0));
            types = static_cast<int>(SendMessageA(box, CB_GETCOUNT, 0, 0));
            if (type > 0) {
                SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(type - 1), 0);
                // As a user's choice ends: Wine's dialog acts on CBN_SELENDOK, Windows' on either.
                SendMessageA(d, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELCHANGE), reinterpret_cast<LPARAM>(box));
                SendMessageA(d, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELENDOK), reinterpret_cast<LPARAM>(box));
            }
            SetWindowTextA(GetDlgItem(d, edt1) ? GetDlgItem(d, edt1) : GetDlgItem(d, cmb13), path.c_str());
            PostMessageA(d, WM_COMMAND, path.empty() ? IDCANCEL : IDOK, 0);
        });
        Command(command);
        EXPECT_EQ(driver.Count(), 1);
    }
};

}  // namespace

TEST_F(ReportsTest, SaveWritesTheChosenFormatAndRemembersItAndTheAnswersInReverse) {
    Open();
    Select({0, 2});
    const std::string html = NewFile("saved.txt");
    Save(IDM_SAVE_SELECTED, html, 4);  // horizontal HTML, into a .txt file
    EXPECT_EQ(title, "\xD1\xA1\xD4\xF1\xD2\xBB\xB8\xF6\xCE\xC4\xBC\xFE\xC3\xFB\xB4\xE6\xC5\xCC");  // 选择一个文件名存盘
    EXPECT_EQ(std::make_pair(types, shownType), std::make_pair(6, 0));
    const std::string written = ReadFileBytes(html);
    EXPECT_EQ(written.rfind("<!DOCTYPE HTML PUBLIC", 0), 0u) << written.substr(0, 80);
    EXPECT_NE(written.find("<td bgcolor=#FFF6F0 nowrap>Owner 1 &amp; Co"), std::string::npos);
    EXPECT_NE(written.find("Owner 3 &amp; Co"), std::string::npos);
    EXPECT_EQ(written.find("Owner 2"), std::string::npos);  // not selected
    // The choice survives a restart through the settings file; a cancel keeps it.
    Close();
    Open();
    Select({1});
    Save(IDM_SAVE_SELECTED, "");
    EXPECT_EQ(shownType, 3);
    // The XML type into a file named .htm writes XML (its escaping is the core's).
    const std::string xml = NewFile("saved.htm");
    Save(IDM_SAVE_SELECTED, xml, 6);
    const std::string xmlText = ReadFileBytes(xml);
    EXPECT_EQ(xmlText.rfind("<?xml version=\"1.0\"  encoding=\"GBK\" ?>\r\n", 0), 0u);
    EXPECT_NE(xmlText.find("Owner 2 &amp; Co"), std::string::npos);
    // The answers, in reverse order.
    Select({0, 1, 2});
    const std::string records = NewFile("records.txt");
    Save(IDM_SAVE_WHOIS, records);
    EXPECT_EQ(std::make_pair(types, shownType), std::make_pair(2, 0));
    const std::string stars = std::string(80, '*') + "\r\n";
    EXPECT_EQ(ReadFileBytes(records), "answer 3\r\nline two\r\n\r\n" + stars + "answer 2\r\nline two\r\n\r\n" + stars +
                                          "answer 1\r\nline two\r\n\r\n" + stars);
}

TEST_F(ReportsTest, CopyPutsTabbedRowsInViewOrderOnTheClipboard) {
    Open();
    ShowWindow(hwnd, SW_SHOW);
    ClickHeader(5);
    ClickHeader(5);  // by owner name, descending: rows show items 3, 2, 1
    Select({0, 2});
    SetFocus(list);
    SetClipboardText("before");
    Command(IDM_COPY);
    std::string rows;  // every column, each cell closed by a tab
    for (int row : {0, 2}) {
        for (int column = 0; column < 18; ++column) rows += Cell(row, column) + "\t";
        rows += "\r\n";
    }
    EXPECT_EQ(ClipboardText(), rows);
    EXPECT_EQ(rows.rfind("3\t192.0.2.55\t", 0), 0u);
}

TEST_F(ReportsTest, HtmlReportsAreOpenedFromBesideTheProgramOrTheTemporaryFolderAndOnlyTheirOwnRemoved) {
    Open();
    Command(IDM_HTML_VERTICAL);
    EXPECT_EQ(g_opened, ProgramFolder() + "report.html");
    const std::string vertical = ReadFileBytes(g_opened);
    EXPECT_EQ(vertical.rfind("<!DOCTYPE HTML PUBLIC", 0), 0u);
    for (const char* owner : {"Owner 1", "Owner 2", "Owner 3"}) {  // every row, selected or not
        EXPECT_NE(vertical.find(owner), std::string::npos) << owner;
    }
    Command(IDM_HTML_HORIZONTAL);
    EXPECT_NE(ReadFileBytes(g_opened).find("<table border=\"1\" cellpadding=\"5\"><tr bgcolor=\"E0E0E0\">\r\n"),
              std::string::npos);
    Close();
    EXPECT_EQ(GetFileAttributesA(g_opened.c_str()), INVALID_FILE_ATTRIBUTES);
    // A report.html this run did not write stays, beside the program and in the temporary folder alike.
    const std::string beside = g_opened, temp = ProgramFolder() + "temp\\";
    CreateDirectoryA(temp.c_str(), nullptr);
    for (const std::string& path : {beside, temp + "report.html"}) WriteFileBytes(path, "mine");
    SetEnvironmentVariableA("TMP", temp.c_str());
    Open();
    Close();  // without the view commands
    Open();
    Command(IDM_HTML_HORIZONTAL);
    EXPECT_EQ(g_opened, temp + "report1.html");
    Close();
    EXPECT_EQ(GetFileAttributesA(g_opened.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ReadFileBytes(beside) + ReadFileBytes(temp + "report.html"), "minemine");
    // With the temporary folder unusable too, the system's error shows and nothing opens.
    SetEnvironmentVariableA("TMP", (temp + "missing\\").c_str());
    Open();
    g_opened.clear();
    std::string text;
    DialogDriver driver(
        [&](HWND box) { text = WindowText(box) + "|" + ItemText(box, 0xFFFF), ClickButton(box, IDOK); });
    Command(IDM_HTML_HORIZONTAL);
    SetEnvironmentVariableA("TMP", nullptr);  // TEMP names the usual folder
    for (const std::string& path : {beside, temp + "report.html", temp})
        DeleteFileA(path.c_str()) || RemoveDirectoryA(path.c_str());
    EXPECT_EQ(text + g_opened, "Error|Error 3: " + GetErrorText(3));
}
