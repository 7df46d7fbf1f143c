#pragma once
// Walks the address list and looks the addresses up: up to
// Options::MaxConversations WHOIS conversations at once, each with another
// registry, items started in list order as their registry is free; referrals
// followed, optional pauses. With one conversation at a time and no registry
// paused, the items are asked strictly one after the other. Every decision lives here; what touches
// the platform (the connections, the timer, the clock, the window's texts)
// goes through LookupHost, which the lookup engine implements and the tests
// fake.
//
// A registry that denies a query is not asked again while the denial lasts:
// a block (RIPE server family: %ERROR:201/202) until the next 00:00 UTC, kept
// in Options::BlockedUntil so that it outlives the program; a rate limit or
// too many connections pauses that registry and asks the same item again.
// Before that happens, Options::QueriesPerMinute paces each registry: its
// items wait rather than ask one more than its budget in any minute; and a
// registry of the RIPE server family is asked nothing more for the day once
// its next answer could pass Options::DailyContacts. An address inside the
// small block of an earlier answer of the run is not asked at all, and one
// whose /24 is being asked waits for that answer.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <set>

#include "input/lookup_item.h"
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

// What an RDAP conversation brought back.
struct RdapOutcome {
    bool answered = false;  // an HTTP answer came; otherwise failureText says why not
    int status = 0;         // its status code
    const char* statusLine = "";
    const char* body = "";
    size_t length = 0;
    int32_t registry = 0;  // whose base URL the answering URL starts with; 0 none
    const char* failureText = "";
};

// The platform's side of a run: conversations, timers, clocks and rows.
// Conversations are numbered 0 to 4; one number is one connection.
class LookupHost {
  public:
    virtual ~LookupHost() = default;
    // Starts a conversation; 1 when under way, 0 when it cannot start. Its
    // outcome comes back later through LookupScheduler::OnLookupDone.
    virtual int StartQuery(int conversation, uint32_t ip, int32_t registry) = 0;
    // Ends every open conversation silently: no outcome follows.
    virtual void CancelQueries() = 0;
    // Sends a failure outcome on the road every outcome takes (posted, so it
    // arrives later as OnLookupDone(conversation, 1)).
    virtual void PostLookupFailure(int conversation) = 0;
    // The answer of the WHOIS conversation that just ended, up to its first NUL.
    virtual const char* AnswerText(int conversation) = 0;
    // The outcome of the RDAP conversation that just ended (a run over RDAP:
    // Options::UseRdap or Options::RdapOnce).
    virtual RdapOutcome RdapAnswer(int conversation) = 0;
    // Copies the answer into the item's buffer; false when memory is short.
    virtual bool StoreAnswer(TextBuffer& raw, const char* answer);
    // The one timer of the run; setting it again replaces it.
    virtual void SetPauseTimer(uint32_t milliseconds) = 0;
    virtual void KillPauseTimer() = 0;
    // Seconds since 1970-01-01 00:00 UTC.
    virtual int64_t NowUtc() = 0;
    // The length of a minute of back-off, in timer milliseconds.
    virtual uint32_t MinuteMilliseconds() = 0;
    // A millisecond count that only moves on (it may wrap), for pacing.
    virtual uint32_t TickMilliseconds() = 0;
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
    static constexpr int kMaxConversations = 5;
    // A timer may fire this much before the tick count says it is due.
    static constexpr int32_t kTimerSlackMs = 16;

    // A block the scheduler meets is written into options.BlockedUntil.
    LookupScheduler(AddressList& list_, LookupHost& host_, LookupUi& ui_, Options& options_);

    // A new run from the first item, whatever the last one left open.
    void StartRun();
    // The timer has fired: pauses that are over end, and what may start starts.
    void OnTimer();
    // The outcome of a conversation: failed non-zero, or the answer in
    // LookupHost::AnswerText. Outcomes of conversations not open are dropped.
    void OnLookupDone(int conversation, int failed);
    // The Stop command: every open conversation ends.
    void StopRun();
    bool Running() const { return running; }

    // PauseTime in seconds as timer milliseconds, kept within the timer range.
    static uint32_t PauseMilliseconds(int32_t pauseTime);

  private:
    // Where an item of the run stands.
    struct ItemRun {
        enum State : uint8_t { Unseen, Queued, Waiting, Asking, Finished } state = Unseen;
        bool asked = false;  // a conversation has been started for it
        uint8_t referrals = 0;
        uint8_t denialRetries = 0;
    };

    // Starts what may start, in list order, and ends the run when nothing is
    // left; arms the timer for the earliest pause that holds an item back.
    void Pump();
    // The item starts a conversation now, waits for its registry or its /24,
    // or is answered without one; false when it needs a conversation that is
    // not free.
    void Place(int index);
    void Start(int index, int conversation);
    // The item is done: its status is set, the rows are refreshed.
    void Finish(int index);
    // Whether the item's registry refuses queries now, or would send more
    // contacts than today's budget; if so the item is Limited with a note
    // saying until when.
    bool LimitIfBlocked(int index);
    // A denial in the answer: the registry blocked, or a pause before the
    // same item is asked again.
    void OnDenial(int index, Denial denial, const char* answer);
    // The item ends Limited or Failed: no record, rawText for its pane.
    void EndWithout(int index, LookupStatus status, const char* rawText);
    bool OverRdap() const;
    // An RDAP outcome: the record, a failure, or a rate limit.
    void OnRdapDone(int index, const RdapOutcome& outcome);
    // Pauses the registry for so many timer milliseconds; the item shows it.
    void PauseRegistry(int index, uint64_t milliseconds);
    // Timer milliseconds until the registry may be asked within its budget
    // per minute; 0 when now.
    uint32_t PacingWait(int32_t registry);
    // Whether the registry's next answer could pass its contacts of the day.
    bool ContactsUsedUp(int32_t registry, int32_t today) const;
    void CountContacts(int32_t registry, const char* answer);
    // Gives the item the answer of an earlier item of the run whose block
    // holds its address; false when there is none.
    bool ReuseEarlierAnswer(int index);
    // A succeeded item whose block is small enough serves later ones.
    void RememberBlock(int index);
    bool RegistryFree(int32_t registry) const;
    // Whether the registry's pause still holds its items back.
    bool RegistryPaused(int32_t registry);
    int OpenConversations() const;
    // Whether items wait to be started.
    bool ItemsLeft() const;
    ItemRun& Run(int index);
    void Queue(int index);
    // Timer milliseconds until the tick; 0 when it has come.
    uint32_t Remaining(uint32_t due);
    void ArmTimer();
    // After an item's conversation: the pause after every PauseCount items,
    // then what may start starts.
    void AfterOutcome();
    void EndRun();

    AddressList& list;
    LookupHost& host;
    LookupUi& ui;
    Options& options;
    bool running = false;
    // Per conversation, the item it asks for; -1 when it is free.
    int conversations[kMaxConversations] = {-1, -1, -1, -1, -1};
    std::deque<ItemRun> items;  // a deque, so that growing keeps references
    int nextUnseen = 0;         // items from here on have not been looked at
    int finished = 0;           // items of the run that are done
    // Per registry (0: none), the items waiting for it, in list order.
    std::set<int> queued[6];
    // Items waiting for the answer of another item of their /24, by the /24.
    std::multimap<uint32_t, int> waitingForBlock;
    // Per /24, the items started and not yet finished.
    std::map<uint32_t, int> blocksAsked;
    // Per registry, the tick until which it is paused, when paused.
    uint32_t pausedUntil[5] = {};
    bool paused[5] = {};
    // The pause after every PauseCount items, until its tick.
    bool pauseAll = false;
    uint32_t pauseAllUntil = 0;
    int pauseShownBy = -1;  // the item that shows that pause
    bool timerSet = false;
    uint32_t timerDue = 0;
    bool rowsChanged = false;  // items were done without a refresh yet
    // Per registry, the ticks of its queries in the last minute, oldest first.
    std::deque<uint32_t> recentQueries[5];
    // Per registry, the most contacts one answer held on largestDay (YYYYMMDD).
    int32_t largestAnswer[5] = {}, largestDay[5] = {};
    // The items of this run that succeeded with a block small enough to
    // serve others, by the block's first address in host order.
    std::multimap<uint32_t, int> reusableBlocks;
};
