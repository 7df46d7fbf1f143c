// Entry point of the Win32 tests: the process is prepared as the program's
// start-up prepares it, then GoogleTest runs.
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "lang/language.h"
#include "framework/app.h"
#include "app/startup.h"

int main(int argc, char** argv) {
    SetAppInstance(GetModuleHandleA(nullptr));
    INITCOMMONCONTROLSEX icc = {sizeof icc, 0xFF};
    InitCommonControlsEx(&icc);
    LoadLibraryA("riched20.dll");
    WSADATA wsa;
    WSAStartup(MAKEWORD(1, 1), &wsa);
    PrepareProcess();
    InitLanguage();
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    WSACleanup();
    return result;
}
