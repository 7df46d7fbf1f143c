#include "lookup/rdap_connection_win.h"

#include <winhttp.h>

#include <cstdio>
#include <new>
#include <string>

#include "base/lock.h"
#include "lookup/answer_buffer.h"
#include "lookup/http_location.h"

struct RdapConnection::Conversation {
    Conversation() = default;
    Conversation(const Conversation&) = delete;
    Conversation& operator=(const Conversation&) = delete;
    ~Conversation() {
        for (HANDLE event : {cancelEvent, stepEvent, closedEvent}) {
            if (event) CloseHandle(event);
        }
    }

    LONG references = 2;  // the connection's and the worker's
    Lock lock;            // guards the flags and the step fields
    bool cancelled = false;
    bool finished = false;  // the results are complete and the worker leaves them alone
    bool taken = false;     // the user-interface thread's own
    bool leaked = false;    // a callback may still reach it: never freed
    HANDLE cancelEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE stepEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);   // a call completed
    HANDLE closedEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);  // the request handle is gone

    HWND owner = nullptr;
    UINT message = 0;
    WPARAM tag = 0;
    LPARAM serial = 0;
    uint32_t connectMs = 0, idleMs = 0, totalMs = 0;
    DWORD startTick = 0;
    std::string url;

    DWORD stepStatus = 0;  // what the last completion reported
    DWORD stepError = 0;
    DWORD stepBytes = 0;

    Kind kind = None;
    int status = 0;
    char statusLine[256] = {};
    std::string finalUrl;
    AnswerBuffer body;
    char failure[64] = {};
    char readArea[65536];
};

namespace {

using Conversation = RdapConnection::Conversation;

constexpr DWORD kSocketTimedOut = 10060;  // WSAETIMEDOUT

LONG g_serial = 0;
LONG g_running = 0;

void Release(Conversation* c) {
    if (InterlockedDecrement(&c->references) == 0) delete c;
}

constexpr DWORD kCompletions = WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE |
                               WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE | WINHTTP_CALLBACK_STATUS_DATA_AVAILABLE |
                               WINHTTP_CALLBACK_STATUS_READ_COMPLETE | WINHTTP_CALLBACK_STATUS_REQUEST_ERROR;

// Runs on WinHTTP's threads; only the request handle carries a context.
void CALLBACK OnStatus(HINTERNET, DWORD_PTR context, DWORD status, void* info, DWORD length) {
    auto* c = reinterpret_cast<Conversation*>(context);
    if (!c) return;
    if (status == WINHTTP_CALLBACK_STATUS_HANDLE_CLOSING) {
        SetEvent(c->closedEvent);  // the last call for this handle: c may go once it is seen
        return;
    }
    if (!(status & kCompletions)) return;
    Locked lock(c->lock);
    c->stepStatus = status;
    c->stepError =
        status == WINHTTP_CALLBACK_STATUS_REQUEST_ERROR ? static_cast<WINHTTP_ASYNC_RESULT*>(info)->dwError : 0;
    c->stepBytes = status == WINHTTP_CALLBACK_STATUS_READ_COMPLETE    ? length
                   : status == WINHTTP_CALLBACK_STATUS_DATA_AVAILABLE ? *static_cast<DWORD*>(info)
                                                                      : 0;
    SetEvent(c->stepEvent);
}

void Fail(Conversation& c, const char* text) {
    c.kind = RdapConnection::Failed;
    c.status = 0;
    c.statusLine[0] = '\0';
    c.body.Reset();
    std::snprintf(c.failure, sizeof c.failure, "%s", text);
}

void FailWithError(Conversation& c, DWORD error) {
    // Wine reports a silent server with the socket's own error.
    if (error == ERROR_WINHTTP_TIMEOUT || error == kSocketTimedOut) return Fail(c, "time-out");
    if (error == ERROR_WINHTTP_INVALID_URL || error == ERROR_WINHTTP_UNRECOGNIZED_SCHEME) return Fail(c, "bad URL");
    char text[40];
    std::snprintf(text, sizeof text, "WinHTTP error %lu", static_cast<unsigned long>(error));
    Fail(c, text);
}

std::wstring Widen(const std::string& text) {
    const int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(n > 0 ? n : 1, L'\0');
    if (n > 0) MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], n);
    wide.resize(wide.size() - 1);
    return wide;
}

std::string Narrow(const wchar_t* text) {
    const int n = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string narrow(n > 0 ? n : 1, '\0');
    if (n > 0) WideCharToMultiByte(CP_ACP, 0, text, -1, &narrow[0], n, nullptr, nullptr);
    narrow.resize(narrow.size() - 1);
    return narrow;
}

// A response header as text; empty when the answer has none.
std::string QueryText(HINTERNET request, DWORD info) {
    DWORD size = 0;
    WinHttpQueryHeaders(request, info, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER, &size,
                        WINHTTP_NO_HEADER_INDEX);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0) return std::string();
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    if (!WinHttpQueryHeaders(request, info, WINHTTP_HEADER_NAME_BY_INDEX, &text[0], &size, WINHTTP_NO_HEADER_INDEX)) {
        return std::string();
    }
    return Narrow(text.c_str());
}

bool IsRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

enum class Step { Completed, Error, Cancelled, TimedOut };

// Waits for the completion of the call just made, within the time the
// whole conversation has left.
Step Await(Conversation& c) {
    const DWORD elapsed = GetTickCount() - c.startTick;
    if (elapsed >= c.totalMs) return Step::TimedOut;
    const HANDLE events[2] = {c.cancelEvent, c.stepEvent};
    const DWORD woke = WaitForMultipleObjects(2, events, FALSE, c.totalMs - elapsed);
    if (woke == WAIT_OBJECT_0) return Step::Cancelled;
    if (woke != WAIT_OBJECT_0 + 1) return Step::TimedOut;
    Locked lock(c.lock);
    return c.stepStatus == WINHTTP_CALLBACK_STATUS_REQUEST_ERROR ? Step::Error : Step::Completed;
}

// The WinHTTP side of one conversation: a session and its current request,
// all closed by the worker that opened them. The request's context is the
// conversation, so that its completions reach the worker; the conversation
// must outlive the last of them.
class Client {
  public:
    explicit Client(Conversation& c) : c(c) {}
    ~Client() {
        CloseRequest();
        if (session) WinHttpCloseHandle(session);
    }
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    // Carries out the whole conversation, leaving its results in c unless
    // it was cancelled. The last request stays open.
    void Converse();

  private:
    bool OpenSession();
    // Sends the GET for url and waits for the head of the answer. The
    // location is that of a redirect the answer asks for.
    bool Ask(const std::string& url, std::string* location);
    // Reads the body into the conversation's results.
    bool ReadBody();
    // Completes an asynchronous call that started (started: its return value),
    // or fails the conversation; false when it does not go on.
    bool Complete(BOOL started);
    void CloseRequest();

    Conversation& c;
    HINTERNET session = nullptr;
    HINTERNET connect = nullptr;
    HINTERNET request = nullptr;
    bool contextSet = false;
};

void Client::CloseRequest() {
    if (request) {
        ResetEvent(c.closedEvent);
        WinHttpCloseHandle(request);
        // An abandoned call may still end on its own time-out before the
        // closing is reported. A closing that never reports would leave a
        // callback able to reach the conversation: it is then never freed.
        const DWORD limit = c.connectMs + c.idleMs + 10000;
        if (contextSet && WaitForSingleObject(c.closedEvent, limit) != WAIT_OBJECT_0) c.leaked = true;
        request = nullptr;
        contextSet = false;
    }
    if (connect) WinHttpCloseHandle(connect);
    connect = nullptr;
}

bool Client::Complete(BOOL started) {
    if (!started) {
        FailWithError(c, GetLastError());
        return false;
    }
    switch (Await(c)) {
        case Step::Completed:
            return true;
        case Step::Error:
            FailWithError(c, c.stepError);
            return false;
        case Step::TimedOut:
            Fail(c, "time-out");
            return false;
        case Step::Cancelled:
            return false;
    }
    return false;
}

bool Client::Ask(const std::string& url, std::string* location) {
    const std::wstring wide = Widen(url);
    URL_COMPONENTS parts = {};
    parts.dwStructSize = sizeof parts;
    parts.dwSchemeLength = parts.dwHostNameLength = parts.dwUrlPathLength = parts.dwExtraInfoLength = DWORD(-1);
    if (!WinHttpCrackUrl(wide.c_str(), 0, 0, &parts) || parts.dwHostNameLength == 0 ||
        (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)) {
        Fail(c, "bad URL");
        return false;
    }
    const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    std::wstring path = std::wstring(parts.lpszUrlPath, parts.dwUrlPathLength) +
                        std::wstring(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    path = path.substr(0, path.find(L'#'));  // a fragment is never sent
    if (path.empty() || path[0] != L'/') path.insert(0, L"/");

    connect = WinHttpConnect(session, host.c_str(), parts.nPort, 0);
    if (connect) {
        request =
            WinHttpOpenRequest(connect, L"GET", path.c_str(), nullptr, WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                               parts.nScheme == INTERNET_SCHEME_HTTPS ? WINHTTP_FLAG_SECURE : 0);
    }
    if (!request) {
        FailWithError(c, GetLastError());
        return false;
    }
    DWORD disable = WINHTTP_DISABLE_REDIRECTS;  // followed here, counted and reported
    WinHttpSetOption(request, WINHTTP_OPTION_DISABLE_FEATURE, &disable, sizeof disable);
    DWORD_PTR context = reinterpret_cast<DWORD_PTR>(&c);
    contextSet = WinHttpSetOption(request, WINHTTP_OPTION_CONTEXT_VALUE, &context, sizeof context) != FALSE;
    const BOOL sent = WinHttpSendRequest(request, L"Accept: application/rdap+json", DWORD(-1), WINHTTP_NO_REQUEST_DATA,
                                         0, 0, context);
    contextSet = true;  // the send records the context even where the option is unknown
    if (!Complete(sent) || !Complete(WinHttpReceiveResponse(request, nullptr))) return false;

    DWORD status = 0, size = sizeof status;
    WinHttpQueryHeaders(request, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX,
                        &status, &size, WINHTTP_NO_HEADER_INDEX);
    c.status = static_cast<int>(status);
    const std::string reason = QueryText(request, WINHTTP_QUERY_STATUS_TEXT);
    std::snprintf(c.statusLine, sizeof c.statusLine, "%s %03d%s%s", QueryText(request, WINHTTP_QUERY_VERSION).c_str(),
                  c.status, reason.empty() ? "" : " ", reason.c_str());
    location->clear();
    if (IsRedirect(c.status)) *location = QueryText(request, WINHTTP_QUERY_LOCATION);
    return true;
}

bool Client::ReadBody() {
    for (;;) {
        // Asking what has arrived first lets each read complete at once: a
        // read for more may wait until its whole buffer is filled.
        if (!Complete(WinHttpQueryDataAvailable(request, nullptr))) return false;
        if (c.stepBytes == 0) return true;
        const DWORD wanted = c.stepBytes < sizeof c.readArea ? c.stepBytes : sizeof c.readArea;
        if (!Complete(WinHttpReadData(request, c.readArea, wanted, nullptr))) return false;
        const DWORD n = c.stepBytes;
        if (n == 0) return true;
        if (c.body.length + static_cast<int64_t>(n) > RdapConnection::kMaxAnswerBytes) {
            Fail(c, "answer over 4 MiB");
            return false;
        }
        if (!c.body.Keep(c.readArea, n)) {
            Fail(c, "out of memory");
            return false;
        }
    }
}

bool Client::OpenSession() {
    session = WinHttpOpen(L"Ownerlens", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                          WINHTTP_NO_PROXY_BYPASS, WINHTTP_FLAG_ASYNC);
    if (!session) {
        FailWithError(c, GetLastError());
        return false;
    }
    // TLS 1.1 and 1.2 where the system knows them; older systems keep their
    // defaults, and a server that insists on newer fails the request.
    DWORD protocols =
        WINHTTP_FLAG_SECURE_PROTOCOL_TLS1 | WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_1 | WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2;
    WinHttpSetOption(session, WINHTTP_OPTION_SECURE_PROTOCOLS, &protocols, sizeof protocols);
    WinHttpSetTimeouts(session, static_cast<int>(c.connectMs), static_cast<int>(c.connectMs),
                       static_cast<int>(c.idleMs), static_cast<int>(c.idleMs));
    // Waiting for the head of the answer has a limit of its own, not always
    // the receive time-out's.
    DWORD headWait = c.idleMs;
    WinHttpSetOption(session, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &headWait, sizeof headWait);
    WinHttpSetStatusCallback(session, OnStatus, WINHTTP_CALLBACK_FLAG_ALL_COMPLETIONS | WINHTTP_CALLBACK_FLAG_HANDLES,
                             0);
    return true;
}

void Client::Converse() {
    if (!OpenSession()) return;
    std::string url = c.url;
    for (int redirects = 0;; ++redirects) {
        c.finalUrl = url;
        std::string location;
        if (!Ask(url, &location)) return;
        if (location.empty()) {
            if (ReadBody()) c.kind = RdapConnection::Answered;
            return;
        }
        if (redirects == RdapConnection::kMaxRedirects) return Fail(c, "too many redirects");
        url = ResolveLocation(url, location);
        CloseRequest();
    }
}

DWORD WINAPI Worker(void* parameter) {
    auto* c = static_cast<Conversation*>(parameter);
    {
        Client client(*c);
        client.Converse();
        // Posted before the handles close: closing may wait for a call it
        // abandons.
        Locked lock(c->lock);
        c->finished = true;
        if (!c->cancelled) PostMessageA(c->owner, c->message, c->tag, c->serial);
    }
    if (!c->leaked) Release(c);
    InterlockedDecrement(&g_running);
    return 0;
}

}  // namespace

RdapConnection::~RdapConnection() {
    Cancel();
}

bool RdapConnection::Start(HWND owner, UINT message, WPARAM tag, const char* url) {
    Cancel();
    if (!owner || !url) return false;
    auto* c = new (std::nothrow) Conversation;
    if (!c) return false;
    if (!c->cancelEvent || !c->stepEvent || !c->closedEvent) {
        delete c;
        return false;
    }
    c->owner = owner;
    c->message = message;
    c->tag = tag;
    c->serial = InterlockedIncrement(&g_serial);
    c->connectMs = connectTimeoutMs;
    c->idleMs = idleTimeoutMs;
    c->totalMs = totalTimeoutMs;
    c->startTick = GetTickCount();
    c->url = url;
    InterlockedIncrement(&g_running);
    // A small stack: the buffers live in the conversation.
    HANDLE thread = CreateThread(nullptr, 128 * 1024, Worker, c, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (!thread) {
        InterlockedDecrement(&g_running);
        delete c;
        return false;
    }
    CloseHandle(thread);
    current = c;
    return true;
}

void RdapConnection::Cancel() {
    if (!current) return;
    {
        Locked lock(current->lock);
        current->cancelled = true;
    }
    SetEvent(current->cancelEvent);
    Release(current);
    current = nullptr;
}

bool RdapConnection::TakeOutcome(LPARAM outcome) {
    if (!current || current->serial != outcome || current->taken || !Finished()) return false;
    current->taken = true;
    return true;
}

const RdapConnection::Conversation* RdapConnection::Finished() const {
    if (!current) return nullptr;
    Locked lock(current->lock);
    return current->finished ? current : nullptr;
}

RdapConnection::Kind RdapConnection::ResultKind() const {
    const Conversation* c = Finished();
    return c ? c->kind : None;
}

int RdapConnection::StatusCode() const {
    const Conversation* c = Finished();
    return c ? c->status : 0;
}

const char* RdapConnection::StatusLine() const {
    const Conversation* c = Finished();
    return c ? c->statusLine : "";
}

const char* RdapConnection::FinalUrl() const {
    const Conversation* c = Finished();
    return c ? c->finalUrl.c_str() : "";
}

const char* RdapConnection::Body() const {
    const Conversation* c = Finished();
    return c ? c->body.Text() : "";
}

int32_t RdapConnection::BodyLength() const {
    const Conversation* c = Finished();
    return c ? c->body.length : 0;
}

const char* RdapConnection::FailureText() const {
    const Conversation* c = Finished();
    return c ? c->failure : "";
}

int RdapConnection::RunningWorkers() {
    return static_cast<int>(InterlockedCompareExchange(&g_running, 0, 0));
}
