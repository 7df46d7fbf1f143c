#pragma once
// The lookup engine inside the program: a WHOIS and an RDAP connection per
// conversation the scheduler may hold open at once, the scheduler and the
// reverse name resolution, driven by the socket, timer and outcome messages
// of one window.

#include <windows.h>

#include <cstdint>
#include <string>

#include "base/options.h"
#include "base/settings_file.h"
#include "input/address_list.h"
#include "lookup/lookup_scheduler.h"
#include "lookup/name_resolver.h"
#include "lookup/rdap_connection_win.h"
#include "lookup/whois_connection.h"

class LookupEngine : private LookupHost {
  public:
    // window receives the conversation's messages and the pause timer.
    // A block a run meets is written into options (see LookupScheduler).
    LookupEngine(HWND window, AddressList& list, Options& options, LookupUi& ui);
    ~LookupEngine() override;
    LookupEngine(const LookupEngine&) = delete;
    LookupEngine& operator=(const LookupEngine&) = delete;

    // A new run from the first item of the list.
    void StartRun();
    // PAUSE_TIMER has fired.
    void OnTimer();
    void StopRun();
    // UM_LOOKUPDONE: outcomes of a conversation that was stopped or replaced
    // meanwhile are dropped.
    void OnLookupDone(WPARAM outcome);
    // UM_RDAPDONE, likewise.
    void OnRdapDone(WPARAM conversation, LPARAM outcome);
    bool Running() const { return scheduler.Running(); }
    // The registries' host and RDAP base overrides, read at start-up only
    // and never written, so that a user's entries stay as they are.
    void ReadServerOverrides(SettingsFile& file);

  private:
    int StartQuery(int conversation, uint32_t ip, int32_t registry) override;
    void CancelQueries() override;
    void PostLookupFailure(int conversation) override;
    const char* AnswerText(int conversation) override;
    RdapOutcome RdapAnswer(int conversation) override;
    void SetPauseTimer(uint32_t milliseconds) override;
    void KillPauseTimer() override;
    int64_t NowUtc() override;
    uint32_t MinuteMilliseconds() override { return minuteMs; }
    uint32_t TickMilliseconds() override { return GetTickCount(); }
    void RefreshRows() override;

    HWND window;
    AddressList& list;
    Options& options;
    uint32_t minuteMs = 60000;
    WhoisConnection connections[LookupScheduler::kMaxConversations];
    KnownHosts knownHosts;  // learned in this run
    RdapConnection rdapConnections[LookupScheduler::kMaxConversations];
    std::string rdapBases[5];
    LookupScheduler scheduler;
    AddressListResolver resolver;
};
