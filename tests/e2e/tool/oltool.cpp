// Test companion of the end-to-end tests: does, from a second Windows
// process, what other programs and users do to Ownerlens.exe.
//   oltool run-nowindow EXE [ARGS...]   run EXE; fail if it ever shows its main
//                                       window or exits with a code other than 0
//   oltool wait-window SECONDS          wait until the main window exists
//   oltool handover TEXT                hand TEXT over (UM_SENDERPROCESS, UM_SENDERTEXT)
//   oltool handover-raw LENGTH ADDRESS  hand over a bogus length/address
//   oltool command ID                   post WM_COMMAND ID to the main window
//   oltool alive                        exit 0 when the main window answers
//   oltool close                        post WM_CLOSE to the main window
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char kClass[] = "Velmora_Ownerlens";
constexpr UINT kSenderProcess = 0x500;
constexpr UINT kSenderText = 0x501;

HWND MainWindow() { return FindWindowA(kClass, nullptr); }

int Fail(const char* what) {
    std::fprintf(stderr, "oltool: %s\n", what);
    return 1;
}

std::string Quote(const char* arg) {
    std::string out = "\"";
    for (const char* p = arg; *p; ++p) {
        if (*p == '"') out += '\\';
        out += *p;
    }
    return out + "\"";
}

int RunNoWindow(int argc, char** argv) {
    std::string command = Quote(argv[2]);
    for (int i = 3; i < argc; ++i) command += " " + Quote(argv[i]);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        return Fail("cannot start the program");
    }
    bool sawWindow = false;
    while (WaitForSingleObject(pi.hProcess, 1) == WAIT_TIMEOUT) {
        HWND w = MainWindow();
        DWORD owner = 0;
        if (w && GetWindowThreadProcessId(w, &owner) && owner == pi.dwProcessId) sawWindow = true;
    }
    DWORD code = 99;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    std::printf("exit=%lu window=%d\n", code, sawWindow ? 1 : 0);
    return code == 0 && !sawWindow ? 0 : 1;
}

int WaitWindow(double seconds) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(seconds * 1000);
    while (GetTickCount() < end) {
        HWND w = MainWindow();
        if (w && IsWindowVisible(w)) return 0;
        Sleep(20);
    }
    return Fail("no main window");
}

int HandOver(const void* text, WPARAM length) {
    HWND w = MainWindow();
    if (!w) return Fail("no main window");
    PostMessageA(w, kSenderProcess, 0, static_cast<LPARAM>(GetCurrentProcessId()));
    // Sent, not posted: the text must stay readable until it has been read.
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(w, kSenderText, length, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 30000, &result)) {
        return Fail("the main window did not take the text");
    }
    return 0;
}

int Alive() {
    HWND w = MainWindow();
    DWORD_PTR result = 0;
    return w && SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) ? 0 : Fail("not answering");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Fail("usage: oltool VERB ...");
    const std::string verb = argv[1];
    if (verb == "run-nowindow" && argc >= 3) return RunNoWindow(argc, argv);
    if (verb == "wait-window") return WaitWindow(argc >= 3 ? std::atof(argv[2]) : 20);
    if (verb == "handover" && argc >= 3) return HandOver(argv[2], std::strlen(argv[2]));
    if (verb == "handover-raw" && argc >= 4) {
        return HandOver(reinterpret_cast<const void*>(std::strtoull(argv[3], nullptr, 0)),
                        static_cast<WPARAM>(std::strtoull(argv[2], nullptr, 0)));
    }
    if (verb == "command" && argc >= 3) {
        HWND w = MainWindow();
        return w && PostMessageA(w, WM_COMMAND, static_cast<WPARAM>(std::atoi(argv[2])), 0) ? 0 : Fail("no window");
    }
    if (verb == "alive") return Alive();
    if (verb == "close") {
        HWND w = MainWindow();
        return w && PostMessageA(w, WM_CLOSE, 0, 0) ? 0 : Fail("no main window");
    }
    return Fail("unknown verb");
}
