// Lookup runs of a real main window against servers on 127.0.0.1.
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>

#include "input/address_list.h"
#include "lookup/whois_connection.h"
#include "resources/resource_ids.h"
#include "shell/main_window.h"
#include "shell/messages.h"
#include "shell/settings_file.h"
#include "local_whois_server.h"
#include "win_test_support.h"

namespace {

const char kWaiting[] = "\xB5\xC8\xB4\xFD\xD6\xD0...";                             // 等待中...
const char kRetrieving[] = "\xD6\xD8\xD0\xC2\xD5\xD2\xBB\xD8\xCA\xFD\xBE\xDD...";  // 重新找回数据...
const char kSucceeded[] = "\xB3\xC9\xB9\xA6";                                      // 成功
const char kProgress1[] = "\xD6\xD8\xD0\xC2\xD5\xD2\xBB\xD8 Whois \xCA\xFD\xBE\xDD... 1";

std::string ReadAnswer(const char* relative) {
    std::ifstream in(std::string(OL_TEST_DATA_DIR) + "/whois/" + relative, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

struct LookupRunTest : ::testing::Test {
    CommandLine commandLine;
    MainWindow* window = nullptr;

    // Opens a main window whose registries all answer at server.
    void Open(const TestServer& server, const char* extra = "") {
        std::ofstream cfg(TestSettingsPath(), std::ios::binary | std::ios::trunc);
        cfg << "[General]\r\nResolveIPAddr=0\r\nFindServerByIP=0\r\n" << extra;
        for (const char* key : {"ArinServer", "RipeServer", "ApnicServer", "LacnicServer", "AfrinicServer"}) {
            cfg << key << "=" << server.Address() << "\r\n";
        }
        cfg.close();
        commandLine.Build("/nodlgstart");
        window = new MainWindow();
        window->commandLine = &commandLine;
        ASSERT_TRUE(window->Create());
        PumpMessages();
    }
    void TearDown() override {
        if (window && window->hwnd && IsWindow(window->hwnd)) DestroyWindow(window->hwnd);
        PumpMessages();
        delete window;
        DeleteFileA(TestSettingsPath().c_str());
    }
    void RunText(const char* text) {
        window->options->addressText.SetText(text);
        PostMessageA(window->hwnd, UM_RUNADDRESSTEXT, 0, 0);
    }
    std::string Cell(int row, int column) {
        char text[512] = {};
        ListView_GetItemText(window->listView, row, column, text, sizeof text);
        return text;
    }
    bool StopEnabled() {
        const bool menu = !(GetMenuState(window->mainMenu, IDM_STOP, MF_BYCOMMAND) & MF_GRAYED);
        const bool button = SendMessageA(window->toolbar, TB_ISBUTTONENABLED, IDM_STOP, 0) != 0;
        EXPECT_EQ(menu, button);
        return menu;
    }
    std::string StatusText() {
        char text[256] = {};
        SendMessageA(window->statusBar, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
        return text;
    }
};

TEST_F(LookupRunTest, StopLeavesTheItemWaitingAndDisablesStop) {
    HANDLE asked = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    TestServer server([&](SOCKET s) {
        SetEvent(asked);
        HoldOpen(s);
    });
    Open(server);
    RunText("4.2.2.1 4.2.2.2");
    ASSERT_TRUE(PumpUntil([&] { return WaitForSingleObject(asked, 0) == WAIT_OBJECT_0; }));
    EXPECT_EQ(window->running, 1);
    EXPECT_TRUE(StopEnabled());
    EXPECT_EQ(Cell(0, 2), kRetrieving);
    EXPECT_EQ(StatusText(), kProgress1);

    SendMessageA(window->hwnd, WM_COMMAND, IDM_STOP, 0);
    EXPECT_EQ(window->running, 0);
    EXPECT_FALSE(StopEnabled());
    EXPECT_EQ(window->addressList->At(0)->status, LookupStatus::Waiting);
    EXPECT_EQ(Cell(0, 2), kWaiting);
    EXPECT_EQ(Cell(1, 2), kWaiting);
    EXPECT_EQ(window->connection->socket, INVALID_SOCKET);
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(Cell(0, 2), kWaiting);  // nothing arrives later
    EXPECT_EQ(server.queries.size(), 1u);
    server.Stop();
    CloseHandle(asked);
}

TEST_F(LookupRunTest, ARunFillsTheRowsAndShowsTheDefaultRowsAnswer) {
    const std::string answer = ReadAnswer("arin/direct_allocation_no_referral_4.2.2.1.txt");
    TestServer server([&](SOCKET s) { SendAll(s, answer); });
    Open(server);
    RunText("4.2.2.1, 10.0.0.1; 4.2.2.2 4.2.2.1");
    ASSERT_TRUE(PumpUntil([&] { return window->running == 0 && window->addressList->ItemCount() > 0; }));
    ASSERT_EQ(window->addressList->ItemCount(), 2);
    EXPECT_EQ(Cell(0, 2), kSucceeded);
    EXPECT_EQ(Cell(1, 2), kSucceeded);
    EXPECT_EQ(Cell(1, 15), "ARIN");
    EXPECT_FALSE(StopEnabled());
    // The default row is selected and its raw answer fills the pane.
    EXPECT_EQ(window->addressList->SelectedCount(), 1);
    if (window->textPane) {
        const std::string pane = WindowText(window->textPane);
        EXPECT_NE(pane.find("Level 3"), std::string::npos) << pane.substr(0, 200);
    }
    server.Stop();
    ASSERT_EQ(server.queries.size(), 2u);
    EXPECT_EQ(server.queries[0], "+4.2.2.1\r\n");
    EXPECT_EQ(server.queries[1], "+4.2.2.2\r\n");
}

TEST_F(LookupRunTest, ResolvedNamesReachTheRowsWithTheRefreshTimer) {
    TestServer server([](SOCKET) {});
    Open(server);
    RunText("4.2.2.1 4.2.2.2");
    ASSERT_TRUE(PumpUntil([&] { return window->addressList->ItemCount() == 2 && window->running == 0; }));
    // A worker's result, from another thread, as the name resolver gives it.
    std::thread worker([&] { window->addressList->SetResolvedName(inet_addr("4.2.2.2"), "b.example.net"); });
    worker.join();
    const int row = Cell(0, 1) == "4.2.2.2" ? 0 : 1;
    EXPECT_EQ(Cell(row, 17), "");
    ASSERT_TRUE(PumpUntil([&] { return Cell(row, 17) == "b.example.net"; }, 5000));
    EXPECT_EQ(window->addressList->namesChanged.load(), 0);
    EXPECT_EQ(Cell(1 - row, 17), "");
    server.Stop();
}

TEST_F(LookupRunTest, TheAddressDialogOpensAtStartAndWithF9AndRunsOnOk) {
    TestServer server([](SOCKET) {});
    Open(server);
    int opened = 0;
    Later later;
    DialogWatcher watcher([&](HWND dialog) {
        ++opened;
        const int which = opened;
        later.Post([dialog, which] {
            char title[64] = {};
            GetWindowTextA(dialog, title, sizeof title);
            EXPECT_STREQ(title, "\xD1\xA1\xD4\xF1 IP \xB5\xD8\xD6\xB7");
            if (which == 1) {
                PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
            } else {
                SetDlgItemTextA(dialog, IDC_ADDR_TEXT, "10.0.0.1 4.2.2.9");
                PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            }
        });
    });
    window->options->addressText.SetText("before");
    SendMessageA(window->hwnd, UM_OPENADDRESSDIALOG, 0, 0);
    EXPECT_EQ(opened, 1);
    EXPECT_STREQ(window->options->addressText.Text(), "before");  // cancelled: nothing changes
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, window->hwnd, UM_RUNADDRESSTEXT, UM_RUNADDRESSTEXT, PM_NOREMOVE));

    SendMessageA(window->hwnd, WM_COMMAND, MAKEWPARAM(IDM_SELECT_IP, 1), 0);  // F9
    EXPECT_EQ(opened, 2);
    EXPECT_STREQ(window->options->addressText.Text(), "10.0.0.1 4.2.2.9");
    ASSERT_TRUE(PumpUntil([&] { return server.queries.size() == 1 && window->running == 0; }));
    EXPECT_EQ(window->addressList->ItemCount(), 1);
    server.Stop();
    EXPECT_EQ(server.queries[0], "+4.2.2.9\r\n");
}

}  // namespace
