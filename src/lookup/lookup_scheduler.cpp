#include "lookup/lookup_scheduler.h"

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

LookupScheduler::LookupScheduler(AddressList& list_, LookupHost& host_, LookupUi& ui_, Options& options_,
                                 int32_t& currentIndex_, int32_t& running_)
    : list(list_), host(host_), ui(ui_), options(options_), currentIndex(currentIndex_), running(running_) {}

uint32_t LookupScheduler::PauseMilliseconds(int32_t pauseTime) {
    if (pauseTime <= 0) return 0;
    const uint64_t ms = static_cast<uint64_t>(pauseTime) * 1000u;
    return ms > kLongestTimer ? kLongestTimer : static_cast<uint32_t>(ms);
}

void LookupScheduler::StartRun() {
    currentIndex = 0;
    running = 1;
    continueItem = false;
    reusableBlocks.clear();
    StartNextLookup();
}

void LookupScheduler::StartNextLookup() {
    // A pause timer or an outcome that outlived a Stop starts nothing.
    if (!running) return;
    if (!continueItem) referrals = denialRetries = 0;
    continueItem = false;
    if (phase == Phase::Pausing) host.KillPauseTimer();
    phase = Phase::Idle;

    // A loop, not a call per item, so that a long list of a blocked registry
    // does not deepen the stack.
    bool skipped = false;
    for (; currentIndex >= 0 && currentIndex < list.ItemCount() &&
           (ReuseEarlierAnswer(*list.At(currentIndex)) || LimitIfBlocked(*list.At(currentIndex)));
         ++currentIndex) {
        skipped = true;
        referrals = denialRetries = 0;
    }
    if (skipped) host.RefreshRows();
    if (currentIndex < 0 || currentIndex >= list.ItemCount()) {
        EndRun();
        return;
    }
    const LookupItem* item = list.At(currentIndex);
    if (const uint32_t wait = PacingWait(item->registry)) {
        // The same item, referrals and all, once the budget allows it.
        continueItem = true;
        list.SetItemStatus(currentIndex, LookupStatus::Paused);
        host.RefreshRows();
        phase = Phase::Pausing;
        host.SetPauseTimer(wait);
        return;
    }
    ui.UpdateCommandStates();
    list.SetItemStatus(currentIndex, LookupStatus::Retrieving);
    ui.ShowProgress(currentIndex + 1);
    host.RefreshRows();

    if (IsRegistryId(item->registry)) recentQueries[item->registry - 1].push_back(host.TickMilliseconds());
    phase = Phase::Querying;
    if (!host.StartQuery(item->ip, item->registry)) host.PostLookupFailure();
}

void LookupScheduler::OnLookupDone(int failed) {
    // Only the outcome of the conversation this run is waiting for counts.
    if (!running || phase != Phase::Querying) return;
    if (currentIndex < 0 || currentIndex >= list.ItemCount()) return;
    phase = Phase::Idle;
    LookupItem* item = list.At(currentIndex);

    if (failed) {
        list.SetItemStatus(currentIndex, LookupStatus::Failed);
    } else {
        WhoisRecord record;
        ClearRecord(&record);
        record.allocated = 2;
        const char* answer = host.AnswerText();
        if (!answer) answer = "";
        const Denial denial = FindDenial(answer);
        if (denial != Denial::None) {
            OnDenial(*item, denial, answer);
            return;
        }
        CountContacts(item->registry, answer);
        const int result = ParseAnswer(item->registry, &record, answer);
        if (result > 0) {
            if (referrals < kMaxReferrals) {
                // Asked again at the named registry; the referring answer is dropped.
                ++referrals;
                item->registry = result;
                continueItem = true;
                StartNextLookup();
                return;
            }
            // A chain that keeps referring ends here.
            list.SetItemStatus(currentIndex, LookupStatus::Failed);
        } else if (result == 0 && item->rawText && host.StoreAnswer(*item->rawText, answer)) {
            item->record = record;
            list.SetItemStatus(currentIndex, LookupStatus::Succeeded);
            const uint32_t from = HostOrder(record.fromIp), to = HostOrder(record.toIp);
            if (record.fromIp && from <= to && options.ReuseMaxAddresses > 0 &&
                uint64_t{to} - from < static_cast<uint64_t>(options.ReuseMaxAddresses))
                reusableBlocks.emplace(from, currentIndex);
        } else {
            // An answer that cannot be parsed, or kept for its pane, fails.
            list.SetItemStatus(currentIndex, LookupStatus::Failed);
        }
    }
    host.RefreshRows();
    AdvanceToNext();
}

bool LookupScheduler::LimitIfBlocked(LookupItem& item) {
    if (!IsRegistryId(item.registry)) return false;
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
    SetLimited(item, note);
    return true;
}

void LookupScheduler::OnDenial(LookupItem& item, Denial denial, const char* answer) {
    if (denial == Denial::Blocked) {
        // Blocks last until the registry's count restarts at midnight UTC;
        // a permanent one is met again then, one query later.
        if (IsRegistryId(item.registry)) {
            const int64_t now = host.NowUtc();
            const int64_t days = (now >= 0 ? now : now - 86399) / 86400;
            FormatUtcMinute((days + 1) * 86400, options.BlockedUntil[item.registry - 1]);
        }
    } else if (denialRetries < kMaxDenialRetries) {
        // The same item once the registry lets us in again: 10 s after too
        // many connections, LACNIC's 5 minutes after its rate limit.
        ++denialRetries;
        continueItem = true;
        const uint64_t minute = host.MinuteMilliseconds();
        const uint64_t ms = denial == Denial::RateLimited ? minute * 5 : minute / 6;
        list.SetItemStatus(currentIndex, LookupStatus::Paused);
        host.RefreshRows();
        phase = Phase::Pausing;
        host.SetPauseTimer(ms > kLongestTimer ? kLongestTimer : static_cast<uint32_t>(ms));
        return;
    }
    SetLimited(item, answer);
    host.RefreshRows();
    AdvanceToNext();
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

bool LookupScheduler::ReuseEarlierAnswer(LookupItem& item) {
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
        list.SetItemStatus(currentIndex, LookupStatus::Succeeded);
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

void LookupScheduler::SetLimited(LookupItem& item, const char* rawText) {
    // A denial is no record, though part of one may have come before it.
    ClearRecord(&item.record);
    if (item.rawText) host.StoreAnswer(*item.rawText, rawText);
    list.SetItemStatus(currentIndex, LookupStatus::Limited);
}

bool LookupScheduler::PauseDue() const {
    return currentIndex < list.ItemCount() && options.Pause && options.PauseCount > 0 && options.PauseTime > 0 &&
           currentIndex % options.PauseCount == 0;
}

void LookupScheduler::AdvanceToNext() {
    ++currentIndex;
    referrals = denialRetries = 0;
    if (PauseDue()) {
        list.SetItemStatus(currentIndex, LookupStatus::Paused);
        host.RefreshRows();
        phase = Phase::Pausing;
        host.SetPauseTimer(PauseMilliseconds(options.PauseTime));
        return;
    }
    StartNextLookup();
}

void LookupScheduler::EndRun() {
    running = 0;
    phase = Phase::Idle;
    ui.UpdateCommandStates();
    list.SelectDefaultRow();
    host.RefreshRows();
    ui.UpdateStatusBar();
    ui.ShowSelectedAnswer();
    ui.FocusList();
    ui.RunEnded();
}

void LookupScheduler::StopRun() {
    running = 0;
    host.CancelQuery();
    // Nothing may start after Stop, so a pending pause ends here too.
    if (phase == Phase::Pausing) host.KillPauseTimer();
    phase = Phase::Idle;
    referrals = denialRetries = 0;
    continueItem = false;
    if (currentIndex >= 0 && currentIndex < list.ItemCount()) {
        list.SetItemStatus(currentIndex, LookupStatus::Waiting);
    }
    ui.UpdateCommandStates();
    host.RefreshRows();
    ui.UpdateStatusBar();
}
