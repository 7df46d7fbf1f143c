#include "lookup/lookup_scheduler.h"

#include "input/address_list.h"
#include "base/options.h"
#include "whois/arin_parser.h"
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

}  // namespace

bool LookupHost::StoreAnswer(TextBuffer& raw, const char* answer) {
    return raw.SetText(answer);
}

LookupScheduler::LookupScheduler(AddressList& list_, LookupHost& host_, const Options& options_, int32_t& currentIndex_,
                                 int32_t& running_)
    : list(list_), host(host_), options(options_), currentIndex(currentIndex_), running(running_) {}

uint32_t LookupScheduler::PauseMilliseconds(int32_t pauseTime) {
    if (pauseTime <= 0) return 0;
    const uint64_t ms = static_cast<uint64_t>(pauseTime) * 1000u;
    return ms > kLongestTimer ? kLongestTimer : static_cast<uint32_t>(ms);
}

void LookupScheduler::StartNextLookup() {
    // A pause timer or an outcome that outlived a Stop starts nothing.
    if (!running) return;
    if (!referralNext) referrals = 0;
    referralNext = false;
    if (phase == Phase::Pausing) host.KillPauseTimer();
    phase = Phase::Idle;

    if (currentIndex < 0 || currentIndex >= list.ItemCount()) {
        EndRun();
        return;
    }
    host.UpdateCommandStates();
    list.SetItemStatus(currentIndex, LookupStatus::Retrieving);
    host.ShowProgress(currentIndex + 1);
    host.RefreshRows();

    const LookupItem* item = list.At(currentIndex);
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
        const int result = ParseAnswer(item->registry, &record, answer);
        if (result > 0) {
            if (referrals < kMaxReferrals) {
                // Asked again at the named registry; the referring answer is dropped.
                ++referrals;
                item->registry = result;
                referralNext = true;
                StartNextLookup();
                return;
            }
            // A chain that keeps referring ends here.
            list.SetItemStatus(currentIndex, LookupStatus::Failed);
        } else if (result == 0 && item->rawText && host.StoreAnswer(*item->rawText, answer)) {
            item->record = record;
            list.SetItemStatus(currentIndex, LookupStatus::Succeeded);
        } else {
            // An answer that cannot be parsed, or kept for its pane, fails.
            list.SetItemStatus(currentIndex, LookupStatus::Failed);
        }
    }
    host.RefreshRows();
    AdvanceToNext();
}

bool LookupScheduler::PauseDue() const {
    return currentIndex < list.ItemCount() && options.Pause && options.PauseCount > 0 && options.PauseTime > 0 &&
           currentIndex % options.PauseCount == 0;
}

void LookupScheduler::AdvanceToNext() {
    ++currentIndex;
    referrals = 0;
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
    host.UpdateCommandStates();
    list.SelectDefaultRow();
    host.RefreshRows();
    host.UpdateStatusBar();
    host.ShowSelectedAnswer();
    host.FocusList();
    host.RunEnded();
}

void LookupScheduler::StopRun() {
    running = 0;
    host.CancelQuery();
    // Nothing may start after Stop, so a pending pause ends here too.
    if (phase == Phase::Pausing) host.KillPauseTimer();
    phase = Phase::Idle;
    referrals = 0;
    referralNext = false;
    if (currentIndex >= 0 && currentIndex < list.ItemCount()) {
        list.SetItemStatus(currentIndex, LookupStatus::Waiting);
    }
    host.UpdateCommandStates();
    host.RefreshRows();
    host.UpdateStatusBar();
}
