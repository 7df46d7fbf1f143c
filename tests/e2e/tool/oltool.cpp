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
//   oltool rows                         print the result list, a line per row,
//                                       the cells separated by TAB
//   oltool crash-text SECONDS           wait for the crash report of the main
//                                       window and print its report text
//   oltool crash-press ACTION           end the crash report: an id (1
//                                       continue, 2 terminate, 3 copy),
//                                       "escape" or "closebox"
//   oltool dialog-press ID              post WM_COMMAND ID to the dialog that
//                                       the main window shows
//   oltool http://...                   as a browser: with OLTOOL_RECORD set,
//                                       write the address into that file
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char kClass[] = "Velmora_Ownerlens";
constexpr UINT kSenderProcess = 0x500;
constexpr UINT kSenderText = 0x501;

// The main window of the program named by OLTOOL_EXE (its full Windows
// path), or of any program when it is not set: tests running side by side
// share one desktop.
bool IsWantedProcess(DWORD pid) {
    char wanted[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("OLTOOL_EXE", wanted, sizeof wanted)) return true;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    if (!process) return false;
    char image[MAX_PATH] = {};
    DWORD size = sizeof image;
    const bool ok = QueryFullProcessImageNameA(process, 0, image, &size) != 0;
    CloseHandle(process);
    return ok && lstrcmpiA(image, wanted) == 0;
}

HWND MainWindow() {
    HWND w = nullptr;
    while ((w = FindWindowExA(nullptr, w, kClass, nullptr)) != nullptr) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (IsWantedProcess(pid)) return w;
    }
    return nullptr;
}

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
        HWND w = nullptr;
        while ((w = FindWindowExA(nullptr, w, kClass, nullptr)) != nullptr) {
            DWORD owner = 0;
            if (GetWindowThreadProcessId(w, &owner) && owner == pi.dwProcessId) sawWindow = true;
        }
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
    // Both sent, not posted: a sent message overtakes posted ones, and the
    // text must stay readable until it has been read.
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(w, kSenderProcess, 0, static_cast<LPARAM>(GetCurrentProcessId()), SMTO_NORMAL, 30000,
                             &result)) {
        return Fail("the main window did not take the sender");
    }
    if (!SendMessageTimeoutA(w, kSenderText, length, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 30000, &result)) {
        return Fail("the main window did not take the text");
    }
    return 0;
}

// Reads the list view of the other process through memory allocated there:
// list-view messages carry pointers that must be valid in the owner.
int Rows() {
    HWND w = MainWindow();
    HWND list = w ? GetDlgItem(w, 259) : nullptr;
    if (!list) return Fail("no result list");
    DWORD pid = 0;
    GetWindowThreadProcessId(list, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return Fail("cannot open the program");
    constexpr int kText = 1024;
    char* remote = static_cast<char*>(
        VirtualAllocEx(process, nullptr, sizeof(LVITEMA) + kText, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!remote) return Fail("cannot allocate in the program");
    const int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int row = 0; row < rows; ++row) {
        std::string line;
        for (int column = 0; column < 18; ++column) {
            LVITEMA item = {};
            item.iSubItem = column;
            item.pszText = remote + sizeof(LVITEMA);
            item.cchTextMax = kText;
            WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
            SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote));
            char text[kText + 1] = {};
            ReadProcessMemory(process, remote + sizeof(LVITEMA), text, kText, nullptr);
            if (column) line += '\t';
            line += text;
        }
        std::printf("%s\n", line.c_str());
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return 0;
}

int Alive() {
    HWND w = MainWindow();
    DWORD_PTR result = 0;
    return w && SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) ? 0 : Fail("not answering");
}

// The crash report: a dialog owned by the main window with the report edit.
HWND CrashDialog() {
    HWND main = MainWindow();
    for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", nullptr); w;
         w = FindWindowExA(nullptr, w, "#32770", nullptr)) {
        if (main && GetWindow(w, GW_OWNER) == main && GetDlgItem(w, 1002) && IsWindowVisible(w)) return w;
    }
    return nullptr;
}

HWND WaitCrashDialog(double seconds) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(seconds * 1000);
    for (;;) {
        HWND d = CrashDialog();
        if (d || GetTickCount() > end) return d;
        Sleep(20);
    }
}

int CrashText(double seconds) {
    HWND d = WaitCrashDialog(seconds);
    if (!d) return Fail("no crash report");
    char text[4096] = {};
    GetDlgItemTextA(d, 1002, text, sizeof text);
    _setmode(_fileno(stdout), _O_BINARY);  // the report's CR LF as they are
    std::fwrite(text, 1, std::strlen(text), stdout);
    return 0;
}

int CrashPress(const std::string& action) {
    HWND d = WaitCrashDialog(10);
    if (!d) return Fail("no crash report");
    if (action == "escape") {
        // To the report edit, which has the focus: the dialog's own keyboard
        // handling turns it into IDCANCEL.
        HWND edit = GetDlgItem(d, 1002);
        PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 1);
        PostMessageA(edit, WM_KEYUP, VK_ESCAPE, 0xC0000001);
        return 0;
    }
    if (action == "closebox") return PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0) ? 0 : Fail("cannot post");
    const int id = std::atoi(action.c_str());
    return PostMessageA(d, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(d, id)))
               ? 0
               : Fail("cannot post");
}

int DialogPress(int id) {
    HWND main = MainWindow();
    for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", nullptr); w;
         w = FindWindowExA(nullptr, w, "#32770", nullptr)) {
        if (main && GetWindow(w, GW_OWNER) == main && IsWindowVisible(w)) {
            return PostMessageA(w, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0) ? 0 : Fail("cannot post");
        }
    }
    return Fail("no dialog");
}

// Started as the browser: records the address it was given.
int RecordAddress(const char* address) {
    char path[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("OLTOOL_RECORD", path, MAX_PATH)) return Fail("OLTOOL_RECORD not set");
    // Written under another name and renamed, so that a reader never sees half.
    const std::string partial = std::string(path) + ".part";
    FILE* f = std::fopen(partial.c_str(), "wb");
    if (!f) return Fail("cannot write the record");
    std::fwrite(address, 1, std::strlen(address), f);
    std::fclose(f);
    return MoveFileExA(partial.c_str(), path, MOVEFILE_REPLACE_EXISTING) ? 0 : Fail("cannot rename the record");
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
    if (verb == "rows") return Rows();
    if (verb == "crash-text") return CrashText(argc >= 3 ? std::atof(argv[2]) : 20);
    if (verb == "crash-press" && argc >= 3) return CrashPress(argv[2]);
    if (verb == "dialog-press" && argc >= 3) return DialogPress(std::atoi(argv[2]));
    if (verb.rfind("http://", 0) == 0) return RecordAddress(argv[1]);
    if (verb == "close") {
        HWND w = MainWindow();
        return w && PostMessageA(w, WM_CLOSE, 0, 0) ? 0 : Fail("no main window");
    }
    return Fail("unknown verb");
}
