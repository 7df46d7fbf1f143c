#pragma once
// The program's only top-level window: it owns the options, the address
// list, the lookup engine and the frame, and turns commands, notifications,
// timers and messages into work. Tests drive it like the user does, through
// its messages and child windows.

#include <windows.h>
#include <commdlg.h>

#include <memory>

#include "app/main_frame.h"
#include "base/options.h"
#include "base/settings_file.h"
#include "framework/handles.h"
#include "framework/window_base.h"
#include "input/address_input_win.h"
#include "input/address_list.h"
#include "lookup/lookup_engine_win.h"
#include "views/list_view_win.h"

class CommandLine;
class HeadlessExport;

class MainWindow : public WindowBase, private LookupUi {
  public:
    MainWindow();
    ~MainWindow() override;

    // Registers the window class and creates the window (not yet shown).
    bool Create();
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Set before Create: "/noloadsettings" is read from the command line
    // while the window is created.
    void SetCommandLine(const CommandLine* line) { commandLine = line; }
    // A headless run: no dialog, no settings written, the report written
    // when the run ends.
    void SetHeadless(HeadlessExport* run);

    Options& CurrentOptions() { return options; }
    AddressList& Addresses() { return addressList; }
    // Whether the saved placement asks for a maximised window.
    bool StartsMaximized() const;
    // How often the settings file was written (once at exit, never twice).
    int SettingsWrites() const { return settingsWrites; }

  private:
    friend class MainWindowProbe;  // the tests' one look at private state

    void OnCreate();
    void OnCommand(int command);
    LRESULT OnNotify(const NMHDR* header, LPARAM lParam);
    void OnClose();

    void ExchangeSettings(SettingsFile::Direction direction);
    void ExchangeColumnSettings(SettingsFile& file);
    void AttachResultList();
    void ApplyListStyles();
    void UpdateCommandStates(HMENU menu);
    bool ListHasFocus() const;
    int SelectedCount() const;
    void ShowContextMenu(HWND from);
    bool ClaimReportPath();

    void OpenFindDialog();
    void OnFindDialogMessage(const FINDREPLACEA* request);
    void FindNext(const FINDREPLACEA* request);

    void OpenAddressDialog();
    void RunAddressText();
    void ReloadAddressText();
    void ReadSenderText(WPARAM length, LPARAM address);
    void RefreshResolvedNames();
    // Stops the run and ends every delivery into the address list (reverse
    // names included); the shutdown calls it before the list is released.
    void ShutDownLookupEngine();

    void CopySelection();
    void ShowProperties();
    void SaveSelectedItems();
    void SaveWhoisRecords();
    void ShowHtmlReport(int format);

    // LookupUi
    void ShowProgress(int number) override;
    void UpdateCommandStates() override { UpdateCommandStates(nullptr); }
    void UpdateStatusBar() override;
    void ShowSelectedAnswer() override;
    void FocusList() override;
    void RunEnded() override;

    Options options;
    PlatformHostNameResolver hostResolver;
    AddressList addressList{&options};
    ListViewBinding listBinding;
    MainFrame frame;
    std::unique_ptr<LookupEngine> engine;
    const CommandLine* commandLine = nullptr;
    HeadlessExport* headless = nullptr;

    HMENU mainMenu = nullptr;
    UniqueMenu contextMenu;
    bool created = false;
    bool shutDown = false;  // the shutdown sequence has run
    bool writeSettingsAtExit = true;
    int settingsWrites = 0;
    bool selectionChangePosted = false;
    // The refresh timer's period: resolved names and the progress text.
    static constexpr UINT kRefreshMilliseconds = 50;
    DWORD progressShownAt = 0;  // tick of the last progress text
    int pendingProgress = 0;    // a number not shown yet; 0 none
    HWND focusWindow = nullptr;
    DWORD senderProcessId = 0;
    UINT findMessage = 0;
    // The Find dialog's request; its text buffer is the list's.
    FINDREPLACEA findRequest = {};
    // The temporary HTML report: empty until this run has created its own file.
    char reportPath[MAX_PATH] = {};
};

// The process-wide handle of the open Find dialog (null when closed); the
// message loop gives it its keyboard messages.
HWND& FindDialogHandle();
