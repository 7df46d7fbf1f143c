#include "lookup/async_socket.h"

#include <cstdlib>
#include <cstring>

#include "framework/app.h"
#include "framework/fault_guard.h"
#include "framework/messages.h"

namespace {

const char kSocketWindowClass[] = "MySockWinCls";
constexpr long kAllEvents = FD_READ | FD_WRITE | FD_OOB | FD_ACCEPT | FD_CONNECT | FD_CLOSE;
static_assert(kAllEvents == 0x3F, "the six events");

HWND g_socketWindow = nullptr;
int g_liveHostBuffers = 0;

char* NewHostBuffer() {
    char* buffer = static_cast<char*>(std::calloc(1, MAXGETHOSTSTRUCT));
    if (buffer) ++g_liveHostBuffers;
    return buffer;
}

void FreeHostBufferBlock(void* buffer) {
    if (buffer) --g_liveHostBuffers;
    std::free(buffer);
}

// Wine's cancel reports success but cancels nothing: the lookup still
// writes into its buffer and posts its completion, so there a cancel is
// taken as failed and the buffer waits for that completion.
int WSAAPI CancelUnlessWine(HANDLE handle) {
    static const bool wine = GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
    return wine ? SOCKET_ERROR : WSACancelAsyncRequest(handle);
}

// Buffers of lookups that were abandoned while the platform may still be
// filling them: freed when their completion message arrives, never before.
HandleMap& OrphanBuffers() {
    static HandleMap map;
    return map;
}

struct SocketCall {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

void DeliverHostResolved(AsyncSocket* owner, int error) {
    // Detached first: the handler may start another lookup with a new buffer.
    char* buffer = owner->hostBuffer;
    owner->hostBuffer = nullptr;
    owner->lookupHandle = nullptr;
    AsyncSocket::LookupMap().Remove(owner);
    owner->OnHostResolved(reinterpret_cast<const hostent*>(buffer), error);
    if (!owner->lookupHandle) owner->pendingPort = -1;
    FreeHostBufferBlock(buffer);
}

LRESULT HandleSocketMessage(void* context) {
    const SocketCall& call = *static_cast<SocketCall*>(context);
    switch (call.message) {
        case UM_SOCKETEVENT: {
            auto* owner = static_cast<AsyncSocket*>(AsyncSocket::SocketMap().Find(call.wParam));
            if (owner) owner->OnSocketEvent(WSAGETSELECTEVENT(call.lParam), WSAGETSELECTERROR(call.lParam));
            break;
        }
        case UM_HOSTRESOLVED: {
            HANDLE handle = reinterpret_cast<HANDLE>(call.wParam);
            auto* owner = static_cast<AsyncSocket*>(AsyncSocket::LookupMap().Find(call.wParam));
            if (owner && owner->lookupHandle == handle && owner->hostBuffer) {
                DeliverHostResolved(owner, WSAGETASYNCERROR(call.lParam));
            } else if (void* orphan = OrphanBuffers().Find(call.wParam)) {
                OrphanBuffers().Remove(orphan);
                FreeHostBufferBlock(orphan);
            }
            break;
        }
        case WM_TIMER: {
            // A fired time-out is over: the owner arms another if its
            // conversation goes on, and none is left repeating at an old rate.
            auto* owner = static_cast<AsyncSocket*>(AsyncSocket::TimerMap().Find(call.wParam));
            if (owner) {
                owner->KillTimeout();
                if (owner->socket != INVALID_SOCKET) owner->OnTimeout();
            } else {
                KillTimer(call.window, call.wParam);
            }
            return 0;
        }
        default:
            break;
    }
    return 0;
}

}  // namespace

bool FirstHostAddress(const hostent* entry, uint32_t* address) {
    if (!entry || entry->h_addrtype != AF_INET || entry->h_length != 4 || !entry->h_addr_list ||
        !entry->h_addr_list[0]) {
        return false;
    }
    std::memcpy(address, entry->h_addr_list[0], 4);
    return true;
}

HandleMap& AsyncSocket::SocketMap() {
    static HandleMap map;
    return map;
}

HandleMap& AsyncSocket::LookupMap() {
    static HandleMap map;
    return map;
}

HandleMap& AsyncSocket::TimerMap() {
    static HandleMap map;
    return map;
}

int AsyncSocket::LiveHostBuffers() {
    return g_liveHostBuffers;
}

HANDLE(WSAAPI* AsyncSocket::startLookup)(HWND, u_int, const char*, char*, int) = WSAAsyncGetHostByName;
int(WSAAPI* AsyncSocket::cancelLookup)(HANDLE) = CancelUnlessWine;

AsyncSocket::AsyncSocket() = default;

// The hidden window stays until the process ends, whatever the number of
// socket objects: a lookup completion may still be on its way to it.
AsyncSocket::~AsyncSocket() {
    CancelHostLookup();
    CloseSocket();
    KillTimeout();
    FreeHostBuffer();
}

LRESULT CALLBACK AsyncSocket::SocketWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == UM_SOCKETEVENT || message == UM_HOSTRESOLVED || message == WM_TIMER) {
        SocketCall call = {window, message, wParam, lParam};
        CallGuarded(window, HandleSocketMessage, &call);
        if (message == WM_TIMER) return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND AsyncSocket::EnsureSocketWindow() {
    if (g_socketWindow && IsWindow(g_socketWindow)) return g_socketWindow;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = SocketWindowProc;
    wc.hInstance = AppInstance();
    wc.lpszClassName = kSocketWindowClass;
    RegisterClassA(&wc);  // fails harmlessly when the class exists
    g_socketWindow =
        CreateWindowExA(0, kSocketWindowClass, "", 0, 0, 0, 0, 0, nullptr, nullptr, AppInstance(), nullptr);
    return g_socketWindow;
}

HWND AsyncSocket::SocketWindow() {
    return g_socketWindow;
}

void AsyncSocket::OnSocketEvent(int event, int error) {
    switch (event) {
        case FD_READ:
            OnRead(error);
            break;
        case FD_WRITE:
            OnWrite(error);
            break;
        case FD_OOB:
            OnOutOfBand(error);
            break;
        case FD_ACCEPT:
            OnAccept(error);
            break;
        case FD_CONNECT:
            OnConnect(error);
            break;
        case FD_CLOSE:
            OnClose(error);
            break;
        default:
            break;
    }
}

void AsyncSocket::OnRead(int) {}
void AsyncSocket::OnWrite(int) {}
void AsyncSocket::OnOutOfBand(int) {}
void AsyncSocket::OnAccept(int) {}
void AsyncSocket::OnClose(int) {
    CloseSocket();
}
void AsyncSocket::OnConnect(int) {}
void AsyncSocket::OnTimeout() {}

void AsyncSocket::OnHostResolved(const hostent* entry, int error) {
    if (pendingPort == -1) return;  // abandoned meanwhile
    if (error == 0) {
        ConnectResolved(entry, pendingPort);
    } else {
        OnConnect(error);
    }
}

bool AsyncSocket::SelectEvents(long mask) {
    if (socket == INVALID_SOCKET) return false;
    HWND window = EnsureSocketWindow();
    if (!window) return false;
    return WSAAsyncSelect(socket, window, UM_SOCKETEVENT, mask) == 0;
}

namespace {
int ConnectTo(SOCKET s, uint32_t address, int port) {
    sockaddr_in remote = {};
    remote.sin_family = AF_INET;
    remote.sin_addr.s_addr = address;
    remote.sin_port = htons(static_cast<u_short>(port));
    if (connect(s, reinterpret_cast<sockaddr*>(&remote), sizeof remote) == 0) return 1;
    return WSAGetLastError() == WSAEWOULDBLOCK ? 1 : 0;
}
}  // namespace

int AsyncSocket::ConnectToHost(const char* name, int port) {
    const unsigned long literal = inet_addr(name);
    if (literal == INADDR_NONE && std::strcmp(name, "255.255.255.255") != 0) {
        pendingPort = port;
        return StartHostLookup(name);
    }
    return ConnectTo(socket, static_cast<uint32_t>(literal), port);
}

int AsyncSocket::ConnectToAddress(uint32_t address, int port) {
    return ConnectTo(socket, address, port);
}

int AsyncSocket::ConnectResolved(const hostent* entry, int port) {
    uint32_t address = 0;
    if (!FirstHostAddress(entry, &address)) {
        OnConnect(0xFFFF);
        return 0;
    }
    if (ConnectTo(socket, address, port)) return 1;
    OnConnect(WSAGetLastError());
    return 0;
}

int AsyncSocket::StartHostLookup(const char* name) {
    AbandonLookup();
    FreeHostBuffer();
    hostBuffer = NewHostBuffer();
    if (!hostBuffer) return 0;
    HWND window = EnsureSocketWindow();
    lookupHandle = window ? startLookup(window, UM_HOSTRESOLVED, name, hostBuffer, MAXGETHOSTSTRUCT) : nullptr;
    if (!lookupHandle) {
        FreeHostBuffer();
        return 0;
    }
    LookupMap().Remove(this);
    LookupMap().Add(this, reinterpret_cast<uintptr_t>(lookupHandle));
    return 1;
}

void AsyncSocket::CancelHostLookup() {
    pendingPort = -1;
    AbandonLookup();
}

void AsyncSocket::AbandonLookup() {
    LookupMap().Remove(this);
    if (lookupHandle) {
        // A cancelled lookup never completes, so its buffer goes now; one
        // that could not be cancelled may still write into it: handed to the
        // orphans, it is freed when its completion arrives.
        if (cancelLookup(lookupHandle) == 0) {
            FreeHostBuffer();
        } else if (hostBuffer) {
            OrphanBuffers().Add(hostBuffer, reinterpret_cast<uintptr_t>(lookupHandle));
        }
        hostBuffer = nullptr;
        lookupHandle = nullptr;
    }
}

int AsyncSocket::CloseSocket() {
    CancelHostLookup();
    if (socket == INVALID_SOCKET) return 0;
    // closesocket ends the notifications itself (one already queued stays
    // queued either way): stopping them first cost two trips to Wine's
    // server per conversation, about a tenth of a lookup.
    SocketMap().Remove(this);
    const int result = closesocket(socket) == 0 ? 1 : 0;
    socket = INVALID_SOCKET;
    return result;
}

void AsyncSocket::FreeHostBuffer() {
    FreeHostBufferBlock(hostBuffer);
    hostBuffer = nullptr;
}

void AsyncSocket::ArmTimeout(uint32_t milliseconds) {
    HWND window = EnsureSocketWindow();
    if (!window || socket == INVALID_SOCKET || milliseconds == 0) return;
    // Setting a timer of the same id replaces it.
    const UINT_PTR id = reinterpret_cast<UINT_PTR>(this);
    if (!SetTimer(window, id, milliseconds, nullptr)) {
        KillTimeout();
        return;
    }
    if (!timerId) TimerMap().Add(this, id);
    timerId = id;
}

void AsyncSocket::KillTimeout() {
    if (!timerId) return;
    if (g_socketWindow) KillTimer(g_socketWindow, timerId);
    TimerMap().Remove(this);
    timerId = 0;
}
