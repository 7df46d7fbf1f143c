// Entry point: prepares the platform, reads the command line, runs the two
// actions that need no window, creates the main window and runs the one
// message loop of the user-interface thread.
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>

#include <memory>

#include "lang/language.h"
#include "lang/ui_strings.h"
#include "resources/resource_ids.h"
#include "framework/app.h"
#include "app/command_line.h"
#include "app/headless_export_win.h"
#include "app/main_window.h"
#include "framework/messages.h"
#include "app/startup.h"
#include "framework/handles.h"

namespace {

bool InitCommonControlClasses() {
    HMODULE comctl = LoadLibraryA("comctl32.dll");
    using InitEx = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    InitEx initEx =
        comctl ? reinterpret_cast<InitEx>(reinterpret_cast<void*>(GetProcAddress(comctl, "InitCommonControlsEx")))
               : nullptr;
    bool ok = true;
    if (initEx) {
        INITCOMMONCONTROLSEX icc = {8, 0xFF};
        ok = initEx(&icc) != FALSE;
    } else {
        InitCommonControls();
    }
    if (comctl) FreeLibrary(comctl);
    return ok;
}

void RunMessageLoop(MainWindow& window, HACCEL accelerators) {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        // Accelerators and dialog navigation concern keys only; a run posts
        // several socket messages per address, which go straight through.
        if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
            if (accelerators && TranslateAcceleratorA(window.hwnd, accelerators, &msg)) continue;
            HWND find = FindDialogHandle();
            if (find && IsDialogMessageA(find, &msg)) continue;
            if (window.hwnd && IsDialogMessageA(window.hwnd, &msg)) continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR rawCommandLine, int) {
    SetAppInstance(instance);
    if (!InitCommonControlClasses()) {
        MessageBoxA(nullptr, "Error: Cannot load the common control classes.", "Error", MB_ICONWARNING | MB_OK);
        return 1;
    }
    WSADATA wsa;
    WSAStartup(MAKEWORD(1, 1), &wsa);
    PrepareProcess();

    auto commandLine = std::make_unique<CommandLine>();
    auto window = std::make_unique<MainWindow>();
    window->SetCommandLine(commandLine.get());
    commandLine->Build(rawCommandLine);
    // A headless export runs with the window hidden and leaves the settings
    // file as it was.
    HeadlessExport headless;
    int exitCode = 0;
    if (headless.Configure(*commandLine)) window->SetHeadless(&headless);

    if (commandLine->Find("/savelangfile") >= 0) {
        WriteLanguageTemplate();
    } else {
        InitLanguage();
        if (commandLine->Find("/deleteregkey") >= 0) {
            DeleteSettingsRegistryKey();
        } else {
            const UniqueModule richEdit(LoadLibraryA("riched20.dll"));
            window->Create();
            if (window->hwnd && !headless.Active()) {
                ShowWindow(window->hwnd, window->StartsMaximized() ? SW_SHOWMAXIMIZED : SW_SHOW);
                UpdateWindow(window->hwnd);
            }
            HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCEL));
            QueueCommandLineAddresses(*window, *commandLine);
            // Without a window nothing could ever end the loop.
            if (window->hwnd) RunMessageLoop(*window, accelerators);
            if (headless.Active()) exitCode = headless.ExitCode();
            WSACleanup();
        }
    }
    window.reset();
    commandLine.reset();
    ResetUiStringCache();
    return exitCode;
}
