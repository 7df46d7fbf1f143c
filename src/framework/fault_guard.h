#pragma once
// Runs a handler so that a fault inside it (access violation, division by
// zero, ...) ends only that handler: the call returns 0 and the message loop
// goes on. GCC has no __try, so a vectored handler moves the faulting thread
// onto a recovery function that jumps back to the guard.

#include <windows.h>

struct FaultInfo {
    EXCEPTION_RECORD record;
    CONTEXT context;
};

// The code a FaultInfo carries for a C++ exception that escaped a handler
// (the one Windows' own C++ runtimes raise).
constexpr DWORD kEscapedCppException = 0xE06D7363;

// Told about every caught fault, with the window that was handling the
// message as owner. Returns true when the process must end (exit code 1).
using FaultReporter = bool (*)(HWND owner, const FaultInfo& fault);
void SetFaultReporter(FaultReporter reporter);

using GuardedFunction = LRESULT (*)(void* context);
// Calls fn(context) under the guard; 0 when it faulted.
LRESULT CallGuarded(HWND owner, GuardedFunction fn, void* context);

// Number of faults caught so far (tests).
int CaughtFaultCount();
