#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <cstring>
#include <string>

#include "input/address_list.h"
#include "lang/ui_strings.h"
#include "reports/file_sink_win.h"
#include "reports/report_file_win.h"
#include "reports/save_filters.h"
#include "reports/whois_records_writer.h"
#include "resources/resource_ids.h"
#include "app/main_window.h"
#include "framework/ui_helpers.h"
#include "views/properties_dialog.h"
#include "framework/handles.h"

// Reports, saving, the clipboard and the properties dialog.

namespace {

// The thread's last error, or a general failure when a call failed without
// setting one (a message box must never report "success").
DWORD LastErrorOr(DWORD fallback) {
    const DWORD error = GetLastError();
    return error ? error : fallback;
}

// Creates path only when no file or folder of that name exists yet. A 32-bit
// program without a manifest would have its writes to a protected folder
// redirected to a per-user store the browser never sees, so the attempt is
// made with that redirection off (a system without it ignores the request).
bool CreateNewFile(const char* path) {
    HANDLE token = nullptr;
    DWORD virtualised = 0, size = 0;
    const auto kVirtualization = static_cast<TOKEN_INFORMATION_CLASS>(24);  // TokenVirtualizationEnabled
    if (OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY | TOKEN_ADJUST_DEFAULT, &token) &&
        GetTokenInformation(token, kVirtualization, &virtualised, sizeof virtualised, &size) && virtualised) {
        DWORD off = 0;
        SetTokenInformation(token, kVirtualization, &off, sizeof off);
    }
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    const DWORD error = GetLastError();
    if (token) {
        if (virtualised) SetTokenInformation(token, kVirtualization, &virtualised, sizeof virtualised);
        CloseHandle(token);
    }
    if (file == INVALID_HANDLE_VALUE) {
        SetLastError(error);
        return false;
    }
    CloseHandle(file);
    return true;
}

// Puts a file's bytes on the clipboard as plain text; 0 or the error code.
DWORD CopyFileToClipboard(HWND owner, const char* path) {
    if (!OpenClipboard(owner)) return LastErrorOr(ERROR_ACCESS_DENIED);
    DWORD error = 0;
    EmptyClipboard();
    UniqueFile file(
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        error = LastErrorOr(ERROR_OPEN_FAILED);
    } else {
        const DWORD size = GetFileSize(file.Get(), nullptr);
        HGLOBAL block = size == INVALID_FILE_SIZE ? nullptr : GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size + 1);
        char* bytes = block ? static_cast<char*>(GlobalLock(block)) : nullptr;
        DWORD read = 0;
        if (!bytes) {
            error = LastErrorOr(ERROR_NOT_ENOUGH_MEMORY);
        } else if (!ReadFile(file.Get(), bytes, size, &read, nullptr) || read != size) {
            error = LastErrorOr(ERROR_READ_FAULT);
        } else {
            bytes[size] = '\0';
        }
        if (bytes) GlobalUnlock(block);
        if (block && !error) {
            if (!SetClipboardData(CF_TEXT, block)) error = LastErrorOr(ERROR_ACCESS_DENIED);
        }
        // The clipboard owns the block only when it took it.
        if (block && error) GlobalFree(block);
    }
    CloseClipboard();
    return error;
}

// Copies the pane's selection, or its whole text when nothing is selected
// (the caret stays where it was).
void CopyPaneText(HWND pane) {
    CHARRANGE selection = {};
    SendMessageA(pane, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&selection));
    if (selection.cpMin != selection.cpMax) {
        SendMessageA(pane, WM_COPY, 0, 0);
        return;
    }
    SendMessageA(pane, EM_SETSEL, 0, -1);
    SendMessageA(pane, WM_COPY, 0, 0);
    SendMessageA(pane, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&selection));
}

}  // namespace

void MainWindow::CopySelection() {
    if (!ListHasFocus()) {
        if (frame.TextPane()) CopyPaneText(frame.TextPane());
        return;
    }
    char folder[MAX_PATH] = {};
    const DWORD length = GetTempPathA(MAX_PATH, folder);
    if (length == 0 || length >= MAX_PATH) GetWindowsDirectoryA(folder, MAX_PATH);
    char path[MAX_PATH] = {};
    if (!GetTempFileNameA(folder, "cp", 0, path)) {
        ShowErrorMessage(hwnd, LastErrorOr(ERROR_CANNOT_MAKE));
        return;
    }
    DWORD error = 0;
    if (!WriteReportFile(addressList, path, FormatTabbed, true)) {
        error = LastErrorOr(ERROR_WRITE_FAULT);
    } else {
        error = CopyFileToClipboard(hwnd, path);
    }
    // The temporary file goes also when the copy failed: nothing else reads it.
    DeleteFileA(path);
    if (error) ShowErrorMessage(hwnd, error);
}

void MainWindow::ShowProperties() {
    const ReportItem* item = addressList.SingleSelectedItem();
    if (!item) return;
    PropertiesDialog dialog;
    dialog.item = item;
    dialog.list = &addressList;
    dialog.DoModal(hwnd);
}

void MainWindow::SaveSelectedItems() {
    int index = ReportFilterIndex(options.SaveFilterIndex);
    const std::string filter = MakeFilterString(kReportFilters, 6);
    char path[MAX_PATH] = {};
    if (!SaveFileDialog(hwnd, filter.c_str(), GetUiString(IDS_SAVE_ITEMS_TITLE), &index, path)) return;
    options.SaveFilterIndex = index;
    // The chosen file type decides the format, whatever the name's extension.
    if (!WriteReportFile(addressList, path, index, true)) ShowErrorMessage(hwnd, LastErrorOr(ERROR_WRITE_FAULT));
}

void MainWindow::SaveWhoisRecords() {
    const std::string filter = MakeFilterString(kWhoisFilters, 2);
    char path[MAX_PATH] = {};
    if (!SaveFileDialog(hwnd, filter.c_str(), GetUiString(IDS_SAVE_WHOIS_TITLE), nullptr, path)) return;
    FileSink file;
    // A file that cannot be created is not reported.
    if (!file.Open(path)) return;
    WriteSelectedWhoisRecords(addressList, file);
    file.Close();
}

// Picks the temporary report's file once per run: report.html beside the
// program, else in the temporary folder, else a numbered name there. Only a
// file this run creates is taken, so a user's own report.html is never
// overwritten nor deleted at exit. Fails with the last attempt's error.
bool MainWindow::ClaimReportPath() {
    if (reportPath[0]) return true;
    char folders[2][MAX_PATH] = {};
    GetModuleFileNameA(nullptr, folders[0], MAX_PATH);
    char* slash = std::strrchr(folders[0], '\\');
    if (slash) slash[1] = '\0';
    GetTempPathA(MAX_PATH, folders[1]);
    for (int attempt = 0; attempt < 101; ++attempt) {
        const char* folder = folders[attempt ? 1 : 0];
        const size_t length = std::strlen(folder);
        if (length == 0) continue;
        const char* separator = folder[length - 1] == '\\' ? "" : "\\";
        char path[MAX_PATH];
        const int written = attempt < 2
                                ? std::snprintf(path, sizeof path, "%s%sreport.html", folder, separator)
                                : std::snprintf(path, sizeof path, "%s%sreport%d.html", folder, separator, attempt - 1);
        if (written <= 0 || written >= static_cast<int>(sizeof path)) continue;
        if (CreateNewFile(path)) {
            std::strcpy(reportPath, path);
            return true;
        }
    }
    return false;
}

void MainWindow::ShowHtmlReport(int format) {
    if (!ClaimReportPath() || !WriteReportFile(addressList, reportPath, format, false)) {
        ShowErrorMessage(hwnd, LastErrorOr(ERROR_WRITE_FAULT));
        return;
    }
    OpenWithShell(hwnd, reportPath);
}
