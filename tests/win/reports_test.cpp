// Saving, copying and the HTML report commands of the main window, on real
// controls, the real save dialog and the clipboard.

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "base/address_helpers.h"
#include "input/address_list.h"
#include "lang/language.h"
#include "reports/file_sink_win.h"
#include "reports/report_file_win.h"
#include "resources/resource_ids.h"
#include "app/main_window.h"
#include "base/settings_file.h"
#include "framework/ui_helpers.h"
#include "win_test_support.h"

namespace {

bool FileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string TempFolder() {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    return folder;
}

// A folder of its own for the files the tests write.
std::string WorkFolder() {
    const std::string folder = TempFolder() + "ol_reports_test\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

int CountTempFiles(const char* pattern) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((TempFolder() + pattern).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return 0;
    int count = 0;
    do {
        ++count;
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return count;
}

std::string ClipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) return "<clipboard closed>";
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* bytes = static_cast<const char*>(GlobalLock(data))) {
            text = bytes;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

void SetClipboardText(const char* text) {
    if (!OpenClipboard(nullptr)) return;
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, std::strlen(text) + 1);
    std::strcpy(static_cast<char*>(GlobalLock(block)), text);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
}

// What the save dialog showed, and what the test answers in it.
struct SaveDialogAnswer {
    std::string path;     // empty: cancel
    int filterIndex = 0;  // 1-based; 0 keeps the dialog's choice
    // Seen in the dialog.
    std::string title;
    int shownFilter = -1;  // 0-based selection of the file type box
    int filterCount = 0;
};

// The file name box: an edit (edt1) or, in newer layouts, a combo box (cmb13).
HWND FileNameBox(HWND dialog) {
    HWND box = GetDlgItem(dialog, edt1);
    return box ? box : GetDlgItem(dialog, cmb13);
}

void AnswerSaveDialog(HWND dialog, SaveDialogAnswer* answer) {
    answer->title = WindowText(dialog);
    HWND types = GetDlgItem(dialog, cmb1);
    answer->shownFilter = static_cast<int>(SendMessageA(types, CB_GETCURSEL, 0, 0));
    answer->filterCount = static_cast<int>(SendMessageA(types, CB_GETCOUNT, 0, 0));
    if (answer->path.empty()) {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    if (answer->filterIndex > 0) {
        SendMessageA(types, CB_SETCURSEL, static_cast<WPARAM>(answer->filterIndex - 1), 0);
        // As a user's choice ends: Wine's dialog acts on CBN_SELENDOK, Windows' on either.
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELCHANGE), reinterpret_cast<LPARAM>(types));
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELENDOK), reinterpret_cast<LPARAM>(types));
    }
    SetWindowTextA(FileNameBox(dialog), answer->path.c_str());
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
}

std::string* g_openedPath = nullptr;
void RecordOpen(HWND, const char* path) {
    if (g_openedPath) *g_openedPath = path;
}

const char kFailed[] = "\xCA\xA7\xB0\xDC";  // 失败: its 0xB0 begins the second character

struct ReportsTest : ::testing::Test {
    CommandLine commandLine;
    MainWindow* window = nullptr;
    Later later;

    void SetUp() override {
        std::ofstream cfg(TestSettingsPath(), std::ios::binary | std::ios::trunc);
        cfg << "[General]\r\nResolveIPAddr=0\r\n";
    }
    void TearDown() override {
        Close();
        SetShellOpener(nullptr);
    }
    void Open() {
        commandLine.Build("/nodlgstart");
        window = new MainWindow();
        window->commandLine = &commandLine;
        ASSERT_TRUE(window->Create());
        PumpMessages();
    }
    void Close() {
        if (window && window->hwnd && IsWindow(window->hwnd)) DestroyWindow(window->hwnd);
        PumpMessages();
        delete window;
        window = nullptr;
    }
    // Three answered items in rows 0 to 2.
    void AddItems() {
        AddressList& list = *window->addressList;
        const char* addresses[] = {"198.51.100.7", "203.0.113.9", "192.0.2.55"};
        for (int i = 0; i < 3; ++i) {
            uint32_t ip = 0;
            ParseDottedQuad(addresses[i], &ip, 0);
            list.CreateItem(ip, nullptr);
            LookupItem& item = *list.At(i);
            item.status = LookupStatus::Succeeded;
            std::snprintf(item.record.ownerName, sizeof item.record.ownerName, "Owner %d & Co", i + 1);
            std::snprintf(item.record.networkName, sizeof item.record.networkName, "NET-%d", i + 1);
            item.rawText->SetText((std::string("answer ") + std::to_string(i + 1) + "\nline two").c_str());
        }
        list.At(1)->status = LookupStatus::Failed;
        std::strcpy(list.At(1)->record.contactName, kFailed);  // bytes as an answer in GBK holds them
        list.Rebuild(true);
    }
    void Select(std::initializer_list<int> rows) {
        ListView_SetItemState(window->listView, -1, 0, LVIS_SELECTED);
        for (int row : rows) ListView_SetItemState(window->listView, row, LVIS_SELECTED, LVIS_SELECTED);
    }
    void Command(int id) { SendMessageA(window->hwnd, WM_COMMAND, id, 0); }
    // Runs a command that opens the save dialog, answering it.
    void SaveWith(int command, SaveDialogAnswer* answer) {
        DialogWatcher watcher([&](HWND dialog) { later.Post([dialog, answer] { AnswerSaveDialog(dialog, answer); }); });
        Command(command);
        EXPECT_EQ(watcher.Count(), 1);
    }
};

TEST_F(ReportsTest, SaveWritesTheChosenFormatAndRemembersIt) {
    Open();
    AddItems();
    Select({0, 2});
    const std::string path = WorkFolder() + "saved.txt";
    DeleteFileA(path.c_str());

    SaveDialogAnswer html;
    html.path = path;
    html.filterIndex = 4;  // horizontal HTML, into a .txt file
    SaveWith(IDM_SAVE_SELECTED, &html);
    if (GetACP() == 936) {
        EXPECT_EQ(html.title,
                  "\xD1\xA1\xD4\xF1\xD2\xBB\xB8\xF6\xCE\xC4\xBC\xFE\xC3\xFB\xB4\xE6\xC5\xCC");  // 选择一个文件名存盘
    }
    EXPECT_EQ(html.shownFilter, 0);  // SaveFilterIndex 0: the first type
    EXPECT_EQ(html.filterCount, 6);
    EXPECT_EQ(window->options->SaveFilterIndex, 4);
    const std::string written = ReadFileBytes(path);
    EXPECT_EQ(written.rfind("<!DOCTYPE HTML PUBLIC", 0), 0u) << written.substr(0, 80);
    EXPECT_NE(written.find("<td bgcolor=#FFF6F0 nowrap>Owner 1 &amp; Co"), std::string::npos);
    EXPECT_NE(written.find("Owner 3 &amp; Co"), std::string::npos);
    EXPECT_EQ(written.find("Owner 2"), std::string::npos);  // not selected

    // The choice survives a restart through the settings file.
    Close();
    EXPECT_NE(ReadFileBytes(TestSettingsPath()).find("SaveFilterIndex=4\r\n"), std::string::npos);
    Open();
    AddItems();
    Select({1});
    EXPECT_EQ(window->options->SaveFilterIndex, 4);
    SaveDialogAnswer cancel;
    SaveWith(IDM_SAVE_SELECTED, &cancel);
    EXPECT_EQ(cancel.shownFilter, 3);
    EXPECT_EQ(window->options->SaveFilterIndex, 4);  // a cancelled dialog keeps it

    // The XML type into a file named .htm writes XML.
    const std::string xmlPath = WorkFolder() + "saved.htm";
    DeleteFileA(xmlPath.c_str());
    SaveDialogAnswer xml;
    xml.path = xmlPath;
    xml.filterIndex = 6;
    SaveWith(IDM_SAVE_SELECTED, &xml);
    EXPECT_EQ(window->options->SaveFilterIndex, 6);
    const std::string xmlText = ReadFileBytes(xmlPath);
    EXPECT_EQ(xmlText.rfind("<?xml version=\"1.0\"  encoding=\"ISO-8859-1\" ?>\r\n", 0), 0u);
    EXPECT_NE(xmlText.find("<item>\r\n"), std::string::npos);
    EXPECT_NE(xmlText.find("Owner 2 &amp; Co"), std::string::npos);
    // Two-byte characters stay whole under 936; under 1252 0xB0 is a degree sign.
    if (GetACP() == 936) {
        EXPECT_NE(xmlText.find(std::string(">") + kFailed + "<"), std::string::npos);
    } else {
        EXPECT_NE(xmlText.find(">\xCA\xA7&deg;\xDC<"), std::string::npos);
    }
}

TEST_F(ReportsTest, CopyPutsTabbedRowsInViewOrderOnTheClipboard) {
    Open();
    AddItems();
    ShowWindow(window->hwnd, SW_SHOW);
    // Sorted by owner name, descending: rows show items 3, 2, 1.
    window->addressList->Sort(5 | 0x1000, true);
    Select({0, 2});
    SetFocus(window->listView);
    ASSERT_EQ(GetFocus(), window->listView);
    const int temporaryBefore = CountTempFiles("cp*.tmp");
    SetClipboardText("before");
    Command(IDM_COPY);
    const std::string text = ClipboardText();
    const size_t firstLine = text.find("\r\n");
    ASSERT_NE(firstLine, std::string::npos) << text;
    EXPECT_EQ(text.rfind("3\t192.0.2.55\t", 0), 0u) << text;
    EXPECT_EQ(text.compare(firstLine + 2, 15, "1\t198.51.100.7\t"), 0) << text;
    EXPECT_EQ(text.substr(firstLine - 1, 3), "\t\r\n");
    EXPECT_EQ(text.substr(text.size() - 3), "\t\r\n");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 2);
    EXPECT_EQ(std::count(text.begin(), text.begin() + static_cast<long>(firstLine), '\t'), 18);
    EXPECT_EQ(CountTempFiles("cp*.tmp"), temporaryBefore);  // the temporary file is gone

    // From the text pane: its selection, or all of it with the caret kept.
    if (!window->textPane) GTEST_SKIP() << "no rich edit pane";
    SetWindowTextA(window->textPane, "inetnum: 198.51.100.0");
    SetFocus(window->textPane);
    SendMessageA(window->textPane, EM_SETSEL, 3, 3);
    Command(IDM_COPY);
    EXPECT_EQ(ClipboardText(), "inetnum: 198.51.100.0");
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(window->textPane, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 3u);
    EXPECT_EQ(end, 3u);
    SendMessageA(window->textPane, EM_SETSEL, 0, 7);
    Command(IDM_COPY);
    EXPECT_EQ(ClipboardText(), "inetnum");
}

TEST_F(ReportsTest, WhoisRecordsInReverseOrder) {
    Open();
    AddItems();
    Select({0, 1, 2});
    const std::string path = WorkFolder() + "records.txt";
    DeleteFileA(path.c_str());
    SaveDialogAnswer answer;
    answer.path = path;
    SaveWith(IDM_SAVE_WHOIS, &answer);
    if (GetACP() == 936) {
        // 为保存选择的WHOIS反应选择一个文件名
        EXPECT_EQ(answer.title,
                  "\xCE\xAA\xB1\xA3\xB4\xE6\xD1\xA1\xD4\xF1\xB5\xC4WHOIS\xB7\xB4\xD3\xA6\xD1\xA1\xD4\xF1\xD2\xBB"
                  "\xB8\xF6\xCE\xC4\xBC\xFE\xC3\xFB");
    }
    EXPECT_EQ(answer.filterCount, 2);
    EXPECT_EQ(answer.shownFilter, 0);
    const std::string stars(80, '*');
    EXPECT_EQ(ReadFileBytes(path), "answer 3\r\nline two\r\n\r\n" + stars + "\r\n" + "answer 2\r\nline two\r\n\r\n" +
                                   stars + "\r\n" + "answer 1\r\nline two\r\n\r\n" + stars + "\r\n");
    EXPECT_EQ(window->options->SaveFilterIndex, 0);  // this dialog remembers nothing
}

TEST_F(ReportsTest, HtmlReportCommandsWriteAndOpenTheReport) {
    Open();
    AddItems();
    std::string opened;
    g_openedPath = &opened;
    SetShellOpener(RecordOpen);
    const std::string path = WorkFolder() + "report.html";
    std::snprintf(window->reportPath, sizeof window->reportPath, "%s", path.c_str());

    Command(IDM_HTML_VERTICAL);
    EXPECT_EQ(opened, path);
    const std::string vertical = ReadFileBytes(path);
    EXPECT_EQ(vertical.rfind("<!DOCTYPE HTML PUBLIC", 0), 0u);
    size_t tables = 0;
    for (size_t at = vertical.find("</table><p>"); at != std::string::npos; at = vertical.find("</table><p>", at + 1)) {
        ++tables;
    }
    EXPECT_EQ(tables, 3u);  // every row, selected or not

    opened.clear();
    Command(IDM_HTML_HORIZONTAL);
    EXPECT_EQ(opened, path);
    const std::string horizontal = ReadFileBytes(path);
    EXPECT_NE(horizontal.find("<table border=\"1\" cellpadding=\"5\"><tr bgcolor=\"E0E0E0\">\r\n"), std::string::npos);
    EXPECT_EQ(horizontal.substr(horizontal.size() - 26), "</table>\r\n\r\n</body></html>");
    g_openedPath = nullptr;
}

TEST_F(ReportsTest, AReportThatCannotBeWrittenShowsTheSystemError) {
    Open();
    AddItems();
    std::string opened = "none";
    g_openedPath = &opened;
    SetShellOpener(RecordOpen);
    std::snprintf(window->reportPath, sizeof window->reportPath, "%s", "C:\\no\\such\\folder\\report.html");
    std::string text;
    std::string caption;
    DialogWatcher watcher([&](HWND box) {
        text = MessageBoxText(box);
        caption = WindowText(box);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    Command(IDM_HTML_HORIZONTAL);
    EXPECT_EQ(watcher.Count(), 1);
    EXPECT_EQ(caption, "Error");
    EXPECT_EQ(text, "Error 3: " + GetErrorText(3));
    EXPECT_EQ(opened, "none");  // nothing to open

    // An empty report path (too long a folder) fails the same way.
    window->reportPath[0] = '\0';
    Command(IDM_HTML_VERTICAL);
    EXPECT_EQ(watcher.Count(), 2);
    EXPECT_EQ(text.rfind("Error ", 0), 0u);
    g_openedPath = nullptr;
}

TEST_F(ReportsTest, TheLanguageFilesCharsetAndDirectionReachTheHead) {
    Open();
    AddItems();
    char program[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string languagePath = program;
    languagePath = languagePath.substr(0, languagePath.rfind('.')) + "_lng.ini";
    {
        std::ofstream file(languagePath, std::ios::binary | std::ios::trunc);
        file << "[general]\r\nrtl=1\r\ncharset=gb2312\r\n";
    }
    InitLanguage();
    const std::string path = WorkFolder() + "language.html";
    const bool written = WriteReportFile(*window->addressList, path.c_str(), 5, false);
    // Back to the program's own texts before anything else can fail.
    DeleteFileA(languagePath.c_str());
    InitLanguage();
    ASSERT_TRUE(written);
    const std::string report = ReadFileBytes(path);
    EXPECT_NE(report.find("<html><head><meta http-equiv='content-type' content='text/html;charset=gb2312'><title>"),
              std::string::npos);
    EXPECT_NE(report.find("<body>\r\n<table dir=\"rtl\"><tr><td>\r\n <h3>"), std::string::npos);
    EXPECT_EQ(report.substr(report.size() - 37), "</table><p>\r\n</table>\r\n</body></html>");

    // Without a language file: no meta line, no right-to-left table.
    ASSERT_TRUE(WriteReportFile(*window->addressList, path.c_str(), 5, false));
    const std::string plain = ReadFileBytes(path);
    EXPECT_NE(plain.find("<html><head><title>"), std::string::npos);
    EXPECT_EQ(plain.find("rtl"), std::string::npos);
}

TEST_F(ReportsTest, FileSinkKeepsTheFirstFailure) {
    const std::string path = WorkFolder() + "sink.bin";
    FileSink sink;
    ASSERT_TRUE(sink.Open(path.c_str()));
    // Buffered and direct writes give the same bytes in the same order.
    const std::string big(FileSink::kBlockSize + 17, 'b');
    EXPECT_TRUE(sink.Write("abc", 3));
    EXPECT_TRUE(sink.Write(big.data(), big.size()));
    EXPECT_TRUE(sink.Write("xyz", 3));
    EXPECT_TRUE(sink.Close());
    EXPECT_EQ(ReadFileBytes(path), "abc" + big + "xyz");

    // Others may read the file while it is written.
    ASSERT_TRUE(sink.Open(path.c_str()));
    HANDLE reader =
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(reader, INVALID_HANDLE_VALUE);
    if (reader != INVALID_HANDLE_VALUE) CloseHandle(reader);
    EXPECT_TRUE(sink.Close());
    EXPECT_EQ(ReadFileBytes(path), "");  // an existing file is replaced

    FileSink missing;
    EXPECT_FALSE(missing.Open("C:\\no\\such\\folder\\x.txt"));
    EXPECT_EQ(missing.Error(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(missing.Write("a", 1));
    EXPECT_FALSE(missing.Close());
    EXPECT_FALSE(FileExists("C:\\no\\such\\folder\\x.txt"));
}

}  // namespace
