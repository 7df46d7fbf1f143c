#pragma once
// The Win32 side of the reports: report files, the save dialog, opening a
// report in the browser and what the writers learn about the running
// program.

#include <windows.h>

#include "reports/report_environment.h"
#include "views/report_list.h"

// Creates the file, writes the report with the wait cursor showing and
// closes the file. False when the file could not be created or written; the
// thread's last error then holds the failure's system error code.
bool WriteReportFile(ReportList& list, const char* path, int format, bool selectedOnly);

// The platform's save dialog: explorer style, path must exist, read-only box
// hidden, overwrite confirmed, default extension "txt", an empty initial name.
// filterIndex (in and out) may be null: the first filter is offered. fileName
// has MAX_PATH bytes. True when the user confirmed.
bool SaveFileDialog(HWND owner, const char* filter, const char* title, int* filterIndex, char* fileName);

// Opens a file with the shell's "open" verb, shown normally; whether that
// worked is not checked.
void OpenWithShell(HWND owner, const char* path);
// Tests keep the browser closed by replacing the shell call (null restores it).
using ShellOpener = void (*)(HWND owner, const char* path);
void SetShellOpener(ShellOpener opener);

// The language file's charset and direction and the ANSI code page.
ReportEnvironment PlatformReportEnvironment();
