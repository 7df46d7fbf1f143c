// The WHOIS conversation over real sockets against servers on 127.0.0.1 that
// run in threads of this process.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "local_whois_server.h"
#include "lookup/server_selection.h"
#include "lookup/whois_connection.h"
#include "shell/app.h"
#include "shell/messages.h"
#include "win_test_support.h"

namespace {

constexpr UINT kServerDone = WM_APP + 7;

// The window that receives the outcomes, as the main window does, and the
// servers' word that they are done.
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
        hwnd = CreateWindowExA(0, wc.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, AppInstance(), nullptr);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~Owner() { DestroyWindow(hwnd); }
    bool WaitForOutcome(DWORD timeoutMs = 20000) {
        const size_t before = outcomes.size();
        return PumpUntil([&] { return outcomes.size() > before; }, timeoutMs);
    }
    HWND hwnd = nullptr;
    std::vector<Outcome> outcomes;
    int serversDone = 0;

  private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<Owner*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self && message == UM_LOOKUPDONE) self->outcomes.push_back({wParam, lParam});
        if (self && message == kServerDone) ++self->serversDone;
        return message == UM_LOOKUPDONE || message == kServerDone ? 0 : DefWindowProcA(window, message, wParam, lParam);
    }
};

uint32_t Ip(unsigned a, unsigned b, unsigned c, unsigned d) {
    const unsigned char bytes[4] = {static_cast<unsigned char>(a), static_cast<unsigned char>(b),
                                    static_cast<unsigned char>(c), static_cast<unsigned char>(d)};
    uint32_t ip;
    std::memcpy(&ip, bytes, 4);
    return ip;
}

std::string Pattern(size_t n) {
    std::string s;
    for (size_t i = 0; s.size() < n; ++i) s += "line " + std::to_string(i) + " of a long answer\r\n";
    s.resize(n);
    return s;
}

// A local port where nothing listens, or a listener with backlog 0.
sockaddr_in LocalPort(SOCKET* listener = nullptr) {
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in local = {};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = inet_addr("127.0.0.1");
    bind(s, reinterpret_cast<sockaddr*>(&local), sizeof local);
    int size = sizeof local;
    getsockname(s, reinterpret_cast<sockaddr*>(&local), &size);
    if (listener) {
        listen(s, 0);
        *listener = s;
    } else {
        closesocket(s);
    }
    return local;
}

struct SocketTest : ::testing::Test {
    Owner owner;
    WhoisConnection connection;
    const uint32_t address = Ip(198, 51, 100, 7);

    void Start(const std::string& server, int32_t registry = RegistryArin) {
        connection.servers.Set(registry, server.c_str());
        ASSERT_EQ(connection.StartQuery(owner.hwnd, address, registry), 1);
    }
    // Asks the server (as ARIN's unless told) and waits for the outcome.
    Owner::Outcome Ask(TestServer& server, int32_t registry = RegistryArin) {
        Start(server.Address(), registry);
        EXPECT_TRUE(owner.WaitForOutcome());
        return owner.outcomes.empty() ? Owner::Outcome{99, 99} : owner.outcomes.back();
    }
    static std::string At(const sockaddr_in& local) { return "127.0.0.1:" + std::to_string(ntohs(local.sin_port)); }
};

}  // namespace

TEST_F(SocketTest, EachRegistryGetsItsQueryLineAndTheWholeAnswerInOrder) {
    const std::string answer = Pattern(20000);  // several reads of 4095 bytes
    TestServer server([&](SOCKET s) { SendAll(s, answer); });
    const char* expected[] = {"+198.51.100.7\r\n", "-B 198.51.100.7\r\n", "198.51.100.7\r\n", "198.51.100.7\r\n",
                              "198.51.100.7\r\n"};
    for (int32_t registry = 1; registry <= 5; ++registry) {
        EXPECT_EQ(Ask(server, registry).failed, 0u);
        EXPECT_EQ(connection.response.length, 20000);
        EXPECT_EQ(connection.ResponseText(), answer);
        EXPECT_TRUE(connection.TakeOutcome());
    }
    server.Stop();
    ASSERT_EQ(server.queries.size(), 5u);
    for (size_t i = 0; i < 5; ++i) EXPECT_EQ(server.queries[i], expected[i]);
}

TEST_F(SocketTest, AResetAfterHalfAnAnswerIsAnsweredWithThatHalf) {
    const std::string answer = Pattern(3000);
    Event read;
    TestServer server([&](SOCKET s) {
        SendAll(s, answer.substr(0, 1500));
        read.Wait();  // the bytes reached the client before the reset
        Reset(s);
    });
    Start(server.Address());
    EXPECT_TRUE(PumpUntil([&] { return connection.response.length >= 1500; }));
    read.Set();
    ASSERT_TRUE(owner.WaitForOutcome());
    EXPECT_EQ(owner.outcomes.back().failed, 0u);
    EXPECT_EQ(connection.ResponseText(), answer.substr(0, 1500));
}

TEST_F(SocketTest, EmptyAnswersAndAnswersWithANul) {
    TestServer silent([](SOCKET) {});
    EXPECT_EQ(Ask(silent).failed, 0u);
    EXPECT_STREQ(connection.ResponseText(), "");
    silent.Stop();
    const std::string answer("netname: BEFORE\n\0country: DE\n", 29);
    TestServer nul([&](SOCKET s) { SendAll(s, answer); });
    EXPECT_EQ(Ask(nul).failed, 0u);
    EXPECT_EQ(connection.response.length, 29);  // kept whole, read up to the NUL
    EXPECT_STREQ(connection.ResponseText(), "netname: BEFORE\n");
}

TEST_F(SocketTest, ARefusedConnectionFails) {
    Start(At(LocalPort()), RegistryRipe);
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
}

TEST_F(SocketTest, AConnectionThatNeverCompletesTimesOut) {
    connection.connectTimeoutMs = 300;
    // A listener with a full queue: further connection attempts hang.
    SOCKET listener = INVALID_SOCKET;
    const sockaddr_in local = LocalPort(&listener);
    std::vector<SOCKET> fillers;
    for (int i = 0; i < 2; ++i) {
        SOCKET f = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        u_long nonBlocking = 1;
        ioctlsocket(f, FIONBIO, &nonBlocking);
        connect(f, reinterpret_cast<const sockaddr*>(&local), sizeof local);
        fillers.push_back(f);
    }
    fd_set connected;
    FD_ZERO(&connected);
    FD_SET(fillers[0], &connected);
    timeval limit = {10, 0};
    ASSERT_EQ(select(0, nullptr, &connected, nullptr, &limit), 1);  // the queue is full now
    Start(At(local));
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
}

TEST_F(SocketTest, ARegistryWithoutHostCannotStartAndPostsNothing) {
    EXPECT_EQ(connection.StartQuery(owner.hwnd, address, 0), 0);
    EXPECT_EQ(connection.StartQuery(owner.hwnd, address, 6), 0);
    EXPECT_EQ(connection.socket, INVALID_SOCKET);
    PumpMessages();  // an outcome would have been posted already
    EXPECT_TRUE(owner.outcomes.empty());
}

TEST_F(SocketTest, ACancelledConversationReportsNothing) {
    Event asked, cancelled;
    TestServer server([&](SOCKET s) {
        asked.Set();
        cancelled.Wait();
        SendAll(s, "late answer\n");
        HoldOpen(s);
        PostMessageA(owner.hwnd, kServerDone, 0, 0);
    });
    Start(server.Address());
    ASSERT_TRUE(PumpUntil([&] { return asked.IsSet(); }, 20000, asked.handle));
    connection.CancelQuery();
    cancelled.Set();
    ASSERT_TRUE(PumpUntil([&] { return owner.serversDone == 1; }));
    PumpMessages();
    EXPECT_TRUE(owner.outcomes.empty());
}

TEST_F(SocketTest, AnOutcomePostedBeforeAStopOrANewQueryIsStale) {
    TestServer server([](SOCKET s) { SendAll(s, "first\n"); });
    Start(server.Address());
    ASSERT_TRUE(owner.WaitForOutcome());  // posted, and not yet taken by the owner
    connection.CancelQuery();             // a Stop
    Start(server.Address());
    EXPECT_FALSE(connection.TakeOutcome());  // the first conversation's
    ASSERT_TRUE(owner.WaitForOutcome());
    EXPECT_TRUE(connection.TakeOutcome());
    EXPECT_STREQ(connection.ResponseText(), "first\n");
}

TEST_F(SocketTest, HostNamesAreResolvedWithoutBlockingAndAnAbandonedLookupFindsNoOwner) {
    TestServer server([](SOCKET s) { SendAll(s, "by name\n"); });
    const std::string byName = "localhost:" + std::to_string(server.port);
    Start(byName, RegistryLacnic);
    EXPECT_NE(connection.lookupHandle, nullptr);
    ASSERT_TRUE(owner.WaitForOutcome());
    EXPECT_EQ(owner.outcomes.back().failed, 0u);
    EXPECT_STREQ(connection.ResponseText(), "by name\n");
    EXPECT_TRUE(connection.TakeOutcome());
    // A lookup abandoned by a Stop, then a new one: one outcome, the new one's.
    owner.outcomes.clear();
    Start(byName, RegistryLacnic);
    connection.CancelQuery();
    Start(byName, RegistryLacnic);
    ASSERT_TRUE(owner.WaitForOutcome());
    PumpMessages();
    EXPECT_EQ(owner.outcomes.size(), 1u);
    EXPECT_TRUE(connection.TakeOutcome());
    server.Stop();
    EXPECT_EQ(server.queries.size(), 2u);
}
