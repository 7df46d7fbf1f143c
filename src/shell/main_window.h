#pragma once
// The program's only top-level window: it owns the options, the address
// list, the WHOIS connection and the split bar, lays out the child windows
// and turns commands, notifications, timers and messages into work.

#include <windows.h>
#include <commdlg.h>

#include <cstdint>

#include "shell/address_input_win.h"
#include "shell/command_line.h"
#include "shell/options.h"
#include "shell/settings_file.h"
#include "shell/splitter.h"
#include "shell/window_base.h"
#include "views/list_view_win.h"

class AddressList;
class WhoisConnection;
class LookupScheduler;

class MainWindow : public WindowBase {
public:
    MainWindow();
    ~MainWindow() override;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    virtual LRESULT OnCommand(int code, WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnNotify(WPARAM wParam, LPARAM lParam);
    virtual void OnClose();
    virtual void OnSize();
    virtual void OnCreate();

    // Registers the window class and creates the window (not yet shown).
    bool Create();
    // Reads (Read) or writes (Write) the settings file.
    void ExchangeSettings(SettingsFile::Direction direction);
    void UpdateCommandStates(HMENU menu = nullptr);
    void UpdateStatusBar();
    void LayoutChildren();
    void ApplyListStyles();

    // Number of rows of the result list, and of selected rows.
    int ItemCount() const;
    int SelectedCount() const;

    HWND statusBar = nullptr;
    HWND toolbar = nullptr;
    HMENU mainMenu = nullptr;
    bool created = false;
    WINDOWPLACEMENT placement = {};
    HMENU contextMenu = nullptr;
    int32_t currentIndex = 0;
    bool selectionChangePosted = false;
    HWND textPane = nullptr;
    HWND listView = nullptr;
    char reportPath[MAX_PATH] = {};
    int32_t running = 0;
    Options* options = nullptr;
    Splitter* splitter = nullptr;
    DWORD senderProcessId = 0;
    HWND focusWindow = nullptr;
    HANDLE whoisFile = INVALID_HANDLE_VALUE;
    HCURSOR splitCursor = nullptr;
    UINT findMessage = 0;
    CommandLine* commandLine = nullptr;
    bool shutDown = false;  // the shutdown sequence has run
    bool writeSettingsAtExit = true;
    int settingsWrites = 0;

    // Owned objects of the lookup engine (created with the window object).
    AddressList* addressList = nullptr;
    WhoisConnection* connection = nullptr;
    LookupScheduler* scheduler = nullptr;
    // --- lookup engine members begin ---
    // The scheduler's host with the connection, the scheduler and the name
    // resolver; created on first use (the settings read), deleted by
    // ShutDownLookupEngine.
    class LookupEngine* engine = nullptr;
    friend class LookupEngine;
    // Set by the entry point for a headless export run.
    class HeadlessExport* headless = nullptr;
    bool lookupEnded = false;  // ShutDownLookupEngine has run: no engine again
    // The engine, created on first use; null once it has been shut down.
    LookupEngine* Engine();
    // Stops the run and ends every delivery into the address list (reverse
    // names included); the shutdown calls it before the list is released.
    void ShutDownLookupEngine();
    // --- lookup engine members end ---

    ListViewBinding listBinding;
    PlatformHostNameResolver hostResolver;
    // The Find dialog's request; its text buffer is the list's.
    FINDREPLACEA findRequest = {};

private:
    void CreateToolbar();
    void CreateResultList();
    void AttachResultList();
    void CreateTextPane();
    void ComputeReportPath();
    void ShowContextMenu(HWND from);
    void OpenFindDialog();
    void OnFindDialogMessage(const FINDREPLACEA* request);
    void RunAddressText();
    void ApplyPlacement();
    void ExchangeColumnSettings(SettingsFile& file);
    bool ListHasFocus() const;
    void AutoSizeColumns();
    void CopySelection();
    void ShowSelectedAnswer();

    // Lookup engine.
    void StartNextLookup();
    void StopRun();
    void OnLookupDone(int failed);
    void RefreshResolvedNames();
    void ReadServerOverrides(SettingsFile& file);
    // Address list and result list.
    void ClearAddressList();
    void AddAddressesFromText();
    void RebuildList(bool resort);
    void ReloadAddressText();
    void ReadSenderText(WPARAM length, LPARAM address);
    void ReleaseAddressList();
    void SortList(int32_t value, bool keep);
    void FindNext(const FINDREPLACEA* request);
    // Dialogs and reports.
    void OpenAddressDialog();
    void ShowAbout();
    void ShowMyAddress();
    void ShowProperties();
    void ChooseColumns();
    void SaveSelectedItems();
    void SaveWhoisRecords();
    void ShowHtmlReport(int format);

};

// The process-wide handle of the open Find dialog (null when closed); the
// message loop gives it its keyboard messages.
HWND& FindDialogHandle();
