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

struct LookupRunTest : MainWindowTest {
    // Opens a main window whose registries all answer at server.
    void Open(const TestServer& server) {
        std::string settings = "ResolveIPAddr=0\r\nFindServerByIP=0\r\n";
        for (const char* key : {"Arin", "Ripe", "Apnic", "Lacnic", "Afrinic"}) {
            settings += std::string(key) + "Server=" + server.Address() + "\r\n";
        }
        WriteSettings(settings);
        MainWindowTest::Open();
    }
    void Run(const char* text) {
        SetAddressText(*window, text);
        PostMessageA(hwnd, UM_RUNADDRESSTEXT, 0, 0);
    }
    bool Running() {
        EXPECT_EQ(MenuEnabled(IDM_STOP), ButtonEnabled(IDM_STOP));
        return MenuEnabled(IDM_STOP);
    }
};

}  // namespace

TEST_F(LookupRunTest, StopLeavesTheItemsWaitingAndNothingArrivesAfterIt) {
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
    EXPECT_TRUE(Running());
    EXPECT_EQ(Cell(0, 2), kRetrieving);
    EXPECT_EQ(StatusText(status), "\xD6\xD8\xD0\xC2\xD5\xD2\xBB\xD8 Whois \xCA\xFD\xBE\xDD... 1");
    Command(IDM_STOP);
    EXPECT_FALSE(Running());
    EXPECT_EQ(Column(2), (std::vector<std::string>{kWaiting, kWaiting}));
    ASSERT_TRUE(PumpUntil([&] { return closed.IsSet(); }, 20000, closed.handle));  // the connection is closed
    PumpMessages();
    EXPECT_EQ(Cell(0, 2), kWaiting);
    server.Stop();
    EXPECT_EQ(server.queries.size(), 1u);
}

TEST_F(LookupRunTest, ARunFillsTheRowsAndShowsTheDefaultRowsAnswer) {
    const std::string answer =
        ReadFileBytes(std::string(OL_TEST_DATA_DIR) + "/e2e/arin/direct_allocation_no_referral_4.2.2.1.txt");
    TestServer server([&](SOCKET s) { SendAll(s, answer); });
    Open(server);
    Run("4.2.2.1, 10.0.0.1; 4.2.2.2 4.2.2.1");
    ASSERT_TRUE(PumpUntil([&] { return Rows() == 2 && !Running(); }));
    EXPECT_EQ(Column(2), (std::vector<std::string>{"\xB3\xC9\xB9\xA6", "\xB3\xC9\xB9\xA6"}));  // 成功
    EXPECT_EQ(Cell(1, 15), "ARIN");
    EXPECT_EQ(ListView_GetSelectedCount(list), 1u);  // the default row, whose answer fills the pane
    EXPECT_TRUE(!pane || WindowText(pane).find("Level 3") != std::string::npos);
    server.Stop();
    EXPECT_EQ(server.queries, (std::vector<std::string>{"+4.2.2.1\r\n", "+4.2.2.2\r\n"}));
}

// A name resolver's result, written from another thread, reaches only its
// row with the refresh timer.
TEST_F(LookupRunTest, ResolvedNamesReachTheRowsWithTheRefreshTimer) {
    TestServer server([](SOCKET) {});
    Open(server);
    Run("4.2.2.1 4.2.2.2");
    ASSERT_TRUE(PumpUntil([&] { return Rows() == 2 && !Running(); }));
    std::thread([&] { Addresses(*window).SetResolvedName(inet_addr("4.2.2.2"), "b.example.net"); }).join();
    const int row = Cell(0, 1) == "4.2.2.2" ? 0 : 1;
    EXPECT_EQ(Cell(row, 17), "");
    ASSERT_TRUE(PumpUntil([&] { return Cell(row, 17) == "b.example.net"; }));
    EXPECT_EQ(Cell(1 - row, 17), "");
}

TEST_F(LookupRunTest, TheAddressDialogRunsItsTextOnOkAndNothingOnCancel) {
    TestServer server([](SOCKET) {});
    Open(server);
    DialogDriver driver([&](HWND d) {
        SetDlgItemTextA(d, IDC_ADDR_TEXT, "10.0.0.1 4.2.2.9");
        ClickButton(d, driver.Count() == 1 ? IDCANCEL : IDOK);
    });
    SendMessageA(hwnd, UM_OPENADDRESSDIALOG, 0, 0);  // as at start
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, hwnd, UM_RUNADDRESSTEXT, UM_RUNADDRESSTEXT, PM_NOREMOVE));
    SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDM_SELECT_IP, 1), 0);  // F9
    EXPECT_EQ(driver.Count(), 2);
    ASSERT_TRUE(PumpUntil([&] { return Rows() == 1 && !Running(); }));
    server.Stop();
    EXPECT_EQ(server.queries, (std::vector<std::string>{"+4.2.2.9\r\n"}));
}
