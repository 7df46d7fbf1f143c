// The WHOIS conversation over real sockets against servers on 127.0.0.1 that
// run in threads of this process.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "whois/server_selection.h"
#include "lookup/whois_connection.h"
#include "framework/app.h"
#include "framework/messages.h"
#include "local_whois_server.h"
#include "win_test_support.h"

namespace {

uint32_t Ip(unsigned a, unsigned b, unsigned c, unsigned d) {
    const unsigned char bytes[4] = {static_cast<unsigned char>(a), static_cast<unsigned char>(b),
                                    static_cast<unsigned char>(c), static_cast<unsigned char>(d)};
    uint32_t ip;
    std::memcpy(&ip, bytes, 4);
    return ip;
}

// The window that receives the outcomes, as the main window does.
class Owner {
  public:
    struct Outcome {
        WPARAM failed;
        LPARAM code;
    };

    Owner() {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = AppInstance();
        wc.lpszClassName = "SocketTestOwner";
        RegisterClassA(&wc);
        hwnd = CreateWindowExA(0, "SocketTestOwner", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, AppInstance(), nullptr);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~Owner() { DestroyWindow(hwnd); }

    // Pumps messages until an outcome arrived or the time is up.
    bool WaitForOutcome(DWORD timeoutMs = 20000) {
        const DWORD start = GetTickCount();
        const size_t before = outcomes.size();
        while (outcomes.size() == before) {
            const DWORD elapsed = GetTickCount() - start;
            if (elapsed >= timeoutMs) return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
            PumpMessages();
        }
        return true;
    }
    // Pumps messages for a while (to see that nothing arrives).
    void PumpFor(DWORD ms) {
        const DWORD start = GetTickCount();
        for (DWORD elapsed = 0; elapsed < ms; elapsed = GetTickCount() - start) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
            PumpMessages();
        }
    }

    HWND hwnd = nullptr;
    std::vector<Outcome> outcomes;

  private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == UM_LOOKUPDONE) {
            auto* self = reinterpret_cast<Owner*>(GetWindowLongPtrA(window, GWLP_USERDATA));
            if (self) self->outcomes.push_back({wParam, lParam});
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }
};

struct SocketTest : ::testing::Test {
    Owner owner;
    WhoisConnection connection;
    const uint32_t address = Ip(198, 51, 100, 7);

    // Asks the server (as ARIN's) and waits for the outcome.
    Owner::Outcome Ask(TestServer& server, int32_t registry = RegistryArin) {
        connection.servers.Set(registry, server.Address().c_str());
        EXPECT_EQ(connection.StartQuery(owner.hwnd, address, registry), 1);
        EXPECT_TRUE(owner.WaitForOutcome());
        return owner.outcomes.empty() ? Owner::Outcome{99, 99} : owner.outcomes.back();
    }
};

std::string Pattern(size_t n) {
    std::string s;
    for (size_t i = 0; s.size() < n; ++i) s += "line " + std::to_string(i) + " of a long answer\r\n";
    s.resize(n);
    return s;
}

TEST_F(SocketTest, EachRegistryGetsItsQueryLineAndTheWholeAnswerInOrder) {
    const std::string answer = Pattern(20000);  // several reads of 4095 bytes
    TestServer server([&](SOCKET s) { SendAll(s, answer); });
    const char* expected[] = {"+198.51.100.7\r\n", "-B 198.51.100.7\r\n", "198.51.100.7\r\n", "198.51.100.7\r\n",
                              "198.51.100.7\r\n"};
    for (int32_t registry = 1; registry <= 5; ++registry) {
        const Owner::Outcome outcome = Ask(server, registry);
        EXPECT_EQ(outcome.failed, 0u);
        EXPECT_EQ(connection.response.length, 20000);
        EXPECT_EQ(connection.ResponseText(), answer);
        EXPECT_TRUE(connection.TakeOutcome());
    }
    server.Stop();
    ASSERT_EQ(server.queries.size(), 5u);
    for (size_t i = 0; i < 5; ++i) EXPECT_EQ(server.queries[i], expected[i]);
    EXPECT_EQ(owner.outcomes.size(), 5u);
}

TEST_F(SocketTest, AResetAfterHalfAnAnswerIsAnsweredWithThatHalf) {
    const std::string answer = Pattern(3000);
    TestServer server([&](SOCKET s) {
        SendAll(s, answer.substr(0, 1500));
        Sleep(100);  // the bytes reach the client before the reset
        Reset(s);
    });
    const Owner::Outcome outcome = Ask(server);
    EXPECT_EQ(outcome.failed, 0u);
    EXPECT_EQ(connection.ResponseText(), answer.substr(0, 1500));
}

TEST_F(SocketTest, ACloseWithoutAnyByteIsAnEmptyAnswer) {
    TestServer server([](SOCKET) {});
    const Owner::Outcome outcome = Ask(server);
    EXPECT_EQ(outcome.failed, 0u);
    EXPECT_STREQ(connection.ResponseText(), "");
}

TEST_F(SocketTest, AnAnswerWithANulIsKeptWholeButReadUpToTheNul) {
    const std::string answer("netname: BEFORE\n\0country: DE\n", 29);
    TestServer server([&](SOCKET s) { SendAll(s, answer); });
    EXPECT_EQ(Ask(server).failed, 0u);
    EXPECT_EQ(connection.response.length, 29);
    EXPECT_STREQ(connection.ResponseText(), "netname: BEFORE\n");
}

TEST_F(SocketTest, ARefusedConnectionFails) {
    SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in local = {};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = inet_addr("127.0.0.1");
    bind(probe, reinterpret_cast<sockaddr*>(&local), sizeof local);
    int size = sizeof local;
    getsockname(probe, reinterpret_cast<sockaddr*>(&local), &size);
    closesocket(probe);  // nothing listens there now
    connection.servers.Set(RegistryRipe, ("127.0.0.1:" + std::to_string(ntohs(local.sin_port))).c_str());
    ASSERT_EQ(connection.StartQuery(owner.hwnd, address, RegistryRipe), 1);
    ASSERT_TRUE(owner.WaitForOutcome());
    EXPECT_EQ(owner.outcomes.back().failed, 1u);
    EXPECT_EQ(owner.outcomes.back().code, WSAECONNREFUSED);
}

TEST_F(SocketTest, AServerThatNeverAnswersOrNeverClosesTimesOut) {
    connection.idleTimeoutMs = 300;
    TestServer silent(HoldOpen);
    Owner::Outcome outcome = Ask(silent);
    EXPECT_EQ(outcome.failed, 1u);
    EXPECT_EQ(outcome.code, WSAETIMEDOUT);
    EXPECT_TRUE(connection.TakeOutcome());

    // An answer that arrived does not save a conversation that never ends.
    TestServer talker([](SOCKET s) {
        SendAll(s, "netname: HALF\n");
        HoldOpen(s);
    });
    outcome = Ask(talker);
    EXPECT_EQ(outcome.failed, 1u);
    EXPECT_EQ(outcome.code, WSAETIMEDOUT);
    silent.Stop();
    talker.Stop();
}

TEST_F(SocketTest, AConnectionThatNeverCompletesTimesOut) {
    connection.connectTimeoutMs = 300;
    // A listener with a full queue: further connection attempts hang.
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in local = {};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = inet_addr("127.0.0.1");
    bind(listener, reinterpret_cast<sockaddr*>(&local), sizeof local);
    listen(listener, 0);
    int size = sizeof local;
    getsockname(listener, reinterpret_cast<sockaddr*>(&local), &size);
    std::vector<SOCKET> fillers;
    for (int i = 0; i < 2; ++i) {
        SOCKET f = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        u_long nonBlocking = 1;
        ioctlsocket(f, FIONBIO, &nonBlocking);
        connect(f, reinterpret_cast<sockaddr*>(&local), sizeof local);
        fillers.push_back(f);
    }
    owner.PumpFor(100);
    connection.servers.Set(RegistryArin, ("127.0.0.1:" + std::to_string(ntohs(local.sin_port))).c_str());
    ASSERT_EQ(connection.StartQuery(owner.hwnd, address, RegistryArin), 1);
    ASSERT_TRUE(owner.WaitForOutcome(10000));
    EXPECT_EQ(owner.outcomes.back().failed, 1u);
    EXPECT_EQ(owner.outcomes.back().code, WSAETIMEDOUT);
    for (SOCKET f : fillers) closesocket(f);
    closesocket(listener);
}

TEST_F(SocketTest, AnswersUpToFourMebibytesAreKeptOneByteMoreFails) {
    const std::string limit(WhoisConnection::kMaxAnswerBytes, 'a');
    TestServer exact([&](SOCKET s) { SendAll(s, limit); });
    EXPECT_EQ(Ask(exact).failed, 0u);
    EXPECT_EQ(connection.response.length, WhoisConnection::kMaxAnswerBytes);
    exact.Stop();

    TestServer over([&](SOCKET s) { SendAll(s, limit + "b"); });
    const Owner::Outcome outcome = Ask(over);
    EXPECT_EQ(outcome.failed, 1u);
    EXPECT_EQ(outcome.code, WSAENOBUFS);
    EXPECT_EQ(connection.socket, INVALID_SOCKET);
    over.Stop();

    // Endless data ends the same way instead of growing without bound.
    TestServer endless([](SOCKET s) {
        const std::string block(65536, 'e');
        while (send(s, block.data(), static_cast<int>(block.size()), 0) > 0) {
        }
    });
    EXPECT_EQ(Ask(endless).failed, 1u);
    endless.Stop();
}

TEST_F(SocketTest, ARegistryWithoutHostCannotStartAndPostsNothing) {
    EXPECT_EQ(connection.StartQuery(owner.hwnd, address, 0), 0);
    EXPECT_EQ(connection.StartQuery(owner.hwnd, address, 6), 0);
    EXPECT_EQ(connection.socket, INVALID_SOCKET);
    owner.PumpFor(100);
    EXPECT_TRUE(owner.outcomes.empty());
}

TEST_F(SocketTest, ACancelledConversationReportsNothing) {
    TestServer server([](SOCKET s) {
        Sleep(200);
        SendAll(s, "late answer\n");
    });
    connection.servers.Set(RegistryArin, server.Address().c_str());
    ASSERT_EQ(connection.StartQuery(owner.hwnd, address, RegistryArin), 1);
    owner.PumpFor(50);
    connection.CancelQuery();
    owner.PumpFor(500);
    EXPECT_TRUE(owner.outcomes.empty());
    server.Stop();
}

TEST_F(SocketTest, AnOutcomePostedBeforeAStopOrANewQueryIsStale) {
    TestServer server([](SOCKET s) { SendAll(s, "first\n"); });
    connection.servers.Set(RegistryArin, server.Address().c_str());
    ASSERT_EQ(connection.StartQuery(owner.hwnd, address, RegistryArin), 1);
    // Let the conversation end without handing its outcome to the owner.
    const DWORD start = GetTickCount();
    while (connection.socket != INVALID_SOCKET && GetTickCount() - start < 10000) {
        MSG msg;
        while (PeekMessageA(&msg, AsyncSocket::SocketWindow(), 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    ASSERT_EQ(connection.socket, INVALID_SOCKET);
    connection.CancelQuery();  // Stop, while the outcome is on its way
    ASSERT_EQ(connection.StartQuery(owner.hwnd, address, RegistryArin), 1);
    ASSERT_TRUE(owner.WaitForOutcome());
    EXPECT_FALSE(connection.TakeOutcome());  // the first conversation's
    ASSERT_TRUE(owner.WaitForOutcome());
    EXPECT_TRUE(connection.TakeOutcome());
    EXPECT_STREQ(connection.ResponseText(), "first\n");
    server.Stop();
}

TEST_F(SocketTest, HostNamesAreResolvedWithoutBlocking) {
    TestServer server([](SOCKET s) { SendAll(s, "by name\n"); });
    connection.servers.Set(RegistryLacnic, ("localhost:" + std::to_string(server.port)).c_str());
    ASSERT_EQ(connection.StartQuery(owner.hwnd, address, RegistryLacnic), 1);
    EXPECT_NE(connection.lookupHandle, nullptr);
    ASSERT_TRUE(owner.WaitForOutcome());
    EXPECT_EQ(owner.outcomes.back().failed, 0u);
    EXPECT_STREQ(connection.ResponseText(), "by name\n");

    // A lookup abandoned by a Stop finds no owner when it completes.
    owner.outcomes.clear();
    ASSERT_EQ(connection.StartQuery(owner.hwnd, address, RegistryLacnic), 1);
    connection.CancelQuery();
    owner.PumpFor(300);
    EXPECT_TRUE(owner.outcomes.empty());
    server.Stop();
}

TEST_F(SocketTest, TheHiddenWindowIsOneForAllSockets) {
    HWND window = AsyncSocket::EnsureSocketWindow();
    ASSERT_NE(window, nullptr);
    char cls[64] = {};
    GetClassNameA(window, cls, sizeof cls);
    EXPECT_STREQ(cls, "MySockWinCls");
    EXPECT_FALSE(IsWindowVisible(window));
    WhoisConnection other;
    EXPECT_EQ(AsyncSocket::EnsureSocketWindow(), window);
}

}  // namespace
