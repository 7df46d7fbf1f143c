#include "reports/report_file_win.h"

#include <commdlg.h>

#include "framework/shell_open.h"
#include "lang/language.h"
#include "reports/file_sink_win.h"
#include "reports/report_driver.h"
#include "framework/ui_helpers.h"

namespace {

// A failure to open the report is silent.
void OpenReport(HWND owner, const char* path) {
    ShellOpen(owner, path);
}

ShellOpener g_opener = OpenReport;

}  // namespace

bool WriteReportFile(ReportList& list, const char* path, int format, bool selectedOnly) {
    FileSink sink;
    if (!sink.Open(path)) {
        SetLastError(sink.Error());
        return false;
    }
    bool written;
    {
        WaitCursor wait;
        written = WriteReport(list, sink, format, selectedOnly);
    }
    // The last buffered bytes reach the file only now: a failure there is a
    // failure of the report too.
    const bool closed = sink.Close();
    if (written && closed) return true;
    // Without a failed write the report failed for its format.
    SetLastError(sink.Error() ? sink.Error() : ERROR_INVALID_PARAMETER);
    return false;
}

bool SaveFileDialog(HWND owner, const char* filter, const char* title, int* filterIndex, char* fileName) {
    fileName[0] = '\0';
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter;
    dialog.nFilterIndex = filterIndex ? static_cast<DWORD>(*filterIndex) : 1;
    dialog.lpstrFile = fileName;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrTitle = title;
    dialog.lpstrDefExt = "txt";
    dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    if (!GetSaveFileNameA(&dialog)) return false;
    if (filterIndex) *filterIndex = static_cast<int>(dialog.nFilterIndex);
    return true;
}

void OpenWithShell(HWND owner, const char* path) {
    g_opener(owner, path);
}

void SetShellOpener(ShellOpener opener) {
    g_opener = opener ? opener : OpenReport;
}

ReportEnvironment PlatformReportEnvironment() {
    ReportEnvironment environment;
    const char* charset = LanguageCharset();
    environment.charset = charset ? charset : "";
    environment.rightToLeft = LanguageRightToLeft();
    environment.codePage = GetACP();
    return environment;
}
