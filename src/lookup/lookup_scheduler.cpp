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

LookupScheduler::LookupScheduler(AddressList& list, LookupHost& host, const Options& options, int32_t& currentIndex,
                                 int32_t& running)
    : list_(list), host_(host), options_(options), currentIndex_(currentIndex), running_(running) {}

uint32_t LookupScheduler::PauseMilliseconds(int32_t pauseTime) {
    if (pauseTime <= 0) return 0;
    const uint64_t ms = static_cast<uint64_t>(pauseTime) * 1000u;
    return ms > kLongestTimer ? kLongestTimer : static_cast<uint32_t>(ms);
}

void LookupScheduler::StartNextLookup() {
    // A pause timer or an outcome that outlived a Stop starts nothing.
    if (!running_) return;
    if (!referralNext_) referrals_ = 0;
    referralNext_ = false;
    if (phase_ == Phase::Pausing) host_.KillPauseTimer();
    phase_ = Phase::Idle;

    if (currentIndex_ < 0 || currentIndex_ >= list_.ItemCount()) {
        EndRun();
        return;
    }
    host_.UpdateCommandStates();
    list_.SetItemStatus(currentIndex_, LookupStatus::Retrieving);
    host_.ShowProgress(currentIndex_ + 1);
    host_.RefreshRows();

    const LookupItem* item = list_.At(currentIndex_);
    phase_ = Phase::Querying;
    if (!host_.StartQuery(item->ip, item->registry)) host_.PostLookupFailure();
}

void LookupScheduler::OnLookupDone(int failed) {
    // Only the outcome of the conversation this run is waiting for counts.
    if (!running_ || phase_ != Phase::Querying) return;
    if (currentIndex_ < 0 || currentIndex_ >= list_.ItemCount()) return;
    phase_ = Phase::Idle;
    LookupItem* item = list_.At(currentIndex_);

    if (failed) {
        list_.SetItemStatus(currentIndex_, LookupStatus::Failed);
    } else {
        WhoisRecord record;
        ClearRecord(&record);
        record.allocated = 2;
        const char* answer = host_.AnswerText();
        if (!answer) answer = "";
        const int result = ParseAnswer(item->registry, &record, answer);
        if (result > 0) {
            if (referrals_ < kMaxReferrals) {
                // Asked again at the named registry; the referring answer is dropped.
                ++referrals_;
                item->registry = result;
                referralNext_ = true;
                StartNextLookup();
                return;
            }
            // A chain that keeps referring ends here.
            list_.SetItemStatus(currentIndex_, LookupStatus::Failed);
        } else if (result == 0) {
            item->record = record;
            if (item->rawText) item->rawText->SetText(answer);
            list_.SetItemStatus(currentIndex_, LookupStatus::Succeeded);
        } else {
            list_.SetItemStatus(currentIndex_, LookupStatus::Failed);
        }
    }
    host_.RefreshRows();
    AdvanceToNext();
}

bool LookupScheduler::PauseDue() const {
    return currentIndex_ < list_.ItemCount() && options_.Pause && options_.PauseCount > 0 && options_.PauseTime > 0 &&
           currentIndex_ % options_.PauseCount == 0;
}

void LookupScheduler::AdvanceToNext() {
    ++currentIndex_;
    referrals_ = 0;
    if (PauseDue()) {
        list_.SetItemStatus(currentIndex_, LookupStatus::Paused);
        host_.RefreshRows();
        phase_ = Phase::Pausing;
        host_.SetPauseTimer(PauseMilliseconds(options_.PauseTime));
        return;
    }
    StartNextLookup();
}

void LookupScheduler::EndRun() {
    running_ = 0;
    phase_ = Phase::Idle;
    host_.UpdateCommandStates();
    list_.SelectDefaultRow();
    host_.RefreshRows();
    host_.UpdateStatusBar();
    host_.ShowSelectedAnswer();
    host_.FocusList();
    host_.RunEnded();
}

void LookupScheduler::StopRun() {
    running_ = 0;
    host_.CancelQuery();
    // Nothing may start after Stop, so a pending pause ends here too.
    if (phase_ == Phase::Pausing) host_.KillPauseTimer();
    phase_ = Phase::Idle;
    referrals_ = 0;
    referralNext_ = false;
    if (currentIndex_ >= 0 && currentIndex_ < list_.ItemCount()) {
        list_.SetItemStatus(currentIndex_, LookupStatus::Waiting);
    }
    host_.UpdateCommandStates();
    host_.RefreshRows();
    host_.UpdateStatusBar();
}
