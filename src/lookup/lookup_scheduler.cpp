#include "lookup/lookup_scheduler.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/address_helpers.h"
#include "input/address_list.h"
#include "base/options.h"
#include "lang/ui_strings.h"
#include "resources/resource_ids.h"
#include "whois/arin_parser.h"
#include "whois/contact_count.h"
#include "whois/lacnic_parser.h"
#include "whois/rdap_bootstrap.h"
#include "whois/rdap_parser.h"
#include "whois/ripe_parser.h"
#include "whois/whois_record.h"

namespace {

constexpr uint32_t kLongestTimer = 0x7FFFFFFF;  // the platform's timer limit in ms

// The parser of the dialect of the registry asked: 0 filled, >0 referral.
int ParseAnswer(int32_t registry, WhoisRecord* record, const char* answer) {
    if (registry == 1) return ParseArinResponse(record, answer);
    if (registry == 4) return ParseLacnicResponse(record, answer);
    return ParseRipeResponse(record, answer, registry);
}

// "YYYYMMDDHHMM" of a UTC time, the form of Options::BlockedUntil.
void FormatUtcMinute(int64_t seconds, char out[13]) {
    const int64_t days = (seconds >= 0 ? seconds : seconds - 86399) / 86400;
    const int64_t minuteOfDay = (seconds - days * 86400) / 60;
    // Days since 1970 to the civil date (proleptic Gregorian calendar).
    const int64_t z = days + 719468, era = (z >= 0 ? z : z - 146096) / 146097, doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365,
                  doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153, day = doy - (153 * mp + 2) / 5 + 1, month = mp < 10 ? mp + 3 : mp - 9;
    const int64_t year = yoe + era * 400 + (month <= 2);
    char text[64];
    std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d", static_cast<int>(year % 10000), static_cast<int>(month),
                  static_cast<int>(day), static_cast<int>(minuteOfDay / 60), static_cast<int>(minuteOfDay % 60));
    std::memcpy(out, text, 12);
    out[12] = '\0';
}

bool IsRegistryId(int32_t registry) {
    return registry >= 1 && registry <= 5;
}

// The queue of a registry's items; 0 holds the items of no registry.
int QueueOf(int32_t registry) {
    return IsRegistryId(registry) ? registry : 0;
}

// An address as a number that grows with it.
uint32_t HostOrder(uint32_t address) {
    return AddressOctet(address, 0) << 24 | AddressOctet(address, 1) << 16 | AddressOctet(address, 2) << 8 |
           AddressOctet(address, 3);
}

// The UTC day of a time as the number YYYYMMDD.
int32_t UtcDay(int64_t seconds) {
    char text[13];
    FormatUtcMinute(seconds, text);
    text[8] = '\0';
    return static_cast<int32_t>(std::atoi(text));
}

}  // namespace

bool LookupHost::StoreAnswer(TextBuffer& raw, const char* answer) {
    return raw.SetText(answer);
}

LookupScheduler::LookupScheduler(AddressList& list_, LookupHost& host_, LookupUi& ui_, Options& options_)
    : list(list_), host(host_), ui(ui_), options(options_) {}

uint32_t LookupScheduler::PauseMilliseconds(int32_t pauseTime) {
    if (pauseTime <= 0) return 0;
    const uint64_t ms = static_cast<uint64_t>(pauseTime) * 1000u;
    return ms > kLongestTimer ? kLongestTimer : static_cast<uint32_t>(ms);
}

void LookupScheduler::StartRun() {
    // What the last run left open ends here, silently.
    if (OpenConversations() > 0) host.CancelQueries();
    if (timerSet) host.KillPauseTimer();
    timerSet = pauseAll = false;
    std::fill_n(conversations, kMaxConversations, -1);
    std::fill_n(paused, 5, false);
    items.clear();
    for (std::set<int>& queue : queued) queue.clear();
    waitingForBlock.clear();
    blocksAsked.clear();
    reusableBlocks.clear();
    nextUnseen = finished = 0;
    running = true;
    Pump();
}

void LookupScheduler::OnTimer() {
    if (timerSet) host.KillPauseTimer();
    timerSet = false;
    if (!running) return;
    if (pauseAll && Remaining(pauseAllUntil) == 0) {
        pauseAll = false;
        // The item that showed the pause shows it no longer if it must still wait.
        if (LookupItem* item = list.At(pauseShownBy)) {
            if (item->status == LookupStatus::Paused && Run(pauseShownBy).state != ItemRun::Asking)
                list.SetItemStatus(pauseShownBy, LookupStatus::Waiting);
        }
    }
    Pump();
}

void LookupScheduler::Pump() {
    if (!running) return;
    const int most = options.MaxConversations < 1   ? 1
                     : options.MaxConversations > 5 ? kMaxConversations
                                                    : options.MaxConversations;
    while (!pauseAll && OpenConversations() < most) {
        // The first item in list order whose registry may be asked now: the
        // queued ones all come before the unseen ones.
        int next = -1, from = 0;
        for (int r = 0; r <= 5; ++r) {
            if (queued[r].empty() || (next >= 0 && *queued[r].begin() > next) || !RegistryFree(r) || RegistryPaused(r))
                continue;
            next = *queued[r].begin();
            from = r;
        }
        if (next >= 0) {
            queued[from].erase(queued[from].begin());
        } else if (nextUnseen < list.ItemCount()) {
            next = nextUnseen++;
        } else {
            break;
        }
        Place(next);
    }
    if (rowsChanged) host.RefreshRows();
    rowsChanged = false;
    if (OpenConversations() == 0 && !ItemsLeft()) {
        EndRun();
        return;
    }
    ArmTimer();
}

void LookupScheduler::Place(int index) {
    ItemRun& run = Run(index);
    LookupItem* item = list.At(index);
    if (!item) {
        run.state = ItemRun::Finished;
        return;
    }
    // RDAP's bootstrap knows the registries' blocks better than the
    // first-octet table (which stays for what it does not hold).
    if (!run.asked && OverRdap() && options.FindServerByIP) {
        if (const int32_t registry = RdapRegistryFor(item->ip)) item->registry = registry;
    }
    // A loop in Pump, not a call per item, so that a long list of a blocked
    // registry does not deepen the stack.
    if (ReuseEarlierAnswer(index) || LimitIfBlocked(index)) {
        rowsChanged = true;
        Finish(index);
        return;
    }
    const int32_t registry = item->registry;
    if (!RegistryFree(registry) || RegistryPaused(registry)) {
        Queue(index);
        return;
    }
    // Another address of the /24 is being asked: its answer may serve this one.
    const uint32_t block = HostOrder(item->ip) >> 8;
    if (!run.asked && options.ReuseMaxAddresses > 0 && blocksAsked.count(block)) {
        run.state = ItemRun::Waiting;
        waitingForBlock.emplace(block, index);
        return;
    }
    if (const uint32_t wait = PacingWait(registry)) {
        // The same item, referrals and all, once the budget allows it.
        PauseRegistry(index, wait);
        Queue(index);
        return;
    }
    for (int conversation = 0; conversation < kMaxConversations; ++conversation) {
        if (conversations[conversation] < 0) {
            Start(index, conversation);
            return;
        }
    }
    Queue(index);
}

void LookupScheduler::Start(int index, int conversation) {
    ItemRun& run = Run(index);
    const LookupItem* item = list.At(index);
    run.state = ItemRun::Asking;
    if (!run.asked) ++blocksAsked[HostOrder(item->ip) >> 8];
    run.asked = true;
    conversations[conversation] = index;
    if (rowsChanged) host.RefreshRows();
    rowsChanged = false;
    ui.UpdateCommandStates();
    list.SetItemStatus(index, LookupStatus::Retrieving);
    ui.ShowProgress(finished + 1);
    host.RefreshRows();
    if (IsRegistryId(item->registry)) recentQueries[item->registry - 1].push_back(host.TickMilliseconds());
    if (!host.StartQuery(conversation, item->ip, item->registry)) host.PostLookupFailure(conversation);
}

void LookupScheduler::Finish(int index) {
    ItemRun& run = Run(index);
    run.state = ItemRun::Finished;
    ++finished;
    const LookupItem* item = list.At(index);
    if (!run.asked || !item) return;
    // The last item of its /24 in progress lets the ones that waited for it go.
    const uint32_t block = HostOrder(item->ip) >> 8;
    const auto asked = blocksAsked.find(block);
    if (asked == blocksAsked.end() || --asked->second > 0) return;
    blocksAsked.erase(asked);
    const auto waiters = waitingForBlock.equal_range(block);
    for (auto waiter = waiters.first; waiter != waiters.second; ++waiter) Queue(waiter->second);
    waitingForBlock.erase(waiters.first, waiters.second);
}

void LookupScheduler::AfterOutcome() {
    // The pause after every PauseCount items, not after the last.
    if (options.Pause && options.PauseCount > 0 && options.PauseTime > 0 && finished % options.PauseCount == 0 &&
        ItemsLeft()) {
        pauseAll = true;
        pauseAllUntil = host.TickMilliseconds() + PauseMilliseconds(options.PauseTime);
        // The item next in line shows it.
        pauseShownBy = nextUnseen < list.ItemCount() ? nextUnseen : -1;
        for (const std::set<int>& queue : queued)
            if (!queue.empty() && (pauseShownBy < 0 || *queue.begin() < pauseShownBy)) pauseShownBy = *queue.begin();
        if (pauseShownBy >= 0) {
            list.SetItemStatus(pauseShownBy, LookupStatus::Paused);
            host.RefreshRows();
        }
    }
    Pump();
}

void LookupScheduler::OnLookupDone(int conversation, int failed) {
    // Only the outcome of a conversation this run is waiting for counts.
    if (!running || conversation < 0 || conversation >= kMaxConversations || conversations[conversation] < 0) return;
    const int index = conversations[conversation];
    conversations[conversation] = -1;
    LookupItem* item = list.At(index);
    if (!item) {
        Run(index).state = ItemRun::Finished;
        Pump();
        return;
    }
    ItemRun& run = Run(index);

    if (OverRdap()) {
        OnRdapDone(index, host.RdapAnswer(conversation));
        return;
    }
    if (failed) {
        list.SetItemStatus(index, LookupStatus::Failed);
    } else {
        WhoisRecord record;
        ClearRecord(&record);
        record.allocated = 2;
        const char* answer = host.AnswerText(conversation);
        if (!answer) answer = "";
        const Denial denial = FindDenial(answer);
        if (denial != Denial::None) {
            OnDenial(index, denial, answer);
            return;
        }
        CountContacts(item->registry, answer);
        const int result = ParseAnswer(item->registry, &record, answer);
        if (result > 0) {
            if (run.referrals < kMaxReferrals) {
                // Asked again at the named registry; the referring answer is dropped.
                ++run.referrals;
                item->registry = result;
                Place(index);
                Pump();
                return;
            }
            // A chain that keeps referring ends here.
            list.SetItemStatus(index, LookupStatus::Failed);
        } else if (result == 0 && item->rawText && host.StoreAnswer(*item->rawText, answer)) {
            item->record = record;
            list.SetItemStatus(index, LookupStatus::Succeeded);
            RememberBlock(index);
        } else {
            // An answer that cannot be parsed, or kept for its pane, fails.
            list.SetItemStatus(index, LookupStatus::Failed);
        }
    }
    host.RefreshRows();
    Finish(index);
    AfterOutcome();
}

bool LookupScheduler::OverRdap() const {
    return options.UseRdap || options.RdapOnce;
}

void LookupScheduler::OnRdapDone(int index, const RdapOutcome& outcome) {
    LookupItem& item = *list.At(index);
    // Redirects lead to the registry that holds the block.
    if (outcome.registry) item.registry = outcome.registry;
    if (outcome.answered && (outcome.status == 429 || RdapRateLimited(outcome.body, outcome.length))) {
        OnDenial(index, Denial::RateLimited, outcome.statusLine);
        return;
    }
    WhoisRecord record;
    std::string pane;
    if (!outcome.answered) {
        EndWithout(index, LookupStatus::Failed, outcome.failureText);
    } else if (outcome.status != 200) {
        EndWithout(index, LookupStatus::Failed, outcome.statusLine);
    } else if (ParseRdapResponse(&record, outcome.body, outcome.length, item.registry) == 0 && item.rawText &&
               host.StoreAnswer(*item.rawText,
                                FormatRdapForPane(outcome.body, outcome.length, &pane) ? pane.c_str() : outcome.body)) {
        item.record = record;
        list.SetItemStatus(index, LookupStatus::Succeeded);
        RememberBlock(index);
    } else {
        // Not an IP network, or no memory for its pane.
        EndWithout(index, LookupStatus::Failed, outcome.body);
    }
    host.RefreshRows();
    Finish(index);
    AfterOutcome();
}

bool LookupScheduler::LimitIfBlocked(int index) {
    const LookupItem& item = *list.At(index);
    // The blocks and budgets are those of port 43; RDAP has only its rate limit.
    if (!IsRegistryId(item.registry) || OverRdap()) return false;
    char* until = options.BlockedUntil[item.registry - 1];
    char now[13];
    FormatUtcMinute(host.NowUtc(), now);
    // A block that has passed is forgotten, and so leaves the settings.
    if (until[0] && std::strcmp(until, now) <= 0) until[0] = '\0';
    const bool usedUp = !until[0] && ContactsUsedUp(item.registry, UtcDay(host.NowUtc()));
    if (!until[0] && !usedUp) return false;
    char midnight[13], when[24], note[512];
    if (usedUp) {
        // The registry's count, and so ours, starts again at 00:00 UTC.
        const int64_t seconds = host.NowUtc();
        FormatUtcMinute(((seconds >= 0 ? seconds : seconds - 86399) / 86400 + 1) * 86400, midnight);
        until = midnight;
    }
    std::snprintf(when, sizeof when, "%.4s-%.2s-%.2s %.2s:%.2s", until, until + 4, until + 6, until + 8, until + 10);
    std::snprintf(note, sizeof note, GetUiString(usedUp ? IDS_CONTACTS_USED_UP : IDS_REGISTRY_REFUSED),
                  GetUiString(IDS_REGISTRY_BASE + static_cast<uint32_t>(item.registry)), when);
    EndWithout(index, LookupStatus::Limited, note);
    return true;
}

void LookupScheduler::OnDenial(int index, Denial denial, const char* answer) {
    const int32_t registry = list.At(index)->registry;
    ItemRun& run = Run(index);
    if (denial == Denial::Blocked) {
        // Blocks last until the registry's count restarts at midnight UTC;
        // a permanent one is met again then, one query later.
        if (IsRegistryId(registry)) {
            const int64_t now = host.NowUtc();
            const int64_t days = (now >= 0 ? now : now - 86399) / 86400;
            FormatUtcMinute((days + 1) * 86400, options.BlockedUntil[registry - 1]);
        }
    } else if (run.denialRetries < kMaxDenialRetries) {
        // The same item once the registry lets us in again: 10 s after too
        // many connections, LACNIC's 5 minutes after its rate limit.
        ++run.denialRetries;
        const uint64_t minute = host.MinuteMilliseconds();
        PauseRegistry(index, denial == Denial::RateLimited ? minute * 5 : minute / 6);
        Queue(index);
        Pump();
        return;
    }
    EndWithout(index, LookupStatus::Limited, answer);
    host.RefreshRows();
    Finish(index);
    AfterOutcome();
}

void LookupScheduler::PauseRegistry(int index, uint64_t milliseconds) {
    const int32_t registry = list.At(index)->registry;
    if (IsRegistryId(registry)) {
        paused[registry - 1] = true;
        pausedUntil[registry - 1] = host.TickMilliseconds() +
                                    static_cast<uint32_t>(milliseconds > kLongestTimer ? kLongestTimer : milliseconds);
    }
    list.SetItemStatus(index, LookupStatus::Paused);
    host.RefreshRows();
}

uint32_t LookupScheduler::PacingWait(int32_t registry) {
    if (!IsRegistryId(registry)) return 0;
    std::deque<uint32_t>& recent = recentQueries[registry - 1];
    const uint32_t now = host.TickMilliseconds(), minute = host.MinuteMilliseconds();
    // Unsigned differences survive the tick count's wrap.
    while (!recent.empty() && now - recent.front() >= minute) recent.pop_front();
    const int32_t budget = options.QueriesPerMinute[registry - 1];
    if (budget <= 0 || recent.size() < static_cast<size_t>(budget)) return 0;
    // The oldest query that still counts must be a minute old.
    return recent[recent.size() - static_cast<size_t>(budget)] + minute - now;
}

bool LookupScheduler::ReuseEarlierAnswer(int index) {
    LookupItem& item = *list.At(index);
    const uint32_t ip = HostOrder(item.ip);
    // Only blocks that start at most ReuseMaxAddresses before the address can hold it.
    const uint32_t reach = options.ReuseMaxAddresses > 0 ? static_cast<uint32_t>(options.ReuseMaxAddresses) : 0;
    const auto first = reusableBlocks.lower_bound(ip > reach ? ip - reach : 0);
    for (auto block = first; block != reusableBlocks.end() && block->first <= ip; ++block) {
        const LookupItem* source = list.At(block->second);
        if (!source || source == &item || source->status != LookupStatus::Succeeded) continue;
        if (HostOrder(source->record.toIp) < ip || !item.rawText || !host.StoreAnswer(*item.rawText, source->RawText()))
            continue;
        item.registry = source->registry;
        item.record = source->record;
        list.SetItemStatus(index, LookupStatus::Succeeded);
        return true;
    }
    return false;
}

bool LookupScheduler::ContactsUsedUp(int32_t registry, int32_t today) const {
    if (!IsRegistryId(registry) || options.DailyContacts[registry - 1] <= 0) return false;
    const int i = registry - 1;
    const int64_t used = options.ContactsDay[i] == today ? options.ContactsToday[i] : 0;
    // The next answer may hold as many as the largest one today, and one at least.
    const int64_t next = largestDay[i] == today && largestAnswer[i] > 1 ? largestAnswer[i] : 1;
    return used + next > options.DailyContacts[i];
}

void LookupScheduler::CountContacts(int32_t registry, const char* answer) {
    if (!IsRegistryId(registry) || options.DailyContacts[registry - 1] <= 0) return;
    const int i = registry - 1, today = UtcDay(host.NowUtc()), contacts = CountContactObjects(answer);
    if (options.ContactsDay[i] != today) options.ContactsToday[i] = 0;
    if (largestDay[i] != today) largestAnswer[i] = 0;
    options.ContactsDay[i] = largestDay[i] = today;
    if (contacts > largestAnswer[i]) largestAnswer[i] = contacts;
    if (options.ContactsToday[i] < 0x7FFFFFFF - contacts) options.ContactsToday[i] += contacts;
}

void LookupScheduler::RememberBlock(int index) {
    const WhoisRecord& record = list.At(index)->record;
    const uint32_t from = HostOrder(record.fromIp), to = HostOrder(record.toIp);
    if (record.fromIp && from <= to && options.ReuseMaxAddresses > 0 &&
        uint64_t{to} - from < static_cast<uint64_t>(options.ReuseMaxAddresses))
        reusableBlocks.emplace(from, index);
}

void LookupScheduler::EndWithout(int index, LookupStatus status, const char* rawText) {
    LookupItem& item = *list.At(index);
    // A denial or a failure is no record, though part of one may have come before it.
    ClearRecord(&item.record);
    if (item.rawText) host.StoreAnswer(*item.rawText, rawText);
    list.SetItemStatus(index, status);
}

LookupScheduler::ItemRun& LookupScheduler::Run(int index) {
    if (static_cast<size_t>(index) >= items.size()) items.resize(static_cast<size_t>(index) + 1);
    return items[static_cast<size_t>(index)];
}

void LookupScheduler::Queue(int index) {
    Run(index).state = ItemRun::Queued;
    queued[QueueOf(list.At(index)->registry)].insert(index);
}

bool LookupScheduler::RegistryFree(int32_t registry) const {
    for (const int index : conversations) {
        if (index < 0) continue;
        const LookupItem* item = list.At(index);
        if (item && QueueOf(item->registry) == QueueOf(registry)) return false;
    }
    return true;
}

bool LookupScheduler::RegistryPaused(int32_t registry) {
    if (!IsRegistryId(registry) || !paused[registry - 1]) return false;
    paused[registry - 1] = Remaining(pausedUntil[registry - 1]) > 0;
    return paused[registry - 1];
}

int LookupScheduler::OpenConversations() const {
    return static_cast<int>(
        std::count_if(conversations, conversations + kMaxConversations, [](int i) { return i >= 0; }));
}

bool LookupScheduler::ItemsLeft() const {
    if (nextUnseen < list.ItemCount() || !waitingForBlock.empty()) return true;
    for (const std::set<int>& queue : queued)
        if (!queue.empty()) return true;
    return false;
}

uint32_t LookupScheduler::Remaining(uint32_t due) {
    // Timer messages may come a little before the tick count says they are due.
    const int32_t left = static_cast<int32_t>(due - host.TickMilliseconds());
    return left > kTimerSlackMs ? static_cast<uint32_t>(left) : 0;
}

void LookupScheduler::ArmTimer() {
    bool wanted = pauseAll;
    uint32_t wait = pauseAll ? Remaining(pauseAllUntil) : 0;
    for (int32_t registry = 1; registry <= 5; ++registry) {
        if (!RegistryPaused(registry) || queued[registry].empty()) continue;
        const uint32_t left = Remaining(pausedUntil[registry - 1]);
        if (!wanted || left < wait) wait = left;
        wanted = true;
    }
    const uint32_t due = host.TickMilliseconds() + wait;
    // A timer that fires sooner stays: the run looks again then.
    if (!wanted || (timerSet && static_cast<int32_t>(timerDue - due) <= 0)) return;
    timerSet = true;
    timerDue = due;
    host.SetPauseTimer(wait);
}

void LookupScheduler::EndRun() {
    running = false;
    ui.UpdateCommandStates();
    list.SelectDefaultRow();
    host.RefreshRows();
    ui.UpdateStatusBar();
    ui.ShowSelectedAnswer();
    ui.FocusList();
    ui.RunEnded();
}

void LookupScheduler::StopRun() {
    running = false;
    host.CancelQueries();
    // Nothing may start after Stop, so a pending pause ends here too.
    if (timerSet) host.KillPauseTimer();
    timerSet = pauseAll = false;
    // Items being asked, or showing a pause, wait again
    for (int& index : conversations) {
        if (index >= 0 && list.At(index)) list.SetItemStatus(index, LookupStatus::Waiting);
        index = -1;
    }
    // (a referred item waits for its next registry as Retrieving)
    for (const std::set<int>& queue : queued) {
        for (const int index : queue) {
            const LookupItem* item = list.At(index);
            if (item && (item->status == LookupStatus::Paused || item->status == LookupStatus::Retrieving))
                list.SetItemStatus(index, LookupStatus::Waiting);
        }
    }
    if (list.At(pauseShownBy) && list.At(pauseShownBy)->status == LookupStatus::Paused)
        list.SetItemStatus(pauseShownBy, LookupStatus::Waiting);
    ui.UpdateCommandStates();
    host.RefreshRows();
    ui.UpdateStatusBar();
}
