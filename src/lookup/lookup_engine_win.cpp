#include "lookup/lookup_engine_win.h"

#include <cstdlib>

#include "framework/messages.h"
#include "whois/server_selection.h"

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

LookupEngine::LookupEngine(HWND window, AddressList& list, Options& options, LookupUi& ui)
    : window(window), list(list), scheduler(list, *this, ui, options, currentIndex, running), resolver(&list) {
    connection.connectTimeoutMs =
        TimeoutFromEnvironment("OWNERLENS_TEST_CONNECT_TIMEOUT_MS", WhoisConnection::kConnectTimeoutMs);
    connection.idleTimeoutMs =
        TimeoutFromEnvironment("OWNERLENS_TEST_IDLE_TIMEOUT_MS", WhoisConnection::kIdleTimeoutMs);
    connection.totalTimeoutMs =
        TimeoutFromEnvironment("OWNERLENS_TEST_TOTAL_TIMEOUT_MS", WhoisConnection::kTotalTimeoutMs);
    // Every back-off is counted in minutes of this length.
    minuteMs = TimeoutFromEnvironment("OWNERLENS_TEST_MINUTE_MS", 60000);
    list.SetReverseResolveStarter(&resolver);
}

LookupEngine::~LookupEngine() {
    // Nothing may reach the list once it is released: no socket message, no
    // pause, no reverse name.
    connection.CancelQuery();
    KillTimer(window, PAUSE_TIMER);
    running = 0;
    list.SetReverseResolveStarter(nullptr);
    resolver.Detach();
}

void LookupEngine::StartRun() {
    scheduler.StartRun();
}

void LookupEngine::StartNextLookup() {
    scheduler.StartNextLookup();
}

void LookupEngine::StopRun() {
    scheduler.StopRun();
}

void LookupEngine::OnLookupDone(int failed) {
    if (!connection.TakeOutcome()) return;
    scheduler.OnLookupDone(failed);
}

void LookupEngine::ReadServerOverrides(SettingsFile& file) {
    if (!file.Reading()) return;
    for (int32_t registry = RegistryArin; registry <= RegistryAfrinic; ++registry) {
        char value[kServerHostSize + 16] = {};
        file.ExchangeString(ServerOverrideKey(registry), value, "", static_cast<int>(sizeof value));
        connection.servers.Set(registry, value);
    }
}

int LookupEngine::StartQuery(uint32_t ip, int32_t registry) {
    return connection.StartQuery(window, ip, registry);
}

void LookupEngine::CancelQuery() {
    connection.CancelQuery();
}

void LookupEngine::PostLookupFailure() {
    connection.PostStartFailure(window);
}

const char* LookupEngine::AnswerText() {
    return connection.ResponseText();
}

void LookupEngine::SetPauseTimer(uint32_t milliseconds) {
    SetTimer(window, PAUSE_TIMER, milliseconds, nullptr);
}

int64_t LookupEngine::NowUtc() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    const uint64_t ticks = (static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return static_cast<int64_t>(ticks / 10000000u) - 11644473600;  // from 1601 to 1970
}

void LookupEngine::KillPauseTimer() {
    KillTimer(window, PAUSE_TIMER);
}

void LookupEngine::RefreshRows() {
    list.RefreshRows();
}
