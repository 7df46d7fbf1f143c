// Test companion of the end-to-end tests: does, from a second Windows process, what other programs and users do
// to Ownerlens.exe. Verbs: run-nowindow EXE ARGS... (fails if EXE shows its main window or exits with a code other
// than 0), visible (the main window is), handover TEXT, handover LENGTH ADDRESS (bogus), command ID, alive, close,
// rows (the result list, TAB between cells), pane (the answer pane's text), press ACTION (prints the report text of the
// main window's dialog, then presses button ACTION, "escape" or "closebox").
#include <windows.h>

#include <commctrl.h>
#include <fcntl.h>
#include <io.h>
#include <process.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int Fail(const char* what) {
    std::fprintf(stderr, "oltool: %s\n", what);
    return 1;
}

// The main window of the program OLTOOL_EXE names (its full Windows path; any when unset): tests side by side
// share one desktop.
HWND MainWindow() {
    char wanted[MAX_PATH] = {}, image[MAX_PATH] = {};
    const bool any = !GetEnvironmentVariableA("OLTOOL_EXE", wanted, sizeof wanted);
    for (HWND w = nullptr; (w = FindWindowExA(nullptr, w, "Velmora_Ownerlens", nullptr)) != nullptr;) {
        DWORD pid = 0, size = sizeof image;
        GetWindowThreadProcessId(w, &pid);
        HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
        const bool named = process && QueryFullProcessImageNameA(process, 0, image, &size) && !lstrcmpiA(image, wanted);
        if (process) CloseHandle(process);
        if (any || named) return w;
    }
    return nullptr;
}

// A visible dialog owned by the main window: the crash report, or what a menu command opened.
HWND OwnedDialog() {
    HWND main = MainWindow();
    for (HWND w = nullptr; main && (w = FindWindowExA(nullptr, w, "#32770", nullptr)) != nullptr;) {
        if (GetWindow(w, GW_OWNER) == main && IsWindowVisible(w)) return w;
    }
    return nullptr;
}

// Runs EXE, which is the program OLTOOL_EXE names (arguments without blanks), and watches for its main window.
int RunNoWindow(char** argv) {
    HANDLE process = reinterpret_cast<HANDLE>(_spawnv(_P_NOWAIT, argv[0], argv));
    if (process == INVALID_HANDLE_VALUE) return Fail("cannot start the program");
    bool sawWindow = false;
    while (WaitForSingleObject(process, 1) == WAIT_TIMEOUT) sawWindow = sawWindow || MainWindow();
    DWORD code = 99;
    GetExitCodeProcess(process, &code);
    std::printf("exit=%lu window=%d\n", code, sawWindow ? 1 : 0);
    return code == 0 && !sawWindow ? 0 : 1;
}

// UM_SENDERPROCESS, then UM_SENDERTEXT. Sent, not posted: a sent message overtakes posted ones, and the text must
// stay readable until it has been read.
int HandOver(const void* text, WPARAM length) {
    HWND w = MainWindow();
    DWORD_PTR result = 0;
    return w && SendMessageTimeoutA(w, 0x500, 0, GetCurrentProcessId(), SMTO_NORMAL, 30000, &result) &&
                   SendMessageTimeoutA(w, 0x501, length, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 30000, &result)
               ? 0
               : Fail("the main window did not take the hand-over");
}

// Reads the list view of the other process through memory allocated there: list-view messages carry pointers that
// must be valid in the owner.
int Rows() {
    HWND list = GetDlgItem(MainWindow(), 259);
    DWORD pid = 0;
    GetWindowThreadProcessId(list, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
    constexpr int kText = 1024;
    char* remote = static_cast<char*>(
        VirtualAllocEx(process, nullptr, sizeof(LVITEMA) + kText, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!list || !remote) return Fail("cannot read the result list");
    const int rows = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int cell = 0; cell < rows * 18; ++cell) {
        LVITEMA item{};
        item.iSubItem = cell % 18;
        item.pszText = remote + sizeof(LVITEMA);
        item.cchTextMax = kText;
        WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
        SendMessageA(list, LVM_GETITEMTEXTA, cell / 18, reinterpret_cast<LPARAM>(remote));
        char text[kText + 1] = {};
        ReadProcessMemory(process, remote + sizeof(LVITEMA), text, kText, nullptr);
        std::printf("%s%c", text, cell % 18 == 17 ? '\n' : '\t');
    }
    return 0;
}

int Press(const std::string& action) {
    HWND d = OwnedDialog();
    if (!d) return Fail("no dialog");
    HWND edit = GetDlgItem(d, 1002);  // the crash report's text, which has the focus
    char text[4096] = {};
    GetDlgItemTextA(d, 1002, text, sizeof text);
    _setmode(_fileno(stdout), _O_BINARY);  // the report's CR LF as they are
    std::fwrite(text, 1, std::strlen(text), stdout);
    const int id = std::atoi(action.c_str());
    // Escape goes to the focus: the dialog's own keyboard handling turns it into IDCANCEL.
    const bool posted =
        action == "escape"
            ? PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 1) && PostMessageA(edit, WM_KEYUP, VK_ESCAPE, 0xC0000001)
        : action == "closebox"
            ? PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0)
            : PostMessageA(d, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(d, id)));
    return posted ? 0 : Fail("cannot post");
}

}  // namespace

int main(int argc, char** argv) {
    const std::string verb = argc >= 2 ? argv[1] : "";
    const char* arg = argc >= 3 ? argv[2] : "0";
    HWND w = MainWindow();
    DWORD_PTR result = 0;
    if (verb == "run-nowindow" && argc >= 3) return RunNoWindow(argv + 2);
    if (verb == "visible") return w && IsWindowVisible(w) ? 0 : Fail("no visible main window");
    if (verb == "handover" && argc >= 4) {
        return HandOver(reinterpret_cast<const void*>(std::strtoull(argv[3], nullptr, 0)),
                        std::strtoull(arg, nullptr, 0));
    }
    if (verb == "handover") return HandOver(arg, std::strlen(arg));
    if (verb == "command") return w && PostMessageA(w, WM_COMMAND, std::atoi(arg), 0) ? 0 : Fail("no main window");
    if (verb == "close") return w && PostMessageA(w, WM_CLOSE, 0, 0) ? 0 : Fail("no main window");
    if (verb == "alive") {
        return w && SendMessageTimeoutA(w, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) ? 0 : Fail("not answering");
    }
    if (verb == "rows") return Rows();
    if (verb == "pane") {  // WM_GETTEXT, since GetWindowText does not ask a window of another process
        static char text[1 << 20];
        SendMessageA(FindWindowExA(w, nullptr, "RichEdit20A", nullptr), WM_GETTEXT, sizeof text,
                     reinterpret_cast<LPARAM>(text));
        return _setmode(_fileno(stdout), _O_BINARY) == -1 || std::fputs(text, stdout) < 0;
    }
    if (verb == "press") return Press(arg);
    return Fail("unknown verb");
}
