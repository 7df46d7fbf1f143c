#include "framework/fault_guard.h"

namespace {

struct GuardFrame {
    void* jump[5];  // __builtin_setjmp buffer
    GuardFrame* previous;
    FaultInfo fault;
};

thread_local GuardFrame* t_guard = nullptr;
FaultReporter g_reporter = nullptr;
PVOID g_handler = nullptr;
volatile LONG g_caught = 0;
uintptr_t g_imageBase = 0;
uintptr_t g_imageSize = 0;

bool IsFault(DWORD code) {
    switch (code) {
        case EXCEPTION_ACCESS_VIOLATION:
        case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
        case EXCEPTION_DATATYPE_MISALIGNMENT:
        case EXCEPTION_FLT_DENORMAL_OPERAND:
        case EXCEPTION_FLT_DIVIDE_BY_ZERO:
        case EXCEPTION_FLT_INEXACT_RESULT:
        case EXCEPTION_FLT_INVALID_OPERATION:
        case EXCEPTION_FLT_OVERFLOW:
        case EXCEPTION_FLT_STACK_CHECK:
        case EXCEPTION_FLT_UNDERFLOW:
        case EXCEPTION_ILLEGAL_INSTRUCTION:
        case EXCEPTION_IN_PAGE_ERROR:
        case EXCEPTION_INT_DIVIDE_BY_ZERO:
        case EXCEPTION_INT_OVERFLOW:
        case EXCEPTION_PRIV_INSTRUCTION:
            return true;
        default:
            // A stack overflow leaves no stack to recover on; C++ exceptions
            // and debugger events are not faults.
            return false;
    }
}

// The exe's own image, from its PE header.
void FindOwnImage() {
    const auto* base = reinterpret_cast<const unsigned char*>(GetModuleHandleA(nullptr));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    g_imageSize = nt->OptionalHeader.SizeOfImage;
    g_imageBase = reinterpret_cast<uintptr_t>(base);
}

// Whether a fault at address is ours to catch. System and shell-extension
// code run inside our handlers (common dialogs, menus, message boxes) and
// fault on purpose in places they guard themselves: a fault in any other
// image goes on to their handlers. A jump through a broken pointer faults
// outside every image, and only our code makes those.
bool IsOwnFault(const void* address) {
    const uintptr_t at = reinterpret_cast<uintptr_t>(address);
    if (at - g_imageBase < g_imageSize) return true;
    MEMORY_BASIC_INFORMATION region;
    if (!VirtualQuery(address, &region, sizeof region)) return true;
    return region.State != MEM_COMMIT || region.Type != MEM_IMAGE;
}

__attribute__((noinline, noreturn)) void Recover() {
    __builtin_longjmp(t_guard->jump, 1);
}

LONG CALLBACK FaultHandler(EXCEPTION_POINTERS* info) {
    GuardFrame* guard = t_guard;
    if (!guard || !IsFault(info->ExceptionRecord->ExceptionCode) ||
        !IsOwnFault(info->ExceptionRecord->ExceptionAddress)) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
    guard->fault.record = *info->ExceptionRecord;
    guard->fault.context = *info->ContextRecord;
    CONTEXT* c = info->ContextRecord;
    // Continue in Recover on a fresh, aligned slot below the faulting frame,
    // as if Recover had just been called.
#ifdef _WIN64
    c->Rsp = ((c->Rsp - 512) & ~static_cast<DWORD64>(15)) - 8;
    c->Rip = reinterpret_cast<DWORD64>(&Recover);
#else
    c->Esp = ((c->Esp - 512) & ~static_cast<DWORD>(15)) - 4;
    c->Eip = reinterpret_cast<DWORD>(&Recover);
#endif
    return EXCEPTION_CONTINUE_EXECUTION;
}

// Calls fn; no C++ exception may cross the Win32 callback that called us, so
// one that escapes fn ends the call as a fault would. thrown tells which.
__attribute__((noinline)) LRESULT CallCatching(GuardedFunction fn, void* context, bool* thrown) noexcept {
    try {
        return fn(context);
    } catch (...) {
        *thrown = true;
        return 0;
    }
}

// A C++ exception as the crash report shows faults: the handler that let it
// escape as the address, the registers and stack where it was caught.
void DescribeException(FaultInfo* fault, GuardedFunction fn) {
    ZeroMemory(fault, sizeof *fault);
    RtlCaptureContext(&fault->context);
    fault->record.ExceptionCode = kEscapedCppException;
    fault->record.ExceptionFlags = EXCEPTION_NONCONTINUABLE;
    fault->record.ExceptionAddress = reinterpret_cast<PVOID>(fn);
#ifdef _WIN64
    fault->context.Rip = reinterpret_cast<DWORD64>(fn);
#else
    fault->context.Eip = reinterpret_cast<DWORD>(fn);
#endif
}

}  // namespace

void SetFaultReporter(FaultReporter reporter) {
    g_reporter = reporter;
}

int CaughtFaultCount() {
    return static_cast<int>(g_caught);
}

LRESULT CallGuarded(HWND owner, GuardedFunction fn, void* context) {
    if (!g_handler) {
        FindOwnImage();
        g_handler = AddVectoredExceptionHandler(1, FaultHandler);
    }
    GuardFrame frame;
    frame.previous = t_guard;
    t_guard = &frame;
    if (__builtin_setjmp(frame.jump) == 0) {
        bool thrown = false;
        const LRESULT result = CallCatching(fn, context, &thrown);
        t_guard = frame.previous;
        if (!thrown) return result;
        DescribeException(&frame.fault, fn);
    } else {
        t_guard = frame.previous;
    }
    InterlockedIncrement(&g_caught);
    if (g_reporter && g_reporter(owner, frame.fault)) ExitProcess(1);
    return 0;
}
