#pragma once
// A WHOIS server on 127.0.0.1 in a thread of the test process: it accepts
// connections one after the other, reads each query line and hands the
// connection to a behaviour.
#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <thread>
#include <vector>

class TestServer {
  public:
    explicit TestServer(std::function<void(SOCKET)> behaviour) : behaviour_(std::move(behaviour)) {
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in local = {};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = inet_addr("127.0.0.1");
        bind(listener_, reinterpret_cast<sockaddr*>(&local), sizeof local);
        listen(listener_, 8);
        int size = sizeof local;
        getsockname(listener_, reinterpret_cast<sockaddr*>(&local), &size);
        port = ntohs(local.sin_port);
        thread_ = std::thread([this] {
            for (SOCKET conn; (conn = accept(listener_, nullptr, nullptr)) != INVALID_SOCKET; closesocket(conn)) {
                std::string query;
                char c;
                while (query.find('\n') == std::string::npos && recv(conn, &c, 1, 0) == 1) query += c;
                queries.push_back(query);
                behaviour_(conn);
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

    int port = 0;
    std::vector<std::string> queries;

  private:
    std::function<void(SOCKET)> behaviour_;
    SOCKET listener_ = INVALID_SOCKET;
    std::thread thread_;
};

// A manual-reset event that a server's thread sets for the test to wait on.
struct Event {
    HANDLE handle = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ~Event() { CloseHandle(handle); }
    void Set() { SetEvent(handle); }
    bool IsSet() const { return WaitForSingleObject(handle, 0) == WAIT_OBJECT_0; }
    void Wait() const { WaitForSingleObject(handle, 20000); }
};

inline void SendAll(SOCKET s, const std::string& data) {
    for (size_t done = 0, n; done < data.size(); done += n) {
        const int sent = send(s, data.data() + done, static_cast<int>(std::min<size_t>(data.size() - done, 65536)), 0);
        if (sent <= 0) return;
        n = static_cast<size_t>(sent);
    }
}

inline void Reset(SOCKET s) {
    linger l = {1, 0};
    setsockopt(s, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&l), sizeof l);
}

// Waits in a blocking recv until the client closes (or the test ends).
inline void HoldOpen(SOCKET s) {
    char buffer[256];
    while (recv(s, buffer, sizeof buffer, 0) > 0) {
    }
}
