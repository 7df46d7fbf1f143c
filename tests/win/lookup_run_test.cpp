// Lookup runs of a real main window against servers on 127.0.0.1.
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "input/address_list.h"
#include "local_whois_server.h"
#include "main_window_fixture.h"
#include "resources/resource_ids.h"
#include "shell/messages.h"
#include "win_test_support.h"

namespace {

const char kWaiting[] = "\xB5\xC8\xB4\xFD\xD6\xD0...";                             // 等待中...
const char kRetrieving[] = "\xD6\xD8\xD0\xC2\xD5\xD2\xBB\xD8\xCA\xFD\xBE\xDD...";  // 重新找回数据...
const char kSucceeded[] = "\xB3\xC9\xB9\xA6";                                      // 成功
const char kProgress1[] = "\xD6\xD8\xD0\xC2\xD5\xD2\xBB\xD8 Whois \xCA\xFD\xBE\xDD... 1";

struct LookupRunTest : MainWindowTest {
    // Opens a main window whose registries all answer at server.
    void Open(const TestServer& server) {
        std::string settings = "ResolveIPAddr=0\r\nFindServerByIP=0\r\n";
        for (const char* key : {"ArinServer", "RipeServer", "ApnicServer", "LacnicServer", "AfrinicServer"}) {
            settings += std::string(key) + "=" + server.Address() + "\r\n";
        }
        WriteSettings(settings);
        MainWindowTest::Open();
    }
    void Run(const char* text) {
        SetAddressText(*window, text);
        PostMessageA(hwnd, UM_RUNADDRESSTEXT, 0, 0);
    }
    bool StopEnabled() {
        EXPECT_EQ(MenuEnabled(IDM_STOP), ButtonEnabled(IDM_STOP));
        return MenuEnabled(IDM_STOP);
    }
};

}  // namespace

TEST_F(LookupRunTest, StopLeavesTheItemsWaitingAndDisablesStop) {
    Event asked, closed;
    TestServer server([&](SOCKET s) {
        asked.Set();
        HoldOpen(s);
        closed.Set();
    });
    Open(server);
    Run("4.2.2.1 4.2.2.2");
    ASSERT_TRUE(PumpUntil([&] { return asked.IsSet(); }, 20000, asked.handle));
    PumpMessages();
    EXPECT_TRUE(StopEnabled());
    EXPECT_EQ(Cell(0, 2), kRetrieving);
    EXPECT_EQ(StatusText(status), kProgress1);

    Command(IDM_STOP);
    EXPECT_FALSE(StopEnabled());
    EXPECT_EQ(Cell(0, 2), kWaiting);
    EXPECT_EQ(Cell(1, 2), kWaiting);
    // The connection is closed, and nothing arrives after it.
    ASSERT_TRUE(PumpUntil([&] { return closed.IsSet(); }, 20000, closed.handle));
    PumpMessages();
    EXPECT_EQ(Cell(0, 2), kWaiting);
    server.Stop();
    EXPECT_EQ(server.queries.size(), 1u);
}

TEST_F(LookupRunTest, ARunFillsTheRowsAndShowsTheDefaultRowsAnswer) {
    const std::string answer = ReadFileBytes(std::string(OL_TEST_DATA_DIR) +
                                             "/e2e/arin/direct_allocation_no_referral_4.2.2.1.txt");
    TestServer server([&](SOCKET s) { SendAll(s, answer); });
    Open(server);
    Run("4.2.2.1, 10.0.0.1; 4.2.2.2 4.2.2.1");
    ASSERT_TRUE(PumpUntil([&] { return Rows() == 2 && !StopEnabled(); }));
    EXPECT_EQ(Cell(0, 2), kSucceeded);
    EXPECT_EQ(Cell(1, 2), kSucceeded);
    EXPECT_EQ(Cell(1, 15), "ARIN");
    // The default row is selected and its raw answer fills the pane.
    EXPECT_EQ(ListView_GetSelectedCount(list), 1u);
    if (pane) {
        EXPECT_NE(WindowText(pane).find("Level 3"), std::string::npos);
    }
    server.Stop();
    ASSERT_EQ(server.queries.size(), 2u);
    EXPECT_EQ(server.queries[0], "+4.2.2.1\r\n");
    EXPECT_EQ(server.queries[1], "+4.2.2.2\r\n");
}

// A name resolver's result, written from another thread, reaches only its
// row with the refresh timer.
TEST_F(LookupRunTest, ResolvedNamesReachTheRowsWithTheRefreshTimer) {
    TestServer server([](SOCKET) {});
    Open(server);
    Run("4.2.2.1 4.2.2.2");
    ASSERT_TRUE(PumpUntil([&] { return Rows() == 2 && !StopEnabled(); }));
    std::thread worker([&] { Addresses(*window).SetResolvedName(inet_addr("4.2.2.2"), "b.example.net"); });
    worker.join();
    const int row = Cell(0, 1) == "4.2.2.2" ? 0 : 1;
    EXPECT_EQ(Cell(row, 17), "");
    ASSERT_TRUE(PumpUntil([&] { return Cell(row, 17) == "b.example.net"; }));
    EXPECT_EQ(Cell(1 - row, 17), "");
    server.Stop();
}

TEST_F(LookupRunTest, TheAddressDialogRunsItsTextOnOkAndNothingOnCancel) {
    TestServer server([](SOCKET) {});
    Open(server);
    int opened = 0;
    DialogDriver driver([&](HWND d) {
        ++opened;
        EXPECT_EQ(WindowText(d), "\xD1\xA1\xD4\xF1 IP \xB5\xD8\xD6\xB7");  // 选择 IP 地址
        SetDlgItemTextA(d, IDC_ADDR_TEXT, "10.0.0.1 4.2.2.9");
        ClickButton(d, opened == 1 ? IDCANCEL : IDOK);
    });
    SendMessageA(hwnd, UM_OPENADDRESSDIALOG, 0, 0);  // as at start
    EXPECT_EQ(opened, 1);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, hwnd, UM_RUNADDRESSTEXT, UM_RUNADDRESSTEXT, PM_NOREMOVE));
    SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDM_SELECT_IP, 1), 0);  // F9
    EXPECT_EQ(opened, 2);
    ASSERT_TRUE(PumpUntil([&] { return Rows() == 1 && !StopEnabled(); }));
    server.Stop();
    ASSERT_EQ(server.queries.size(), 1u);
    EXPECT_EQ(server.queries[0], "+4.2.2.9\r\n");
}
