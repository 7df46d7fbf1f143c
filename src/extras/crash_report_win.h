#pragma once
// The crash report: opened by the fault guard when a handler faults, it
// shows what happened and lets the user copy the report, continue or
// terminate the program.

#include <windows.h>

#include <string>

#include "framework/fault_guard.h"

// Makes the crash report the fault guard's reporter.
void InstallCrashReporter();

// The reporter: shows the report of a fault over owner and returns true when
// the user chose to terminate. A fault while the report is showing is not
// reported again; the last choice stands.
bool ReportFault(HWND owner, const FaultInfo& fault);

// The report text of a fault, as the dialog shows it.
std::string BuildCrashReport(const EXCEPTION_RECORD& record, const CONTEXT& context);

// How the report last ended: 1 continue, 2 terminate, 0 before any fault.
int LastCrashChoice();
