#pragma once
// One WHOIS conversation at a time: resolve the registry's host, connect,
// send one query line, collect the answer until the server closes, and post
// the outcome (UM_LOOKUPDONE) to the owner window.

#include <map>
#include <string>

#include "lookup/answer_buffer.h"
#include "lookup/async_socket.h"
#include "lookup/server_overrides.h"

// The addresses the registries' host names resolved to, shared by the
// connections of a run, so that each name is looked up once.
struct KnownHosts {
    std::map<std::string, uint32_t> addresses;
};

class WhoisConnection : public AsyncSocket {
  public:
    // Answers up to this many bytes are kept; one byte more fails.
    static constexpr int32_t kMaxAnswerBytes = AnswerBuffer::kMaxBytes;
    static constexpr uint32_t kConnectTimeoutMs = 30000;
    static constexpr uint32_t kIdleTimeoutMs = 60000;
    static constexpr uint32_t kTotalTimeoutMs = 120000;

    WhoisConnection();

    // 1 when the conversation is under way, 0 when it cannot start (nothing
    // is posted then). Ends whatever conversation was open, without a report.
    int StartQuery(HWND owner, uint32_t address, int32_t registry);
    // Ends the conversation silently: no outcome follows, and one already
    // posted is recognised as stale by TakeOutcome.
    void CancelQuery();
    // Posts UM_LOOKUPDONE(Outcome(failed), code) unless cancelled.
    void ReportDone(int failed, int code);
    // Posts a failure for a conversation that could not start, so that it
    // takes the road of every other outcome.
    void PostStartFailure(HWND owner);
    // Called for each UM_LOOKUPDONE that arrives: false when the message
    // belongs to a conversation that was cancelled or replaced after posting.
    bool TakeOutcome();

    // The outcome message's wParam: whether it failed, and which conversation.
    WPARAM Outcome(int failed) const { return static_cast<WPARAM>(conversation) << 1 | (failed ? 1 : 0); }
    static int OutcomeFailed(WPARAM outcome) { return static_cast<int>(outcome & 1); }
    static int OutcomeConversation(WPARAM outcome) { return static_cast<int>(outcome >> 1); }

    // The answer received so far, up to its first NUL.
    const char* ResponseText() const { return response.Text(); }

    void OnRead(int error) override;
    void OnWrite(int error) override;
    void OnClose(int error) override;
    void OnConnect(int error) override;
    void OnTimeout() override;
    void OnHostResolved(const hostent* entry, int error) override;

    int conversation = 0;                           // its number in the scheduler
    KnownHosts* knownHosts = nullptr;               // none: every conversation looks its host up
    ServerOverrides servers;                        // where each registry is asked
    uint32_t connectTimeoutMs = kConnectTimeoutMs;  // no connection within this: failed
    uint32_t idleTimeoutMs = kIdleTimeoutMs;        // no byte for this long: failed
    uint32_t totalTimeoutMs = kTotalTimeoutMs;      // not ended after this long: failed

    AnswerBuffer response;
    char query[256] = {};
    char receiveArea[4096] = {};
    int32_t sendPending = 0;
    int32_t cancelled = 0;
    HWND ownerWindow = nullptr;

  private:
    // Appends received bytes; false (after failing the conversation) when
    // the answer would pass its limit.
    bool Keep(const char* bytes, int n);
    void Fail(int code);
    // Arms the time-out of the next step, ending no later than the whole
    // conversation may last; fails at once when that time has passed.
    void ArmStepTimeout(uint32_t milliseconds);
    // Closes after the outcome was reported: nothing more is posted.
    void EndConversation();
    void ForgetPostedOutcome();
    // Opens the socket and connects to the server, by its known address when
    // there is one and knownAddress allows it; 0 when that fails at once.
    int Open(bool knownAddress);
    void SendQuery();
    // Whether a conversation that could not connect to a known address was
    // started again with a fresh look-up of the host.
    bool RetryWithLookup();

    bool outcomePosted = false;  // posted for the current conversation, not yet taken
    int staleOutcomes = 0;       // posted for ended conversations, not yet taken
    DWORD startTick = 0;         // when the current conversation started
    DWORD stepDeadline = 0;      // when the current step times out
    DWORD timerDeadline = 0;     // when the armed timer fires
    WhoisServer server;          // asked in the current conversation
    bool connected = false;
    bool byKnownAddress = false;  // connecting to an address learned earlier
};
