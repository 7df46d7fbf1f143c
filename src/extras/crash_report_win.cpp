#include "extras/crash_report_win.h"

#include <cstdint>

#include "extras/crash_report_text.h"
#include "extras/module_lookup_win.h"
#include "resources/resource_ids.h"
#include "framework/app.h"
#include "framework/dialog_base.h"

namespace {

EXCEPTION_RECORD g_record;
CONTEXT g_context;
bool g_showing = false;
int g_lastChoice = 0;

// 128 bytes of the program's own memory as a dump, "" when unreadable.
std::string DumpAt(uintptr_t address, int group) {
    uint8_t bytes[kCrashDumpBytes];
    SIZE_T read = 0;
    if (!ReadProcessMemory(GetCurrentProcess(), reinterpret_cast<const void*>(address), bytes, sizeof bytes, &read) ||
        read != sizeof bytes) {
        return std::string();
    }
    return HexDump(bytes, kCrashDumpBytes, group);
}

void CopyReport(HWND dialog) {
    HWND edit = GetDlgItem(dialog, IDC_CRASH_TEXT);
    SendMessageA(edit, EM_SETSEL, 0, 65535);
    SendMessageA(edit, WM_COPY, 0, 0);
    SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(-1), 0);
}

// Not a framework dialog: it must work while the framework itself is
// failing, and its texts are never translated.
INT_PTR CALLBACK CrashDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG: {
            CenterOnScreen(dialog);
            SetDlgItemTextA(dialog, IDC_CRASH_TEXT, BuildCrashReport(g_record, g_context).c_str());
            SetFocus(GetDlgItem(dialog, IDC_CRASH_TEXT));
            return FALSE;
        }
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
                case IDC_CRASH_CONTINUE:
                    EndDialog(dialog, 1);
                    return TRUE;
                case IDC_CRASH_TERMINATE:  // also Esc and the close box
                    EndDialog(dialog, 2);
                    return TRUE;
                case IDC_CRASH_COPY:
                    CopyReport(dialog);
                    return TRUE;
                default:
                    return FALSE;
            }
        default:
            return FALSE;
    }
}

}  // namespace

std::string BuildCrashReport(const EXCEPTION_RECORD& record, const CONTEXT& context) {
    CrashReportData data;
    data.code = record.ExceptionCode;
    data.address = reinterpret_cast<uintptr_t>(record.ExceptionAddress);
#ifdef _WIN64
    const DWORD64 registers[9] = {context.Rax, context.Rbx, context.Rcx, context.Rdx, context.Rsi,
                                  context.Rdi, context.Rbp, context.Rsp, context.Rip};
    const RegisterWidth width = RegisterWidth::Bits64;
    const uintptr_t stack = static_cast<uintptr_t>(context.Rsp);
    const uintptr_t code = static_cast<uintptr_t>(context.Rip);
#else
    const DWORD registers[9] = {context.Eax, context.Ebx, context.Ecx, context.Edx, context.Esi,
                                context.Edi, context.Ebp, context.Esp, context.Eip};
    const RegisterWidth width = RegisterWidth::Bits32;
    const uintptr_t stack = context.Esp;
    const uintptr_t code = context.Eip;
#endif
    for (int i = 0; i < 9; ++i) data.registers[i] = registers[i];
    const std::string stackText = DumpAt(stack, 4);
    const std::string codeText = DumpAt(code, 0);
    char modulePath[MAX_PATH] = {};
    if (FindModuleOfAddress(static_cast<uintptr_t>(data.address), modulePath)) {
        data.module = ModuleFileName(modulePath);
    }
    data.stackText = stackText.c_str();
    data.codeText = codeText.c_str();
    char report[kCrashReportSize];
    FormatCrashReport(report, sizeof report, data, width);
    return report;
}

bool ReportFault(HWND owner, const FaultInfo& fault) {
    if (g_showing) return g_lastChoice == 2;
    g_record = fault.record;
    g_context = fault.context;
    g_showing = true;
    const INT_PTR choice =
        DialogBoxParamA(AppInstance(), MAKEINTRESOURCEA(IDD_CRASH_REPORT), owner, CrashDialogProc, 0);
    g_showing = false;
    g_lastChoice = static_cast<int>(choice);
    return g_lastChoice == 2;
}

void InstallCrashReporter() {
    SetFaultReporter(ReportFault);
}

int LastCrashChoice() {
    return g_lastChoice;
}
