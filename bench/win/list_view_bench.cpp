// Fills the real list view of a main window with 100,000 items and sorts
// it, under Wine or Windows, and prints the times. Not a test: figures only.
//   win_bench.exe [count]
#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "input/address_list.h"
#include "lang/language.h"
#include "framework/app.h"
#include "app/main_window.h"
#include "resources/resource_ids.h"
#include "app/startup.h"

namespace {
double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(f.QuadPart);
}
}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 100000;
    SetAppInstance(GetModuleHandleA(nullptr));
    INITCOMMONCONTROLSEX icc = {sizeof icc, 0xFF};
    InitCommonControlsEx(&icc);
    LoadLibraryA("riched20.dll");
    PrepareProcess();
    InitLanguage();

    CommandLine commandLine;
    commandLine.Build("/nodlgstart");
    MainWindow window;
    window.SetCommandLine(&commandLine);
    if (!window.Create()) return 1;
    window.CurrentOptions().ResolveIPAddr = 0;

    std::string text;
    text.reserve(static_cast<size_t>(count) * 16);
    for (int i = 0; i < count; ++i) {
        // Public addresses, in an order that is not sorted as text.
        const unsigned v = 0x0B000000u + static_cast<unsigned>(i) * 2654435761u % 0x50000000u;
        text += std::to_string((v >> 24) % 80 + 11) + "." + std::to_string((v >> 16) & 255) + "." +
                std::to_string((v >> 8) & 255) + "." + std::to_string((v & 255) | 1) + "\n";
    }
    window.CurrentOptions().addressText.SetText(text.c_str());

    LARGE_INTEGER t0, t1, t2, t3, t4;
    QueryPerformanceCounter(&t0);
    window.Addresses().AddAddressesFromText();
    QueryPerformanceCounter(&t1);
    // As a run does it: redrawing off while the rows are made.
    SendMessageA(GetDlgItem(window.hwnd, IDW_RESULTLIST), WM_SETREDRAW, FALSE, 0);
    window.Addresses().Rebuild(true);
    SendMessageA(GetDlgItem(window.hwnd, IDW_RESULTLIST), WM_SETREDRAW, TRUE, 0);
    QueryPerformanceCounter(&t2);
    window.Addresses().Sort(1, false);  // by address, as a header click does
    QueryPerformanceCounter(&t3);
    window.Addresses().SetItemStatus(count / 2, LookupStatus::Succeeded);
    window.Addresses().RefreshRows();
    QueryPerformanceCounter(&t4);

    std::printf("items %d rows %d\n", window.Addresses().ItemCount(),
                ListView_GetItemCount(GetDlgItem(window.hwnd, IDW_RESULTLIST)));
    std::printf("extract %.3f s\nfill and sort %.3f s\nsort by address %.3f s\nrefresh after one change %.3f ms\n",
                Seconds(t0, t1), Seconds(t1, t2), Seconds(t2, t3), Seconds(t3, t4) * 1000);
    DestroyWindow(window.hwnd);
    return 0;
}
