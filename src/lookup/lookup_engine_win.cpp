#include "lookup/lookup_engine_win.h"

#include <cstdlib>

#include "framework/messages.h"
#include "base/address_helpers.h"
#include "whois/rdap_bootstrap.h"
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
    : window(window), list(list), options(options), scheduler(list, *this, ui, options), resolver(&list) {
    const uint32_t connectMs =
        TimeoutFromEnvironment("OWNERLENS_TEST_CONNECT_TIMEOUT_MS", WhoisConnection::kConnectTimeoutMs);
    const uint32_t idleMs = TimeoutFromEnvironment("OWNERLENS_TEST_IDLE_TIMEOUT_MS", WhoisConnection::kIdleTimeoutMs);
    const uint32_t totalMs =
        TimeoutFromEnvironment("OWNERLENS_TEST_TOTAL_TIMEOUT_MS", WhoisConnection::kTotalTimeoutMs);
    for (int i = 0; i < LookupScheduler::kMaxConversations; ++i) {
        connections[i].conversation = i;
        connections[i].knownHosts = &knownHosts;
        connections[i].connectTimeoutMs = connectMs;
        connections[i].idleTimeoutMs = idleMs;
        connections[i].totalTimeoutMs = totalMs;
        rdapConnections[i].connectTimeoutMs = connectMs;
        rdapConnections[i].idleTimeoutMs = idleMs;
        rdapConnections[i].totalTimeoutMs = totalMs;
    }
    for (int32_t registry = RegistryArin; registry <= RegistryAfrinic; ++registry)
        rdapBases[registry - 1] = DefaultRdapBase(registry);
    // Every back-off is counted in minutes of this length.
    minuteMs = TimeoutFromEnvironment("OWNERLENS_TEST_MINUTE_MS", 60000);
    list.SetReverseResolveStarter(&resolver);
}

LookupEngine::~LookupEngine() {
    // Nothing may reach the list once it is released: no socket message, no
    // pause, no reverse name.
    for (WhoisConnection& connection : connections) connection.CancelQuery();
    for (RdapConnection& connection : rdapConnections) connection.Cancel();
    KillTimer(window, PAUSE_TIMER);
    list.SetReverseResolveStarter(nullptr);
    resolver.Detach();
}

void LookupEngine::StartRun() {
    // Each run looks the registries' hosts up afresh, once.
    knownHosts.addresses.clear();
    scheduler.StartRun();
}

void LookupEngine::OnTimer() {
    scheduler.OnTimer();
}

void LookupEngine::StopRun() {
    scheduler.StopRun();
}

void LookupEngine::OnLookupDone(WPARAM outcome) {
    const int conversation = WhoisConnection::OutcomeConversation(outcome);
    if (conversation < 0 || conversation >= LookupScheduler::kMaxConversations) return;
    if (!connections[conversation].TakeOutcome()) return;
    scheduler.OnLookupDone(conversation, WhoisConnection::OutcomeFailed(outcome));
}

void LookupEngine::OnRdapDone(WPARAM conversation, LPARAM outcome) {
    if (conversation >= static_cast<WPARAM>(LookupScheduler::kMaxConversations)) return;
    RdapConnection& connection = rdapConnections[conversation];
    if (!connection.TakeOutcome(outcome)) return;
    scheduler.OnLookupDone(static_cast<int>(conversation), connection.ResultKind() != RdapConnection::Answered);
}

void LookupEngine::ReadServerOverrides(SettingsFile& file) {
    if (!file.Reading()) return;
    for (int32_t registry = RegistryArin; registry <= RegistryAfrinic; ++registry) {
        char value[kServerHostSize + 16] = {};
        file.ExchangeString(ServerOverrideKey(registry), value, "", static_cast<int>(sizeof value));
        for (WhoisConnection& connection : connections) connection.servers.Set(registry, value);
        char base[512] = {};
        file.ExchangeString(RdapOverrideKey(registry), base, "", static_cast<int>(sizeof base));
        rdapBases[registry - 1] = RdapBaseFromSetting(registry, base);
    }
}

int LookupEngine::StartQuery(int conversation, uint32_t ip, int32_t registry) {
    if (options.UseRdap || options.RdapOnce) {
        if (registry < RegistryArin || registry > RegistryAfrinic) return 0;
        char address[16];
        FormatDottedQuad(ip, address);
        const std::string url = rdapBases[registry - 1] + "ip/" + address;
        return rdapConnections[conversation].Start(window, UM_RDAPDONE, static_cast<WPARAM>(conversation), url.c_str())
                   ? 1
                   : 0;
    }
    return connections[conversation].StartQuery(window, ip, registry);
}

void LookupEngine::CancelQueries() {
    for (WhoisConnection& connection : connections) connection.CancelQuery();
    for (RdapConnection& connection : rdapConnections) connection.Cancel();
}

void LookupEngine::PostLookupFailure(int conversation) {
    connections[conversation].PostStartFailure(window);
}

const char* LookupEngine::AnswerText(int conversation) {
    return connections[conversation].ResponseText();
}

RdapOutcome LookupEngine::RdapAnswer(int conversation) {
    const RdapConnection& connection = rdapConnections[conversation];
    RdapOutcome outcome;
    outcome.answered = connection.ResultKind() == RdapConnection::Answered;
    outcome.status = connection.StatusCode();
    outcome.statusLine = connection.StatusLine();
    outcome.body = connection.Body();
    outcome.length = static_cast<size_t>(connection.BodyLength() > 0 ? connection.BodyLength() : 0);
    const char* bases[5];
    for (int i = 0; i < 5; ++i) bases[i] = rdapBases[i].c_str();
    outcome.registry = RdapRegistryOfUrl(connection.FinalUrl(), bases);
    // A conversation that could not start has no text of its own.
    outcome.failureText =
        connection.ResultKind() == RdapConnection::Failed ? connection.FailureText() : "no connection";
    return outcome;
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
