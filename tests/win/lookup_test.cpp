// Lookups over real sockets against WHOIS servers on 127.0.0.1 that run in
// threads of this process: the connection, the main window's runs, and the
// reverse name resolver.
#include <winsock2.h>
#include <tlhelp32.h>

#include <algorithm>
#include <atomic>
#include <map>
#include <thread>

#include "framework/app.h"
#include "framework/messages.h"
#include "input/address_list.h"
#include "lookup/name_resolver.h"
#include "lookup/rdap_connection_win.h"
#include "lookup/whois_connection.h"
#include "resources/resource_ids.h"
#include "whois/server_selection.h"
#include "win_test_support.h"

namespace {

// A WHOIS server that accepts connections one after the other, reads each
// query line and hands the connection to a behaviour.
class TestServer {
  public:
    explicit TestServer(std::function<void(SOCKET)> behaviour) {
        sockaddr_in local = Bound(&listener_);
        listen(listener_, 8);
        port = ntohs(local.sin_port);
        thread_ = std::thread([this, behaviour] {
            for (SOCKET conn; (conn = accept(listener_, nullptr, nullptr)) != INVALID_SOCKET; closesocket(conn)) {
                std::string query;
                char c;
                while (query.find('\n') == std::string::npos && recv(conn, &c, 1, 0) == 1) query += c;
                queries.push_back(query);
                behaviour(conn);
            }
        });
    }
    ~TestServer() { Stop(); }
    void Stop() {  // the queries may be read after it
        closesocket(listener_);
        listener_ = INVALID_SOCKET;
        if (thread_.joinable()) thread_.join();
    }
    std::string Address() const { return "127.0.0.1:" + std::to_string(port); }
    // A socket bound to a free port of 127.0.0.1, and its address.
    static sockaddr_in Bound(SOCKET* s) {
        *s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in local = {};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = inet_addr("127.0.0.1");
        bind(*s, reinterpret_cast<sockaddr*>(&local), sizeof local);
        int size = sizeof local;
        getsockname(*s, reinterpret_cast<sockaddr*>(&local), &size);
        return local;
    }

    int port = 0;
    std::vector<std::string> queries;

  private:
    SOCKET listener_ = INVALID_SOCKET;
    std::thread thread_;
};

// A manual-reset event that a server's thread sets for the test to wait on.
struct Event {
    HANDLE handle = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ~Event() { CloseHandle(handle); }
    bool Pump() {
        return PumpUntil([&] { return WaitForSingleObject(handle, 0) == WAIT_OBJECT_0; }, 20000, handle);
    }
};

void SendAll(SOCKET s, const std::string& data) {
    for (size_t done = 0; done < data.size();) {
        const int sent = send(s, data.data() + done, static_cast<int>(std::min<size_t>(data.size() - done, 65536)), 0);
        if (sent <= 0) return;
        done += static_cast<size_t>(sent);
    }
}

// Waits in a blocking recv until the client closes (or the test ends).
void HoldOpen(SOCKET s) {
    char buffer[256];
    while (recv(s, buffer, sizeof buffer, 0) > 0) {
    }
}

struct Outcome {
    WPARAM failed;
    LPARAM code;
};
std::vector<Outcome> g_outcomes;

// The window that receives the outcomes, as the main window does.
LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == UM_LOOKUPDONE) g_outcomes.push_back({wParam, lParam});
    return DefWindowProcA(window, message, wParam, lParam);
}

struct SocketTest : ::testing::Test {
    HWND owner = nullptr;
    WhoisConnection connection;

    void SetUp() override {
        owner = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, AppInstance(), nullptr);
        SetWindowLongPtrA(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OwnerProc));
        g_outcomes.clear();
    }
    void TearDown() override { DestroyWindow(owner); }
    void Start(const std::string& server, int32_t registry = RegistryArin) {
        connection.servers.Set(registry, server.c_str());
        ASSERT_EQ(connection.StartQuery(owner, inet_addr("198.51.100.7"), registry), 1);
    }
    bool WaitForOutcome() {
        const size_t before = g_outcomes.size();
        return PumpUntil([&] { return g_outcomes.size() > before; });
    }
    // Asks the server (as ARIN's unless told) and waits for the outcome.
    Outcome Ask(const std::string& server, int32_t registry = RegistryArin) {
        Start(server, registry);
        EXPECT_TRUE(WaitForOutcome());
        return g_outcomes.empty() ? Outcome{99, 99} : g_outcomes.back();
    }
};

}  // namespace

TEST_F(SocketTest, AnswersUpToFourMebibytesArriveWholeOneByteMoreFails) {
    std::string limit;  // read in many pieces, which must join in order
    for (int i = 0; limit.size() < WhoisConnection::kMaxAnswerBytes; ++i) limit += "line " + std::to_string(i) + "\r\n";
    limit.resize(WhoisConnection::kMaxAnswerBytes);
    TestServer exact([&](SOCKET s) { SendAll(s, limit); });
    EXPECT_EQ(Ask(exact.Address()).failed, 0u);
    EXPECT_TRUE(std::string(connection.ResponseText(), connection.response.length) == limit);
    EXPECT_TRUE(connection.TakeOutcome());
    TestServer over([&](SOCKET s) { SendAll(s, limit + "b"); });
    const Outcome outcome = Ask(over.Address());
    EXPECT_EQ(outcome.failed, 1u);
    EXPECT_EQ(outcome.code, WSAENOBUFS);
    EXPECT_EQ(connection.socket, INVALID_SOCKET);
}

// (Refused and silent servers fail end to end.)
TEST_F(SocketTest, ConnectionsThatNeverCompleteOrNeverCloseTimeOut) {
    connection.idleTimeoutMs = 300;
    // The time-out of an answered conversation stays for the next one; firing without one, it reports nothing.
    TestServer quick([](SOCKET s) { SendAll(s, "netname: QUICK\n"); });
    EXPECT_EQ(Ask(quick.Address()).failed, 0u);
    EXPECT_TRUE(connection.TakeOutcome());
    EXPECT_TRUE(PumpUntil([&] { return !connection.TimeoutArmed(); }));
    EXPECT_EQ(g_outcomes.size(), 1u);
    // An answer arrived, but the server never closes: failed all the same
    TestServer talker([](SOCKET s) {
        SendAll(s, "netname: HALF\n");
        HoldOpen(s);
    });
    const Outcome idle = Ask(talker.Address());
    EXPECT_EQ(std::make_pair(idle.failed, idle.code), std::make_pair(WPARAM{1}, LPARAM{WSAETIMEDOUT}));
    EXPECT_FALSE(connection.TimeoutArmed());  // not left repeating at the old step's rate into the next conversation
    EXPECT_TRUE(connection.TakeOutcome());
    connection.totalTimeoutMs = 1200;  // a byte every half idle time-out: only the limit on the whole ends it
    TestServer trickler([](SOCKET s) {
        while (send(s, "x", 1, 0) == 1) Sleep(150);
    });
    const DWORD started = GetTickCount();
    EXPECT_EQ(Ask(trickler.Address()).code, WSAETIMEDOUT);  // (failed: nothing else ends so)
    EXPECT_GE(GetTickCount() - started, 1150u);             // (the timer's granularity)
    // A listener of backlog 0 with a full queue: the connection never completes.
    connection.connectTimeoutMs = 300;
    SOCKET listener;
    const sockaddr_in local = TestServer::Bound(&listener);
    listen(listener, 0);
    SOCKET fillers[2];
    for (SOCKET& f : fillers) {
        f = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        u_long nonBlocking = 1;
        ioctlsocket(f, FIONBIO, &nonBlocking);
        connect(f, reinterpret_cast<const sockaddr*>(&local), sizeof local);
    }
    fd_set connected;
    FD_ZERO(&connected);
    FD_SET(fillers[0], &connected);
    timeval limit = {10, 0};
    ASSERT_EQ(select(0, nullptr, &connected, nullptr, &limit), 1);  // the queue is full now
    const Outcome hung = Ask("127.0.0.1:" + std::to_string(ntohs(local.sin_port)));
    EXPECT_EQ(hung.failed, 1u);
    EXPECT_EQ(hung.code, WSAETIMEDOUT);
    for (SOCKET f : fillers) closesocket(f);
    closesocket(listener);
}

TEST_F(SocketTest, ARegistryWithoutHostOrACancelledConversationReportsNothingAndOldOutcomesAreStale) {
    EXPECT_EQ(connection.StartQuery(owner, inet_addr("198.51.100.7"), 0), 0);
    EXPECT_EQ(connection.StartQuery(owner, inet_addr("198.51.100.7"), 6), 0);
    Event asked, cancelled, closed;
    TestServer server([&](SOCKET s) {
        SetEvent(asked.handle);
        WaitForSingleObject(cancelled.handle, 20000);
        SendAll(s, "late answer\n");
        HoldOpen(s);
        SetEvent(closed.handle);
    });
    Start(server.Address());
    ASSERT_TRUE(asked.Pump());
    connection.CancelQuery();
    SetEvent(cancelled.handle);
    ASSERT_TRUE(closed.Pump());
    PumpMessages();
    EXPECT_TRUE(g_outcomes.empty());
    // An outcome posted before a Stop or a new query is stale.
    TestServer first([](SOCKET s) { SendAll(s, "first\n"); });
    Start(first.Address());
    ASSERT_TRUE(WaitForOutcome());  // posted, and not yet taken by the owner
    connection.CancelQuery();       // a Stop
    Start(first.Address());
    EXPECT_FALSE(connection.TakeOutcome());  // the first conversation's
    ASSERT_TRUE(WaitForOutcome());
    EXPECT_TRUE(connection.TakeOutcome());
    EXPECT_STREQ(connection.ResponseText(), "first\n");
}

TEST_F(SocketTest, HostNamesAreResolvedWithoutBlockingAndAnAbandonedLookupFindsNoOwner) {
    TestServer server([](SOCKET s) { SendAll(s, "by name\n"); });
    const std::string byName = "localhost:" + std::to_string(server.port);
    // A lookup abandoned by a Stop, then a new one: one outcome, the new one's.
    Start(byName, RegistryLacnic);
    connection.CancelQuery();
    EXPECT_EQ(AsyncSocket::LiveHostBuffers(), 1);  // Wine cannot cancel: the buffer waits for the completion
    Start(byName, RegistryLacnic);
    ASSERT_TRUE(WaitForOutcome());
    PumpMessages();
    EXPECT_EQ(std::make_pair(g_outcomes.size(), g_outcomes.back().failed), std::make_pair(size_t{1}, WPARAM{0}));
    EXPECT_TRUE(connection.TakeOutcome());
    server.Stop();
    EXPECT_EQ(server.queries.size(), 1u);
    ASSERT_TRUE(PumpUntil([] { return AsyncSocket::LiveHostBuffers() == 0; }));
    const auto platform = std::make_pair(AsyncSocket::startLookup, AsyncSocket::cancelLookup);
    AsyncSocket::startLookup = [](HWND, u_int, const char*, char*, int) { return reinterpret_cast<HANDLE>(0x5151); };
    AsyncSocket::cancelLookup = [](HANDLE) { return 0; };
    Start("never.invalid:43", RegistryLacnic);
    connection.CancelQuery();
    EXPECT_EQ(AsyncSocket::LiveHostBuffers(), 0);  // cancelled, it never completes: its buffer goes at once
    std::tie(AsyncSocket::startLookup, AsyncSocket::cancelLookup) = platform;
    // A run looks a name up once ([L]ookup or [-]), and again when its known address refuses.
    KnownHosts hosts;
    connection.knownHosts = &hosts;
    TestServer again([](SOCKET s) { SendAll(s, "by name\n"); });
    std::string asked;
    for (const char* known : {"", "", "127.0.0.2"}) {
        if (*known) hosts.addresses["localhost"] = inet_addr(known);
        Start("localhost:" + std::to_string(again.port), RegistryLacnic);
        asked += connection.lookupHandle ? "L" : "-";
        ASSERT_TRUE(WaitForOutcome());
        asked += g_outcomes.back().failed ? "F" : "S";
        EXPECT_TRUE(connection.TakeOutcome());
    }
    EXPECT_EQ(asked + " " + std::to_string(hosts.addresses["localhost"] == inet_addr("127.0.0.1")), "LS-S-S 1");
}

// RDAP over WinHTTP against an HTTP server on 127.0.0.1 that answers by
// path; every answer says "Connection: close", as the server serves one
// connection at a time.
namespace {

std::string HttpAnswer(const std::string& status, const std::string& body, const std::string& headers = "") {
    return "HTTP/1.1 " + status + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n" +
           headers + "\r\n" + body;
}

struct RdapTest : SocketTest {
    RdapConnection rdap;
    std::string Served(const TestServer& server) { return "http://" + server.Address(); }
};

}  // namespace

TEST_F(RdapTest, AnswersRedirectsAndFailuresReachTheOwnerAsOneOutcomeEach) {
    std::string exact;  // the largest answer kept, NULs and high bytes included
    for (int32_t i = 0; i < RdapConnection::kMaxAnswerBytes; ++i) exact += static_cast<char>(i * 7 + i / 4096);
    std::map<std::string, std::string> answers;
    TestServer server([&](SOCKET s) {  // (the Accept header is checked end to end)
        std::string head = "\r\n" + server.queries.back(), path = head.substr(6, head.find(" HTTP/") - 6);
        for (char c; head.find("\r\n\r\n") == std::string::npos && recv(s, &c, 1, 0) == 1;) head += c;
        if (path == "/silent") return HoldOpen(s);
        if (path == "/trickle") {  // a byte every tenth of the idle limit: only the limit on the whole ends it
            SendAll(s, "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n");
            while (send(s, "x", 1, 0) == 1) Sleep(100);
        }
        SendAll(s, answers[path]);
    });
    answers = {{"/ok", HttpAnswer("200 OK", exact)},
               {"/a/hop1", HttpAnswer("307 Temporary Redirect", "", "Location: /b/hop2?x=1\r\n")},
               {"/b/hop2?x=1", HttpAnswer("308 Permanent Redirect", "", "Location: final\r\n")},
               {"/b/final", HttpAnswer("200 OK", "{}")},
               {"/loop", HttpAnswer("302 Found", "", "Location: " + Served(server) + "/loop\r\n")},
               {"/gone", HttpAnswer("404 Not Found", "not here")},
               {"/busy", HttpAnswer("429 Too Many Requests", "")},
               {"/big", HttpAnswer("200 OK", exact + "!")}};
    struct Row {
        std::string target;  // a path of the server, or a whole URL
        RdapConnection::Kind kind;
        int status;
        const char* statusLine;
        std::string body;
        const char* failure;
        std::string finalTarget;
        uint32_t totalMs;
    };
    const Row rows[] = {
        {"/ok", RdapConnection::Answered, 200, "HTTP/1.1 200 OK", exact, "", "/ok", 0},
        {"/a/hop1", RdapConnection::Answered, 200, "HTTP/1.1 200 OK", "{}", "", "/b/final", 0},
        {"/loop", RdapConnection::Failed, 0, "", "", "too many redirects", "/loop", 0},
        {"/gone", RdapConnection::Answered, 404, "HTTP/1.1 404 Not Found", "not here", "", "/gone", 0},
        {"/busy", RdapConnection::Answered, 429, "HTTP/1.1 429 Too Many Requests", "", "", "/busy", 0},
        {"/big", RdapConnection::Failed, 0, "", "", "answer over 4 MiB", "/big", 0},
        {"/silent", RdapConnection::Failed, 0, "", "", "time-out", "/silent", 0},
        {"/trickle", RdapConnection::Failed, 0, "", "", "time-out", "/trickle", 1500},
        {"ftp://127.0.0.1/x", RdapConnection::Failed, 0, "", "", "bad URL", "ftp://127.0.0.1/x", 0},
    };
    rdap.idleTimeoutMs = 1000;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.target);
        rdap.totalTimeoutMs = row.totalMs ? row.totalMs : RdapConnection::kTotalTimeoutMs;
        const auto url = [&](const std::string& target) { return target[0] == '/' ? Served(server) + target : target; };
        ASSERT_TRUE(rdap.Start(owner, UM_LOOKUPDONE, 42, url(row.target).c_str()));
        ASSERT_TRUE(WaitForOutcome());
        EXPECT_EQ(g_outcomes.back().failed, 42u);
        EXPECT_TRUE(rdap.TakeOutcome(g_outcomes.back().code));
        EXPECT_EQ(rdap.ResultKind(), row.kind);
        EXPECT_EQ(rdap.StatusCode(), row.status);
        EXPECT_STREQ(rdap.StatusLine(), row.statusLine);
        EXPECT_TRUE(std::string(rdap.Body(), rdap.BodyLength()) == row.body);
        EXPECT_EQ(rdap.Body()[rdap.BodyLength()], '\0');
        EXPECT_STREQ(rdap.FailureText(), row.failure);
        EXPECT_EQ(rdap.FinalUrl(), url(row.finalTarget));
    }
    server.Stop();
    EXPECT_EQ(std::count(server.queries.begin(), server.queries.end(), "GET /loop HTTP/1.1\r\n"), 5);  // 4 followed
}

// Nothing arrives from a conversation that was cancelled, replaced or
// destroyed, while another one runs beside it, and every worker ends. (Wine
// goes on waiting for an answer after its request handle is closed, where
// Windows aborts: the server lets the held connections go.)
TEST_F(RdapTest, CancelledReplacedOrDestroyedConversationsPostNothingAndTheirWorkersEnd) {
    Event asked, release;
    TestServer holder([&](SOCKET) {
        SetEvent(asked.handle);
        WaitForSingleObject(release.handle, 20000);
    });
    TestServer answerer([](SOCKET s) { SendAll(s, HttpAnswer("200 OK", "{}")); });
    ASSERT_TRUE(rdap.Start(owner, UM_LOOKUPDONE, 1, (Served(answerer) + "/early").c_str()));
    ASSERT_TRUE(WaitForOutcome());  // posted, and not yet taken
    const LPARAM early = g_outcomes.back().code;
    auto* other = new RdapConnection;
    ASSERT_TRUE(other->Start(owner, UM_LOOKUPDONE, 2, (Served(holder) + "/held").c_str()));
    ASSERT_TRUE(asked.Pump());
    ASSERT_TRUE(rdap.Start(owner, UM_LOOKUPDONE, 3, (Served(answerer) + "/beside").c_str()));
    EXPECT_FALSE(rdap.TakeOutcome(early));
    ASSERT_TRUE(WaitForOutcome());
    EXPECT_TRUE(rdap.TakeOutcome(g_outcomes.back().code));
    EXPECT_STREQ(rdap.FinalUrl(), (Served(answerer) + "/beside").c_str());
    delete other;
    ASSERT_TRUE(rdap.Start(owner, UM_LOOKUPDONE, 4, (Served(holder) + "/queued").c_str()));
    rdap.Cancel();
    EXPECT_EQ(rdap.ResultKind(), RdapConnection::None);
    SetEvent(release.handle);
    SetTimer(owner, 1, 20, nullptr);  // the workers' end posts nothing: look again at each tick
    ASSERT_TRUE(PumpUntil([] { return RdapConnection::RunningWorkers() == 0; }));
    PumpMessages();
    EXPECT_EQ(g_outcomes.size(), 2u);  // the first and the one beside
    holder.Stop();
    EXPECT_EQ(holder.queries.size(), 2u);
}

namespace {

const char kWaiting[] = "\xB5\xC8\xB4\xFD\xD6\xD0...";  // 等待中...

struct LookupRunTest : MainWindowTest {
    // Opens a main window that asks ARIN first, at server.
    void Open(const TestServer& server) {
        WriteSettings("ResolveIPAddr=0\r\nFindServerByIP=0\r\nArinServer=" + server.Address() + "\r\n");
        MainWindowTest::Open();
    }
    void Run(const char* text) {
        SetAddressText(text);
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
        SetEvent(asked.handle);
        HoldOpen(s);
        SetEvent(closed.handle);
    });
    Open(server);
    Run("4.2.2.1 4.2.2.2");
    ASSERT_TRUE(asked.Pump());
    PumpMessages();
    EXPECT_TRUE(Running());
    EXPECT_EQ(Cell(0, 2), "\xD6\xD8\xD0\xC2\xD5\xD2\xBB\xD8\xCA\xFD\xBE\xDD...");  // 重新找回数据...
    EXPECT_EQ(StatusText(status), "\xD6\xD8\xD0\xC2\xD5\xD2\xBB\xD8 Whois \xCA\xFD\xBE\xDD... 1");
    Command(IDM_STOP);
    EXPECT_FALSE(Running());
    EXPECT_EQ(Cell(0, 2) + Cell(1, 2), std::string(kWaiting) + kWaiting);
    ASSERT_TRUE(closed.Pump());  // the connection is closed
    PumpMessages();
    EXPECT_EQ(Cell(0, 2), kWaiting);
    server.Stop();
    EXPECT_EQ(server.queries.size(), 1u);
}

// A name resolver's result, written from another thread, reaches only its
// row with the refresh timer. (What a run puts in the rows is checked end to
// end.)
TEST_F(LookupRunTest, ARunEndsIdleAndResolvedNamesFollowWithTheRefreshTimer) {
    TestServer server([](SOCKET s) { SendAll(s, "netname: EXAMPLE\n"); });
    Open(server);
    Run("4.2.2.1 4.2.2.2");
    ASSERT_TRUE(PumpUntil([&] { return Rows() == 2 && !Running(); }));
    std::thread([&] { window->Addresses().SetResolvedName(inet_addr("4.2.2.2"), "b.example.net"); }).join();
    EXPECT_EQ(Cell(1, 17), "");
    ASSERT_TRUE(PumpUntil([&] { return Cell(1, 17) == "b.example.net"; }));
    EXPECT_EQ(Cell(0, 17), "");
}

// Reverse name resolution in worker threads, delivered by resolver id: a
// result whose receiver is detached or gone changes nothing.
namespace {

std::set<DWORD> ThreadsOfThisProcess() {
    std::set<DWORD> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) ids.insert(entry.th32ThreadID);
    }
    CloseHandle(snapshot);
    return ids;
}

// Counts the results and signals each one.
class CountingResolver : public AddressListResolver {
  public:
    using AddressListResolver::AddressListResolver;
    ~CountingResolver() override {
        Unregister();
        CloseHandle(event);
    }
    void OnResolved(uint32_t address, const hostent* entry, int error) override {
        AddressListResolver::OnResolved(address, entry, error);
        ++results;
        SetEvent(event);
    }
    bool WaitFor(int n) {
        return PumpUntil([&] { return results >= n; }, 20000, event);
    }
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    std::atomic<int> results{0};
};

struct NameResolverTest : ::testing::Test {
    Options options;
    AddressList list{&options};
};

}  // namespace

TEST_F(NameResolverTest, TheNameLandsInTheItemOfItsAddressOnlyWhileAttached) {
    list.CreateItem(inet_addr("127.0.0.1"), nullptr);  // (which item takes a name is the list's own test)
    CountingResolver resolver(&list);
    ASSERT_EQ(resolver.StartResolve(inet_addr("127.0.0.1")), 1);
    ASSERT_TRUE(resolver.WaitFor(1));
    const hostent* platform = gethostbyaddr("\x7F\0\0\x01", 4, AF_INET);
    ASSERT_TRUE(platform && platform->h_name);
    EXPECT_STREQ(list.At(0)->resolvedName, platform->h_name);
    EXPECT_EQ(list.namesChanged.load(), 1);
    CountingResolver other(&list);  // ids are distinct; 1 is the process-wide idle receiver
    EXPECT_GT(resolver.id, 1);
    EXPECT_NE(resolver.id, other.id);
    resolver.Detach();
    list.At(0)->resolvedName[0] = '\0';
    ASSERT_EQ(resolver.StartResolve(inet_addr("127.0.0.1")), 1);
    ASSERT_TRUE(resolver.WaitFor(2));
    EXPECT_STREQ(list.At(0)->resolvedName, "");
    EXPECT_EQ(::StartResolve(nullptr, inet_addr("127.0.0.1")), 0);
}

// Workers whose receiver is gone drop their results: nothing touches the
// destroyed object, and every worker ends.
TEST_F(NameResolverTest, ADestroyedReceiverGetsNothingAndItsWorkersEnd) {
    const int before = RunningResolveCount();
    const std::set<DWORD> old = ThreadsOfThisProcess();
    {
        CountingResolver gone(nullptr);
        for (int i = 0; i < 20; ++i) ::StartResolve(&gone, inet_addr("127.0.0.1"));
    }
    std::vector<HANDLE> workers;
    for (DWORD id : ThreadsOfThisProcess()) {
        HANDLE thread = old.count(id) ? nullptr : OpenThread(SYNCHRONIZE, FALSE, id);
        if (thread) workers.push_back(thread);
    }
    if (!workers.empty()) {
        EXPECT_EQ(WaitForMultipleObjects(static_cast<DWORD>(workers.size()), workers.data(), TRUE, 20000),
                  WAIT_OBJECT_0);
    }
    for (HANDLE thread : workers) CloseHandle(thread);
    EXPECT_LE(RunningResolveCount(), before);  // workers of earlier tests may end meanwhile
}
