#include "lookup/whois_connection.h"

#include <cstring>

#include "whois/server_selection.h"
#include "framework/messages.h"

WhoisConnection::WhoisConnection() = default;

void WhoisConnection::ForgetPostedOutcome() {
    if (outcomePosted) ++staleOutcomes;
    outcomePosted = false;
}

bool WhoisConnection::TakeOutcome() {
    if (staleOutcomes > 0) {
        --staleOutcomes;
        return false;
    }
    outcomePosted = false;
    return true;
}

int WhoisConnection::StartQuery(HWND owner, uint32_t address, int32_t registry) {
    ForgetPostedOutcome();
    response.Reset();
    cancelled = 0;
    sendPending = 1;
    ownerWindow = owner;
    if (!EnsureSocketWindow()) return 0;
    server = servers.ServerFor(registry);
    BuildQuery(registry, address, query);
    startTick = GetTickCount();
    return Open(true);
}

int WhoisConnection::Open(bool knownAddress) {
    CloseSocket();
    connected = false;
    socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (socket == INVALID_SOCKET) return 0;
    SocketMap().Add(this, static_cast<uintptr_t>(socket));

    // A socket that cannot start its conversation is closed at once, so
    // that no event of it can arrive later; the error stays the thread's.
    auto giveUp = [this]() {
        const int error = WSAGetLastError();
        CloseSocket();
        WSASetLastError(error);
        return 0;
    };
    // No FD_WRITE: the query goes out when the connection is made, which
    // spares a message per conversation; FD_WRITE is asked for only when
    // that send would block.
    // No explicit bind to the wildcard address: connect binds the socket
    // the same way, without two more trips to Wine's server.
    if (!SelectEvents(FD_READ | FD_OOB | FD_ACCEPT | FD_CONNECT | FD_CLOSE)) return giveUp();
    if (!server.host[0]) return giveUp();

    const auto known =
        knownHosts ? knownHosts->addresses.find(server.host) : std::map<std::string, uint32_t>::iterator();
    byKnownAddress = knownAddress && knownHosts && known != knownHosts->addresses.end();
    if (!(byKnownAddress ? ConnectToAddress(known->second, server.port) : ConnectToHost(server.host, server.port)))
        return giveUp();
    ArmStepTimeout(connectTimeoutMs);
    return 1;
}

bool WhoisConnection::RetryWithLookup() {
    if (!byKnownAddress || connected) return false;
    // The host may have moved: look it up again, once.
    knownHosts->addresses.erase(server.host);
    if (Open(false)) return true;
    ReportDone(1, WSAGetLastError());
    EndConversation();
    return true;
}

void WhoisConnection::OnHostResolved(const hostent* entry, int error) {
    uint32_t address = 0;
    if (knownHosts && error == 0 && pendingPort != -1 && FirstHostAddress(entry, &address))
        knownHosts->addresses[server.host] = address;
    AsyncSocket::OnHostResolved(entry, error);
}

void WhoisConnection::CancelQuery() {
    ForgetPostedOutcome();
    EndConversation();
}

void WhoisConnection::EndConversation() {
    cancelled = 1;
    CloseSocket();
}

void WhoisConnection::ReportDone(int failed, int code) {
    if (cancelled || !ownerWindow) return;
    if (PostMessageA(ownerWindow, UM_LOOKUPDONE, Outcome(failed), static_cast<LPARAM>(code))) {
        outcomePosted = true;
    }
}

void WhoisConnection::PostStartFailure(HWND owner) {
    if (PostMessageA(owner, UM_LOOKUPDONE, Outcome(1), 0)) outcomePosted = true;
}

void WhoisConnection::Fail(int code) {
    ReportDone(1, code);
    response.Clear();  // the memory of a refused answer goes at once
    EndConversation();
}

void WhoisConnection::ArmStepTimeout(uint32_t milliseconds) {
    // Each byte re-arms the idle time-out, so a server that trickles would
    // hold the conversation open for ever without a limit on the whole.
    const DWORD now = GetTickCount(), elapsed = now - startTick;
    if (elapsed >= totalTimeoutMs) {
        Fail(WSAETIMEDOUT);
        return;
    }
    const uint32_t left = totalTimeoutMs - elapsed;
    const uint32_t step = milliseconds < left ? milliseconds : left;
    stepDeadline = now + step;
    // A timer that fires no later stays set and, when it fires early, looks
    // at the deadline again: setting it anew on every event cost a trip to
    // the window server each time.
    if (TimeoutArmed() && static_cast<int32_t>(stepDeadline - timerDeadline) >= 0) return;
    timerDeadline = stepDeadline;
    ArmTimeout(step);
}

bool WhoisConnection::Keep(const char* bytes, int n) {
    if (!response.Keep(bytes, n)) {
        Fail(WSAENOBUFS);
        return false;
    }
    return true;
}

void WhoisConnection::OnRead(int) {
    if (socket == INVALID_SOCKET) return;
    const int n = recv(socket, receiveArea, sizeof receiveArea - 1, 0);
    if (n <= 0) return;  // the close event ends the conversation
    if (Keep(receiveArea, n)) ArmStepTimeout(idleTimeoutMs);
}

void WhoisConnection::OnWrite(int) {
    SendQuery();
}

void WhoisConnection::SendQuery() {
    if (!sendPending || socket == INVALID_SOCKET) return;
    if (send(socket, query, static_cast<int>(std::strlen(query)), 0) == SOCKET_ERROR &&
        WSAGetLastError() == WSAEWOULDBLOCK) {
        SelectEvents(FD_READ | FD_WRITE | FD_OOB | FD_ACCEPT | FD_CONNECT | FD_CLOSE);
        return;
    }
    sendPending = 0;
}

void WhoisConnection::OnConnect(int error) {
    if (error != 0 && RetryWithLookup()) return;
    if (error != 0) {
        ReportDone(1, error);
        EndConversation();
        return;
    }
    connected = true;
    ArmStepTimeout(idleTimeoutMs);
    SendQuery();
}

void WhoisConnection::OnClose(int error) {
    // Wine often reports the close of a reset connection without a read
    // event for the last bytes: they are still in the socket.
    for (;;) {
        if (socket == INVALID_SOCKET) return;
        const int n = recv(socket, receiveArea, sizeof receiveArea - 1, 0);
        if (n <= 0) break;
        if (!Keep(receiveArea, n)) return;
    }
    if (error == WSAENETDOWN) {
        ReportDone(1, error);
        EndConversation();
        return;
    }
    // Any other close, a reset included, answers with what arrived.
    ReportDone(0, error);
    CloseSocket();
}

void WhoisConnection::OnTimeout() {
    const DWORD now = GetTickCount();
    if (static_cast<int32_t>(stepDeadline - now) > 0) {
        timerDeadline = stepDeadline;
        ArmTimeout(stepDeadline - now);
        return;
    }
    if (RetryWithLookup()) return;
    Fail(WSAETIMEDOUT);
}
