// Receives answers of 64 KiB and of 4 MiB from a server on 127.0.0.1 with
// the program's own connection, under Wine or Windows, and prints the
// times and how the large one compares with the small one scaled by size.
// Not a test: figures only.
//   socket_bench.exe [rounds]
#include <winsock2.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "framework/app.h"
#include "framework/messages.h"
#include "lookup/whois_connection.h"
#include "whois/server_selection.h"

namespace {

bool g_done = false;

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == UM_LOOKUPDONE) g_done = true;
    return DefWindowProcA(window, message, wParam, lParam);
}

// Serves one connection: reads the query line, sends the answer, closes.
double ReceiveSeconds(HWND owner, WhoisConnection& connection, const std::string& answer) {
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in local = {};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = inet_addr("127.0.0.1");
    bind(listener, reinterpret_cast<sockaddr*>(&local), sizeof local);
    int size = sizeof local;
    getsockname(listener, reinterpret_cast<sockaddr*>(&local), &size);
    listen(listener, 1);
    std::thread server([&] {
        SOCKET conn = accept(listener, nullptr, nullptr);
        char c = 0;
        while (c != '\n' && recv(conn, &c, 1, 0) == 1) {
        }
        for (size_t done = 0; done < answer.size();) {
            const int sent = send(conn, answer.data() + done, static_cast<int>(answer.size() - done), 0);
            if (sent <= 0) break;
            done += static_cast<size_t>(sent);
        }
        closesocket(conn);
    });
    connection.servers.Set(RegistryArin, ("127.0.0.1:" + std::to_string(ntohs(local.sin_port))).c_str());
    LARGE_INTEGER f, t0, t1;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t0);
    g_done = false;
    connection.StartQuery(owner, inet_addr("198.51.100.7"), RegistryArin);
    MSG msg;
    while (!g_done && GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    QueryPerformanceCounter(&t1);
    connection.TakeOutcome();
    server.join();
    closesocket(listener);
    if (connection.response.length != static_cast<int32_t>(answer.size())) std::printf("short answer!\n");
    return static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(f.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    SetAppInstance(GetModuleHandleA(nullptr));
    WSADATA data;
    WSAStartup(MAKEWORD(1, 1), &data);
    HWND owner = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, AppInstance(), nullptr);
    SetWindowLongPtrA(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OwnerProc));
    WhoisConnection connection;
    const std::string small(65536, 'x'), large(WhoisConnection::kMaxAnswerBytes, 'x');
    // The best of several rounds: the machine is shared.
    double smallBest = 1e9, largeBest = 1e9;
    for (int i = 0; i < rounds; ++i) {
        smallBest = std::min(smallBest, ReceiveSeconds(owner, connection, small));
        largeBest = std::min(largeBest, ReceiveSeconds(owner, connection, large));
    }
    const long long moved = connection.response.bytesMoved;  // by the growth of the last 4 MiB answer
    const double scale = static_cast<double>(large.size()) / static_cast<double>(small.size());
    std::printf(
        "64 KiB answer %.3f ms\n4 MiB answer %.3f ms (%lld bytes moved while growing)\n"
        "4 MiB / (64 KiB x %.0f) %.2f (at most 2)\n",
        smallBest * 1000, largeBest * 1000, moved, scale, largeBest / (smallBest * scale));
    DestroyWindow(owner);
    WSACleanup();
    return 0;
}
