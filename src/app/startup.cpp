#include "app/startup.h"

#include <windows.h>
#include <shlwapi.h>

#include "extras/crash_report_win.h"
#include "lang/language.h"
#include "reports/report_file_win.h"
#include "resources/resource_ids.h"
#include "framework/messages.h"
#include "whois/ansi_text.h"
#include "whois/bin_resources.h"
#include "framework/handles.h"

void PrepareProcess() {
    InstallWin32BinResourceLoader();
    InstallCrashReporter();
    // Every report, the headless export's too, asks the language file and the
    // code page through this source.
    SetReportEnvironmentSource(PlatformReportEnvironment);
    // RDAP answers are UTF-8; the lists and reports show the ANSI code page.
    InstallWin32Utf8ToAnsiConverter();
}

void WriteLanguageTemplate() {
    // The crash report is never translated, so the template leaves it out.
    static const int32_t kSkipped[] = {IDD_CRASH_REPORT, 0};
    SetLanguageTemplateSkipList(kSkipped);
    SaveLanguageFile();
}

void DeleteSettingsRegistryKey() {
    // The whole tree: RegDeleteKeyA refuses a key that has subkeys.
    SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Velmora\\Ownerlens");
}

void QueueCommandLineAddresses(MainWindow& window, const CommandLine& commandLine) {
    bool queued = false;
    if (commandLine.Count() >= 2) {
        if (commandLine.Find("/ip") >= 0) {
            window.CurrentOptions().addressText.SetText(commandLine.ValueOf("/ip"));
            PostMessageA(window.hwnd, UM_RUNADDRESSTEXT, 0, 0);
            queued = true;
        } else if (commandLine.Find("/ipfile") >= 0) {
            LoadAddressFile(window, commandLine.ValueOf("/ipfile"));
            queued = true;
        }
    }
    if (!queued && commandLine.Find("/nodlgstart") < 0) PostMessageA(window.hwnd, UM_OPENADDRESSDIALOG, 0, 0);
}

void LoadAddressFile(MainWindow& window, const char* path) {
    UniqueFile file(
        CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file) {
        LARGE_INTEGER size;
        TextBuffer& text = window.CurrentOptions().addressText;
        // A file too large for one buffer leaves the text as it was.
        if (GetFileSizeEx(file.Get(), &size) && size.QuadPart < 0x7FFFFFF0LL) {
            text.Clear();
            if (text.Reserve(size.QuadPart + 1)) {
                DWORD read = 0;
                if (!ReadFile(file.Get(), text.data, static_cast<DWORD>(size.QuadPart), &read, nullptr)) read = 0;
                text.data[read] = '\0';
                text.length = static_cast<int32_t>(read);
            }
        }
    }
    PostMessageA(window.hwnd, UM_RUNADDRESSTEXT, 0, 0);
}
