#pragma once
// Walks the address list and looks the addresses up one after the other:
// one WHOIS conversation at a time, referrals followed, optional pauses.
// Every decision lives here; what touches the platform (the connection, the
// pause timer, the clock, the window's texts) goes through LookupHost, which
// the main window implements and the tests fake.
//
// A registry that denies a query is not asked again while the denial lasts:
// a block (RIPE server family: %ERROR:201/202) until the next 00:00 UTC, kept
// in Options::BlockedUntil so that it outlives the program; a rate limit or
// too many connections pauses the run and asks the same item again.
// Before that happens, Options::QueriesPerMinute paces each registry: the run
// waits rather than ask one more than its budget in any minute; and a
// registry of the RIPE server family is asked nothing more for the day once
// its next answer could pass Options::DailyContacts. An address inside the
// small block of an earlier answer of the run is not asked at all.

#include <cstdint>
#include <deque>
#include <map>

#include "whois/denial.h"

class AddressList;
class LookupItem;
struct Options;
struct TextBuffer;

// What a run shows in the window that owns it.
class LookupUi {
  public:
    virtual ~LookupUi() = default;
    // The progress text with the 1-based number of the item being asked.
    virtual void ShowProgress(int number) = 0;
    virtual void UpdateCommandStates() = 0;
    virtual void UpdateStatusBar() = 0;
    virtual void ShowSelectedAnswer() = 0;
    virtual void FocusList() = 0;
    // The run has ended after its last item (not on Stop).
    virtual void RunEnded() = 0;
};

// The platform's side of a run: conversations, timers, clocks and rows.
class LookupHost {
  public:
    virtual ~LookupHost() = default;
    // Starts a conversation; 1 when under way, 0 when it cannot start. Its
    // outcome comes back later through LookupScheduler::OnLookupDone.
    virtual int StartQuery(uint32_t ip, int32_t registry) = 0;
    // Ends the open conversation silently: no outcome follows.
    virtual void CancelQuery() = 0;
    // Sends a failure outcome on the road every outcome takes (posted, so it
    // arrives later as OnLookupDone(1)).
    virtual void PostLookupFailure() = 0;
    // The answer of the conversation that just ended, up to its first NUL.
    virtual const char* AnswerText() = 0;
    // Copies the answer into the item's buffer; false when memory is short.
    virtual bool StoreAnswer(TextBuffer& raw, const char* answer);
    virtual void SetPauseTimer(uint32_t milliseconds) = 0;
    // Seconds since 1970-01-01 00:00 UTC.
    virtual int64_t NowUtc() = 0;
    // The length of a minute of back-off, in timer milliseconds.
    virtual uint32_t MinuteMilliseconds() = 0;
    // A millisecond count that only moves on (it may wrap), for pacing.
    virtual uint32_t TickMilliseconds() = 0;
    virtual void KillPauseTimer() = 0;
    // Refreshes the rows whose items changed.
    virtual void RefreshRows() = 0;
};

class LookupScheduler {
  public:
    // After this many referrals of one item, the next one makes it Failed.
    static constexpr int kMaxReferrals = 4;
    // After this many asks again of one item after a rate limit or too many
    // connections, the next such denial makes it Limited.
    static constexpr int kMaxDenialRetries = 2;

    enum class Phase {
        Idle,      // no run, or between steps
        Querying,  // a conversation is open or its outcome is on its way
        Pausing,   // the pause timer is pending
    };

    // currentIndex and running are the main window's members: the scheduler
    // works on them so that the window (command states) sees the same values.
    // A block the scheduler meets is written into options.BlockedUntil.
    LookupScheduler(AddressList& list_, LookupHost& host_, LookupUi& ui_, Options& options_, int32_t& currentIndex_,
                    int32_t& running_);

    // A new run from the first item, whatever the last one left pending.
    void StartRun();
    // Starts the item at currentIndex, or ends the run after the last one.
    // Also what the pause timer calls when it fires.
    void StartNextLookup();
    // The outcome of the conversation: failed non-zero, or the answer in
    // LookupHost::AnswerText.
    void OnLookupDone(int failed);
    // The Stop command.
    void StopRun();

    Phase CurrentPhase() const { return phase; }
    int ReferralsOfCurrentItem() const { return referrals; }

    // PauseTime in seconds as timer milliseconds, kept within the timer range.
    static uint32_t PauseMilliseconds(int32_t pauseTime);

  private:
    void AdvanceToNext();
    // Whether the item's registry refuses queries now, or would send more
    // contacts than today's budget; if so the item is Limited with a note
    // saying until when.
    bool LimitIfBlocked(LookupItem& item);
    // A denial in the answer: the registry blocked, or a pause before the
    // same item is asked again.
    void OnDenial(LookupItem& item, Denial denial, const char* answer);
    // The item at currentIndex, with rawText for its pane.
    void SetLimited(LookupItem& item, const char* rawText);
    // Timer milliseconds until the registry may be asked within its budget
    // per minute; 0 when now.
    uint32_t PacingWait(int32_t registry);
    // Whether the registry's next answer could pass its contacts of the day.
    bool ContactsUsedUp(int32_t registry, int32_t today) const;
    void CountContacts(int32_t registry, const char* answer);
    // Gives the item the answer of an earlier item of the run whose block
    // holds its address; false when there is none.
    bool ReuseEarlierAnswer(LookupItem& item);
    void EndRun();
    bool PauseDue() const;

    AddressList& list;
    LookupHost& host;
    LookupUi& ui;
    Options& options;
    int32_t& currentIndex;
    int32_t& running;
    Phase phase = Phase::Idle;
    int referrals = 0;
    int denialRetries = 0;
    // Per registry, the ticks of its queries in the last minute, oldest first.
    std::deque<uint32_t> recentQueries[5];
    // Per registry, the most contacts one answer held on largestDay (YYYYMMDD).
    int32_t largestAnswer[5] = {}, largestDay[5] = {};
    // The items of this run that succeeded with a block small enough to
    // serve others, by the block's first address in host order.
    std::multimap<uint32_t, int> reusableBlocks;
    bool continueItem = false;  // the next StartNextLookup asks the same item again (referral, retry)
};
