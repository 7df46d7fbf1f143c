#pragma once
// Non-blocking sockets that report their events as messages to one hidden
// window of class "MySockWinCls", and asynchronous host lookups that report
// the same way, so that the user-interface thread talks to servers without a
// thread of its own. Winsock 1.1 only.

#include <winsock2.h>
#include <windows.h>

#include <cstdint>

#include "base/handle_map.h"

// The first address of a host entry (network byte order) when it is an IPv4
// entry with at least one address.
bool FirstHostAddress(const hostent* entry, uint32_t* address);

class AsyncSocket {
  public:
    AsyncSocket();
    AsyncSocket(const AsyncSocket&) = delete;
    AsyncSocket& operator=(const AsyncSocket&) = delete;
    virtual ~AsyncSocket();

    // Dispatches a socket event (FD_READ ...) to the operation below.
    virtual void OnSocketEvent(int event, int error);
    virtual void OnRead(int error);
    virtual void OnWrite(int error);
    virtual void OnOutOfBand(int error);
    virtual void OnAccept(int error);
    // Base: closes the socket.
    virtual void OnClose(int error);
    virtual void OnConnect(int error);
    // Connects to the resolved host, or reports the lookup's error through
    // OnConnect, unless the connection was abandoned meanwhile.
    virtual void OnHostResolved(const hostent* entry, int error);
    // The time-out armed with ArmTimeout has passed.
    virtual void OnTimeout();

    // Creates the hidden window on first use; null if it cannot be created.
    static HWND EnsureSocketWindow();
    static HWND SocketWindow();

    bool SelectEvents(long mask);
    // 1 when the connection to name:port is under way, 0 on failure (the
    // error then stays the thread's last socket error).
    int ConnectToHost(const char* name, int port);
    int ConnectResolved(const hostent* entry, int port);
    // Connects to an address (network byte order) without a lookup.
    int ConnectToAddress(uint32_t address, int port);
    int StartHostLookup(const char* name);
    void CancelHostLookup();
    // 1 when an open socket was closed successfully.
    int CloseSocket();
    void FreeHostBuffer();
    // (Re)arms the one time-out of this object. It outlives the socket:
    // one conversation after another would otherwise set and kill a timer
    // each, two trips to the window server. Once fired it is killed, and
    // OnTimeout arms another while the conversation goes on.
    void ArmTimeout(uint32_t milliseconds);
    bool TimeoutArmed() const { return timerId != 0; }
    void KillTimeout();

    SOCKET socket = INVALID_SOCKET;
    char* hostBuffer = nullptr;  // MAXGETHOSTSTRUCT bytes while a lookup runs
    HANDLE lookupHandle = nullptr;
    int32_t pendingPort = -1;  // port to connect to once the lookup is done

    // Socket handle -> object, lookup handle -> object, timer id -> object.
    static HandleMap& SocketMap();
    static HandleMap& LookupMap();
    static HandleMap& TimerMap();
    // Host lookup buffers allocated and not yet freed, abandoned ones included.
    static int LiveHostBuffers();

    // The platform's host lookup calls; tests put fakes in their place.
    static HANDLE(WSAAPI* startLookup)(HWND, u_int, const char*, char*, int);
    static int(WSAAPI* cancelLookup)(HANDLE);

  private:
    // Forgets a pending lookup without touching pendingPort.
    void AbandonLookup();
    static LRESULT CALLBACK SocketWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    UINT_PTR timerId = 0;  // while a time-out is armed, its id: this object's address
};
