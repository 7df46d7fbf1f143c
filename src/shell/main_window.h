#pragma once
// The program's only top-level window: it owns the options, the address
// list, the WHOIS connection and the split bar, lays out the child windows
// and turns commands, notifications, timers and messages into work.

#include <windows.h>
#include <commdlg.h>

#include <cstdint>

#include "shell/command_line.h"
#include "shell/options.h"
#include "shell/settings_file.h"
#include "shell/splitter.h"
#include "shell/window_base.h"

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
    // --- lookup engine members end ---

    // The Find dialog's request and text; the dialog writes into them.
    FINDREPLACEA findRequest = {};
    char findText[256] = {};

private:
    void CreateToolbar();
    void CreateResultList();
    void CreateTextPane();
    void ComputeReportPath();
    void ShowContextMenu(HWND from);
    void OpenFindDialog();
    void OnFindDialogMessage(const FINDREPLACEA* request);
    void RunAddressText();
    void ApplyPlacement();
    void ExchangeColumnSettings(SettingsFile& file);
    void ApplyColumnLayout(const unsigned char* layout);
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

    int32_t sortState = 0;
};

// The process-wide handle of the open Find dialog (null when closed); the
// message loop gives it its keyboard messages.
HWND& FindDialogHandle();
