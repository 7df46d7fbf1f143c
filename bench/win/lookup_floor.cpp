// What one lookup at a time costs below the program, under Wine or Windows:
// asks the given WHOIS servers in turn, first with the least a Winsock
// client can do (socket, event selection, connect, send, read to the close,
// close), then with the program's own connection (WhoisConnection) and no
// scheduler, list or parser. Prints lookups per second of each; the
// end-to-end benchmark puts them beside the whole program's. Not a test.
//   lookup_floor.exe count host:port [host:port ...]
#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/app.h"
#include "framework/messages.h"
#include "lookup/whois_connection.h"
#include "whois/server_selection.h"

namespace {

constexpr UINT kBareEvent = WM_APP + 1;

struct Run {
    std::vector<sockaddr_in> servers;
    int count = 0, started = 0, answered = 0;
    SOCKET socket = INVALID_SOCKET;
    bool done = false;
    char buffer[4096];
};
Run g_run;
HWND g_window = nullptr;

void StartBare() {
    Run& r = g_run;
    const sockaddr_in& to = r.servers[static_cast<size_t>(r.started++) % r.servers.size()];
    r.socket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    WSAAsyncSelect(r.socket, g_window, kBareEvent, FD_CONNECT | FD_READ | FD_CLOSE);
    connect(r.socket, reinterpret_cast<const sockaddr*>(&to), sizeof to);
}

void Next() {
    if (++g_run.answered == g_run.count) {
        g_run.done = true;
    } else {
        StartBare();
    }
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Run& r = g_run;
    if (message == UM_LOOKUPDONE) r.done = true;
    if (message != kBareEvent || static_cast<SOCKET>(wParam) != r.socket) {
        return DefWindowProcA(window, message, wParam, lParam);
    }
    switch (WSAGETSELECTEVENT(lParam)) {
        case FD_CONNECT:
            if (WSAGETSELECTERROR(lParam) == 0) {
                const char query[] = "n + 192.0.2.1\r\n";
                send(r.socket, query, sizeof query - 1, 0);
            } else {
                closesocket(r.socket);
                Next();
            }
            break;
        case FD_READ:
            recv(r.socket, r.buffer, sizeof r.buffer, 0);
            break;
        case FD_CLOSE:
            while (recv(r.socket, r.buffer, sizeof r.buffer, 0) > 0) {
            }
            closesocket(r.socket);
            Next();
            break;
        default:
            break;
    }
    return 0;
}

double Seconds(const LARGE_INTEGER& from) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void Pump() {
    MSG msg;
    while (!g_run.done && GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    g_run.done = false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "lookup_floor.exe count host:port [host:port ...]\n");
        return 2;
    }
    SetAppInstance(GetModuleHandleA(nullptr));
    WSADATA data;
    WSAStartup(MAKEWORD(1, 1), &data);
    g_run.count = std::atoi(argv[1]);
    std::vector<std::string> names(argv + 2, argv + argc);
    for (const std::string& name : names) {
        sockaddr_in to = {};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = inet_addr(name.substr(0, name.find(':')).c_str());
        to.sin_port = htons(static_cast<u_short>(std::atoi(name.substr(name.find(':') + 1).c_str())));
        g_run.servers.push_back(to);
    }
    WNDCLASSA type = {};
    type.lpfnWndProc = WindowProc;
    type.hInstance = AppInstance();
    type.lpszClassName = "LookupFloor";
    RegisterClassA(&type);
    g_window = CreateWindowExA(0, "LookupFloor", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, AppInstance(), nullptr);

    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    StartBare();
    Pump();
    std::printf("bare Winsock client: %.1f lookups/s\n", g_run.count / Seconds(start));

    // The registries' servers in the order the bare client asked them.
    const int32_t registries[] = {RegistryArin, RegistryRipe, RegistryApnic, RegistryLacnic, RegistryAfrinic};
    WhoisConnection connection;
    for (size_t i = 0; i < names.size() && i < 5; ++i) connection.servers.Set(registries[i], names[i].c_str());
    QueryPerformanceCounter(&start);
    for (int i = 0; i < g_run.count; ++i) {
        connection.StartQuery(g_window, inet_addr("192.0.2.1"), registries[static_cast<size_t>(i) % names.size() % 5]);
        Pump();
        connection.TakeOutcome();
    }
    std::printf("the program's connection alone: %.1f lookups/s\n", g_run.count / Seconds(start));
    DestroyWindow(g_window);
    WSACleanup();
    return 0;
}
