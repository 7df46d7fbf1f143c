#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>
#include <richedit.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "input/address_dialog.h"
#include "input/address_list.h"
#include "lang/ui_strings.h"
#include "lookup/lookup_scheduler.h"
#include "lookup/name_resolver.h"
#include "lookup/server_selection.h"
#include "lookup/whois_connection.h"
#include "resources/resource_ids.h"
#include "shell/headless_export_win.h"
#include "shell/main_window.h"
#include "shell/messages.h"

// The lookup engine's side of the main window.

namespace {

// The conversation time-outs may be shortened for the tests only.
uint32_t TimeoutFromEnvironment(const char* name, uint32_t fallback) {
    char value[32] = {};
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    if (length == 0 || length >= sizeof value) return fallback;
    char* end = nullptr;
    const unsigned long ms = std::strtoul(value, &end, 10);
    return end != value && *end == '\0' && ms > 0 && ms <= 0x7FFFFFFF ? static_cast<uint32_t>(ms) : fallback;
}

}  // namespace

class LookupEngine : public LookupHost {
  public:
    explicit LookupEngine(MainWindow& window)
        : window_(window),
          scheduler(*window.addressList, *this, *window.options, window.currentIndex, window.running),
          resolver(window.addressList) {
        connection.connectTimeoutMs =
            TimeoutFromEnvironment("OWNERLENS_TEST_CONNECT_TIMEOUT_MS", WhoisConnection::kConnectTimeoutMs);
        connection.idleTimeoutMs =
            TimeoutFromEnvironment("OWNERLENS_TEST_IDLE_TIMEOUT_MS", WhoisConnection::kIdleTimeoutMs);
        window.addressList->SetReverseResolveStarter(&resolver);
        window.connection = &connection;
        window.scheduler = &scheduler;
    }

    ~LookupEngine() override {
        window_.addressList->SetReverseResolveStarter(nullptr);
        resolver.Detach();
        window_.connection = nullptr;
        window_.scheduler = nullptr;
    }

    int StartQuery(uint32_t ip, int32_t registry) override { return connection.StartQuery(window_.hwnd, ip, registry); }
    void CancelQuery() override { connection.CancelQuery(); }
    void PostLookupFailure() override { connection.PostStartFailure(window_.hwnd); }
    const char* AnswerText() override { return connection.ResponseText(); }
    void SetPauseTimer(uint32_t milliseconds) override { SetTimer(window_.hwnd, PAUSE_TIMER, milliseconds, nullptr); }
    void KillPauseTimer() override { KillTimer(window_.hwnd, PAUSE_TIMER); }
    void RefreshRows() override { window_.addressList->RefreshRows(); }
    void ShowProgress(int number) override {
        char text[256];
        std::snprintf(text, sizeof text, GetUiString(IDS_PROGRESS), number);
        if (window_.statusBar) SendMessageA(window_.statusBar, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    }
    void UpdateCommandStates() override { window_.UpdateCommandStates(); }
    void UpdateStatusBar() override { window_.UpdateStatusBar(); }
    void ShowSelectedAnswer() override { window_.ShowSelectedAnswer(); }
    void FocusList() override {
        if (window_.listView) SetFocus(window_.listView);
    }
    void RunEnded() override {
        if (window_.headless) window_.headless->RunEnded();
    }

  private:
    MainWindow& window_;

  public:
    WhoisConnection connection;
    LookupScheduler scheduler;
    AddressListResolver resolver;
};

LookupEngine* MainWindow::Engine() {
    if (!engine && !lookupEnded && !shutDown && addressList) engine = new LookupEngine(*this);
    return engine;
}

void MainWindow::ShutDownLookupEngine() {
    lookupEnded = true;
    if (!engine) return;
    LookupEngine* ending = engine;
    engine = nullptr;
    ending->connection.CancelQuery();
    KillTimer(hwnd, PAUSE_TIMER);
    running = 0;
    delete ending;
}

void MainWindow::ShowSelectedAnswer() {
    if (!textPane) return;
    const LookupItem* item = nullptr;
    if (addressList && addressList->SelectedCount() == 1) {
        item = static_cast<const LookupItem*>(addressList->SingleSelectedItem());
    }
    SendMessageA(textPane, WM_SETREDRAW, FALSE, 0);
    // Answers may be far longer than the pane's default limit.
    SendMessageA(textPane, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
    SetWindowTextA(textPane, item ? item->RawText() : "");
    SendMessageA(textPane, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(textPane, nullptr, TRUE);
}

void MainWindow::StartNextLookup() {
    if (LookupEngine* e = Engine()) e->scheduler.StartNextLookup();
}

void MainWindow::StopRun() {
    if (LookupEngine* e = Engine()) e->scheduler.StopRun();
}

void MainWindow::OnLookupDone(int failed) {
    if (!engine) return;
    // An outcome of a conversation that was stopped or replaced meanwhile.
    if (!engine->connection.TakeOutcome()) return;
    engine->scheduler.OnLookupDone(failed);
}

void MainWindow::RefreshResolvedNames() {
    if (addressList && addressList->namesChanged.exchange(0)) addressList->RefreshRows();
    if (headless && headless->Tick(*this)) ShutDownLookupEngine();
}

void MainWindow::ReadServerOverrides(SettingsFile& file) {
    // Read at start-up only, never written: a user's entries stay as they are.
    if (!file.Reading()) return;
    LookupEngine* e = Engine();
    if (!e) return;
    ServerOverrides& servers = e->connection.servers;
    for (int32_t registry = RegistryArin; registry <= RegistryAfrinic; ++registry) {
        char value[kServerHostSize + 16] = {};
        file.ExchangeString(ServerOverrideKey(registry), value, "", static_cast<int>(sizeof value));
        servers.Set(registry, value);
    }
}

void MainWindow::OpenAddressDialog() {
    if (headless || shutDown) return;  // a headless run shows no dialog
    AddressDialog dialog;
    dialog.CopyFrom(*options);
    if (dialog.DoModal(hwnd)) {
        dialog.CopyTo(*options);
        PostMessageA(hwnd, UM_RUNADDRESSTEXT, 0, 0);
    }
}
