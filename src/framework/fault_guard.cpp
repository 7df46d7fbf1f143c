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

__attribute__((noinline, noreturn)) void Recover() {
    __builtin_longjmp(t_guard->jump, 1);
}

LONG CALLBACK FaultHandler(EXCEPTION_POINTERS* info) {
    GuardFrame* guard = t_guard;
    if (!guard || !IsFault(info->ExceptionRecord->ExceptionCode)) return EXCEPTION_CONTINUE_SEARCH;
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

}  // namespace

void SetFaultReporter(FaultReporter reporter) {
    g_reporter = reporter;
}

int CaughtFaultCount() {
    return static_cast<int>(g_caught);
}

LRESULT CallGuarded(HWND owner, GuardedFunction fn, void* context) {
    if (!g_handler) g_handler = AddVectoredExceptionHandler(1, FaultHandler);
    GuardFrame frame;
    frame.previous = t_guard;
    t_guard = &frame;
    if (__builtin_setjmp(frame.jump) == 0) {
        const LRESULT result = fn(context);
        t_guard = frame.previous;
        return result;
    }
    t_guard = frame.previous;
    InterlockedIncrement(&g_caught);
    if (g_reporter && g_reporter(owner, frame.fault)) ExitProcess(1);
    return 0;
}
