#include "lookup/lookup_scheduler.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../views/list_test_support.h"
#include "../views/program_strings.h"
#include "whois/server_selection.h"
#include "base/options.h"
#include "views/result_columns.h"

namespace {

std::string ReadAnswer(const std::string& relative) {
    std::ifstream in(std::string(OL_TEST_DATA_DIR) + "/whois/" + relative, std::ios::binary);
    EXPECT_TRUE(in.good()) << relative;
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A RIPE-family answer that hands the block to AfriNIC: asked at AfriNIC it
// refers again, so a chain of it never ends by itself.
const char kAfricaReferral[] =
    "inetnum:        196.0.0.0 - 196.255.255.255\n"
    "netname:        AFRINIC-TRANSFERRED\n"
    "org:            ORG-AFNC1-RIPE\n"
    "source:         RIPE\n";

// Records what the scheduler asks of its host, in order.
class FakeHost : public LookupHost {
  public:
    struct Query {
        std::string ip;
        int32_t registry;
    };

    FakeHost(const int32_t& running, AddressList& list) : running_(running), list_(list) {}

    int StartQuery(uint32_t ip, int32_t registry) override {
        queries.push_back({Dotted(ip), registry});
        events.push_back("query");
        return startResult;
    }
    void CancelQuery() override { events.push_back("cancel"); }
    void PostLookupFailure() override {
        ++postedFailures;
        events.push_back("post-failure");
    }
    const char* AnswerText() override { return answer.c_str(); }
    void SetPauseTimer(uint32_t ms) override {
        pauseTimers.push_back(ms);
        timerPending = true;
        events.push_back("pause");
    }
    void KillPauseTimer() override {
        timerPending = false;
        events.push_back("kill-pause");
    }
    void RefreshRows() override {
        ++refreshes;
        list_.RefreshRows();
    }
    void ShowProgress(int number) override { progress.push_back(number); }
    void UpdateCommandStates() override {
        // The Stop command's state is taken from `running` at this moment.
        stopEnabled.push_back(running_ != 0);
    }
    void UpdateStatusBar() override { ++statusUpdates; }
    void ShowSelectedAnswer() override { events.push_back("show-answer"); }
    void FocusList() override { events.push_back("focus"); }
    void RunEnded() override {
        ++runsEnded;
        events.push_back("ended");
    }

    int startResult = 1;
    std::string answer;
    std::vector<Query> queries;
    std::vector<std::string> events;
    std::vector<uint32_t> pauseTimers;
    std::vector<int> progress;
    std::vector<bool> stopEnabled;
    bool timerPending = false;
    int postedFailures = 0;
    int refreshes = 0;
    int statusUpdates = 0;
    int runsEnded = 0;

  private:
    const int32_t& running_;
    AddressList& list_;
};

class SchedulerTest : public ::testing::Test {
  protected:
    SchedulerTest() : list(&options), host(running, list), scheduler(list, host, options, currentIndex, running) {
        options.ResolveIPAddr = 0;
        options.FindServerByIP = 1;
        list.Attach(&view);
        view.InsertColumns(list);
    }

    // What the main window does on UM_RUNADDRESSTEXT.
    void Run(const char* text) {
        list.Clear();
        list.DeleteAllRows();
        options.addressText.SetText(text);
        list.AddAddressesFromText();
        list.Rebuild(true);
        currentIndex = 0;
        running = 1;
        scheduler.StartNextLookup();
    }
    // The open conversation answers with text.
    void Answer(const std::string& text) {
        host.answer = text;
        scheduler.OnLookupDone(0);
    }
    void FireTimer() {
        ASSERT_TRUE(host.timerPending);
        host.timerPending = false;  // the window kills it as it fires
        scheduler.StartNextLookup();
    }
    LookupStatus Status(int index) { return list.At(index)->status; }

    TestUiStrings strings;
    Options options;
    AddressList list;
    FakeReportView view;
    int32_t currentIndex = 0;
    int32_t running = 0;
    FakeHost host;
    LookupScheduler scheduler;
};

const char kArinOnly[] = "4.2.2.1";  // first octet without a table entry: ARIN
const std::string kArinAnswer = ReadAnswer("arin/direct_allocation_no_referral_4.2.2.1.txt");

TEST_F(SchedulerTest, EmptyListEndsTheRunAtOnce) {
    Run("no addresses, 10.0.0.1 is reserved");
    EXPECT_EQ(list.ItemCount(), 0);
    EXPECT_EQ(running, 0);
    EXPECT_TRUE(host.queries.empty());
    EXPECT_EQ(host.runsEnded, 1);
    EXPECT_EQ(host.statusUpdates, 1);
    ASSERT_FALSE(host.stopEnabled.empty());
    EXPECT_FALSE(host.stopEnabled.back());
    EXPECT_EQ(host.events, (std::vector<std::string>{"show-answer", "focus", "ended"}));
}

TEST_F(SchedulerTest, WalksTheListOneConversationAtATime) {
    Run("4.2.2.1 4.2.2.2 4.2.2.3");
    ASSERT_EQ(host.queries.size(), 1u);
    EXPECT_EQ(Status(0), LookupStatus::Retrieving);
    EXPECT_EQ(Status(1), LookupStatus::Waiting);
    EXPECT_EQ(view.rows[0].texts[ColumnStatus], strings.builtin[522]);  // the row shows it at once
    Answer(kArinAnswer);
    Answer(kArinAnswer);
    EXPECT_EQ(running, 1);
    Answer(kArinAnswer);
    EXPECT_EQ(running, 0);
    EXPECT_EQ(host.progress, (std::vector<int>{1, 2, 3}));
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Status(i), LookupStatus::Succeeded);
        EXPECT_EQ(list.At(i)->record.whoisSource, RegistryArin);
        EXPECT_EQ(list.At(i)->RawText(), kArinAnswer);
    }
    EXPECT_EQ(host.runsEnded, 1);
    // A straggling outcome after the end changes nothing.
    scheduler.OnLookupDone(1);
    EXPECT_EQ(Status(2), LookupStatus::Succeeded);
    EXPECT_EQ(host.queries.size(), 3u);
}

TEST_F(SchedulerTest, PausesAfterEveryPauseCountItemsButNotAfterTheLast) {
    options.Pause = 1;
    options.PauseCount = 2;
    options.PauseTime = 5;
    Run("4.2.2.1 4.2.2.2 4.2.2.3 4.2.2.4 4.2.2.5");
    Answer(kArinAnswer);
    EXPECT_EQ(host.queries.size(), 2u);
    Answer(kArinAnswer);
    // Items 1 and 2 done: item 3 waits out the pause.
    EXPECT_EQ(host.queries.size(), 2u);
    EXPECT_EQ(Status(2), LookupStatus::Paused);
    EXPECT_EQ(view.rows[2].texts[ColumnStatus], strings.builtin[525]);
    EXPECT_EQ(host.pauseTimers, (std::vector<uint32_t>{5000}));
    EXPECT_EQ(scheduler.CurrentPhase(), LookupScheduler::Phase::Pausing);
    // An outcome while paused belongs to no conversation.
    scheduler.OnLookupDone(0);
    EXPECT_EQ(Status(2), LookupStatus::Paused);

    FireTimer();
    EXPECT_EQ(Status(2), LookupStatus::Retrieving);
    Answer(kArinAnswer);
    EXPECT_EQ(host.queries.size(), 4u);  // item 4 follows at once
    Answer(kArinAnswer);
    EXPECT_EQ(Status(4), LookupStatus::Paused);
    EXPECT_EQ(host.pauseTimers, (std::vector<uint32_t>{5000, 5000}));
    FireTimer();
    Answer(kArinAnswer);
    EXPECT_EQ(running, 0);
    EXPECT_EQ(host.pauseTimers.size(), 2u);  // none after the last item
    EXPECT_EQ(host.queries.size(), 5u);
    EXPECT_EQ(host.progress, (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(host.runsEnded, 1);
}

TEST_F(SchedulerTest, NoPauseWhenSwitchedOffOrEitherNumberIsZero) {
    const struct { int pause, count, time; } cases[] = {{1, 0, 5}, {1, 2, 0}, {0, 2, 5}, {1, -2, 5}, {1, 2, -5}};
    for (const auto& c : cases) {
        options.Pause = c.pause;
        options.PauseCount = c.count;
        options.PauseTime = c.time;
        host.pauseTimers.clear();
        Run("4.2.2.1 4.2.2.2 4.2.2.3 4.2.2.4");
        for (int i = 0; i < 4; ++i) Answer(kArinAnswer);
        EXPECT_EQ(running, 0) << c.pause << " " << c.count << " " << c.time;
        EXPECT_TRUE(host.pauseTimers.empty()) << c.pause << " " << c.count << " " << c.time;
    }
}

TEST_F(SchedulerTest, PauseLengthStaysWithinTheTimerRange) {
    EXPECT_EQ(LookupScheduler::PauseMilliseconds(30), 30000u);
    EXPECT_EQ(LookupScheduler::PauseMilliseconds(0x7FFFFFFF), 0x7FFFFFFFu);
    EXPECT_EQ(LookupScheduler::PauseMilliseconds(-1), 0u);
}

TEST_F(SchedulerTest, ArinReferralAsksRipeAgainUnderTheSameNumber) {
    options.FindServerByIP = 0;
    Run("185.2.136.189 4.2.2.1");
    Answer(ReadAnswer("arin/referral_ripe_allocated_185.2.136.189.txt"));
    ASSERT_EQ(host.queries.size(), 2u);
    EXPECT_EQ(host.queries[1].ip, "185.2.136.189");
    EXPECT_EQ(host.queries[1].registry, RegistryRipe);
    EXPECT_EQ(Status(0), LookupStatus::Retrieving);
    const std::string ripe = ReadAnswer("ripe/raw_tcp_payload_185.2.136.189.txt");
    Answer(ripe);
    EXPECT_EQ(Status(0), LookupStatus::Succeeded);
    EXPECT_EQ(list.At(0)->registry, RegistryRipe);
    EXPECT_EQ(list.At(0)->record.whoisSource, RegistryRipe);
    EXPECT_EQ(list.At(0)->RawText(), ripe);  // the referring answer is not kept
    EXPECT_EQ(host.progress, (std::vector<int>{1, 1, 2}));
    EXPECT_EQ(host.queries[2].registry, RegistryArin);
}

TEST_F(SchedulerTest, ReferralsToLacnicAndFromRipeToAfrinic) {
    options.FindServerByIP = 0;
    Run("170.0.0.1");
    Answer(ReadAnswer("arin/referral_lacnic_erx_170.0.0.0.txt"));
    ASSERT_EQ(host.queries.size(), 2u);
    EXPECT_EQ(host.queries[1].registry, RegistryLacnic);
    Answer(ReadAnswer("lacnic/nicbr_format_170.0.0.0.txt"));
    EXPECT_EQ(Status(0), LookupStatus::Succeeded);
    EXPECT_EQ(list.At(0)->record.whoisSource, RegistryLacnic);

    options.FindServerByIP = 1;
    Run("193.0.0.1");  // RIPE NCC by its first octet
    EXPECT_EQ(host.queries.back().registry, RegistryRipe);
    Answer(kAfricaReferral);
    EXPECT_EQ(host.queries.back().registry, RegistryAfrinic);
    Answer(ReadAnswer("afrinic/sentech_2025_66.18.70.6.txt"));
    EXPECT_EQ(Status(0), LookupStatus::Succeeded);
    EXPECT_EQ(list.At(0)->record.whoisSource, RegistryAfrinic);
}

TEST_F(SchedulerTest, AChainOfReferralsEndsFailedAfterFourReferrals) {
    Run("193.0.0.1 193.0.0.2");
    for (int i = 0; i < 5; ++i) Answer(kAfricaReferral);
    // Five questions for the first item: RIPE NCC, then AfriNIC four times.
    ASSERT_EQ(host.queries.size(), 6u);
    EXPECT_EQ(host.queries[0].registry, RegistryRipe);
    for (int i = 1; i < 5; ++i) EXPECT_EQ(host.queries[static_cast<size_t>(i)].registry, RegistryAfrinic);
    EXPECT_EQ(Status(0), LookupStatus::Failed);
    EXPECT_EQ(list.At(0)->record.allocated, 0);  // no record kept
    EXPECT_STREQ(list.At(0)->RawText(), "");
    EXPECT_EQ(host.progress, (std::vector<int>{1, 1, 1, 1, 1, 2}));

    // The next item has its own four referrals.
    EXPECT_EQ(host.queries[5].ip, "193.0.0.2");
    for (int i = 0; i < 4; ++i) Answer(kAfricaReferral);
    EXPECT_EQ(Status(1), LookupStatus::Retrieving);
    Answer(kArinAnswer.c_str());  // parsed as AfriNIC's: no referral
    EXPECT_EQ(Status(1), LookupStatus::Succeeded);
    EXPECT_EQ(running, 0);
}

TEST_F(SchedulerTest, StopDuringAConversationPutsTheItemBackAndIgnoresItsOutcome) {
    Run("4.2.2.1 4.2.2.2");
    host.events.clear();
    host.stopEnabled.clear();
    scheduler.StopRun();
    EXPECT_EQ(running, 0);
    EXPECT_EQ(Status(0), LookupStatus::Waiting);
    EXPECT_EQ(view.rows[0].texts[ColumnStatus], strings.builtin[521]);
    EXPECT_EQ(host.events, (std::vector<std::string>{"cancel"}));
    EXPECT_EQ(host.stopEnabled, (std::vector<bool>{false}));
    EXPECT_EQ(currentIndex, 0);

    // An outcome posted before the Stop, and a stray start, change nothing.
    Answer(kArinAnswer);
    scheduler.StartNextLookup();
    EXPECT_EQ(Status(0), LookupStatus::Waiting);
    EXPECT_EQ(Status(1), LookupStatus::Waiting);
    EXPECT_EQ(host.queries.size(), 1u);
    EXPECT_EQ(host.runsEnded, 0);
}

TEST_F(SchedulerTest, StopDuringAPauseKillsTheTimer) {
    options.Pause = 1;
    options.PauseCount = 1;
    options.PauseTime = 30;
    Run("4.2.2.1 4.2.2.2");
    Answer(kArinAnswer);
    ASSERT_TRUE(host.timerPending);
    EXPECT_EQ(Status(1), LookupStatus::Paused);
    scheduler.StopRun();
    EXPECT_FALSE(host.timerPending);
    EXPECT_EQ(Status(1), LookupStatus::Waiting);
    // Were the timer's message already queued, it would start nothing.
    scheduler.StartNextLookup();
    EXPECT_EQ(Status(1), LookupStatus::Waiting);
    EXPECT_EQ(host.queries.size(), 1u);
}

TEST_F(SchedulerTest, ANewRunDuringAPauseReplacesIt) {
    options.Pause = 1;
    options.PauseCount = 1;
    options.PauseTime = 30;
    Run("4.2.2.1 4.2.2.2");
    Answer(kArinAnswer);
    ASSERT_TRUE(host.timerPending);
    Run("4.2.2.3");
    EXPECT_FALSE(host.timerPending);
    EXPECT_EQ(host.queries.back().ip, "4.2.2.3");
    Answer(kArinAnswer);
    EXPECT_EQ(running, 0);
}

TEST_F(SchedulerTest, AConversationThatCannotStartFailsTheItemThroughThePostedOutcome) {
    Run("4.2.2.1 4.2.2.2");
    host.startResult = 0;
    EXPECT_EQ(host.postedFailures, 0);
    Answer(kArinAnswer);  // item 1 done; item 2 cannot start
    EXPECT_EQ(host.postedFailures, 1);
    EXPECT_EQ(Status(1), LookupStatus::Retrieving);  // until the outcome arrives
    scheduler.OnLookupDone(1);
    EXPECT_EQ(Status(1), LookupStatus::Failed);
    EXPECT_EQ(running, 0);
    EXPECT_EQ(host.runsEnded, 1);
}

TEST_F(SchedulerTest, AFailedConversationFailsOnlyItsItem) {
    Run("4.2.2.1 4.2.2.2");
    scheduler.OnLookupDone(1);
    EXPECT_EQ(Status(0), LookupStatus::Failed);
    EXPECT_EQ(view.rows[0].image, 2);
    EXPECT_EQ(Status(1), LookupStatus::Retrieving);
    Answer("");  // nothing arrived before the close: an empty record
    EXPECT_EQ(Status(1), LookupStatus::Succeeded);
    EXPECT_EQ(list.At(1)->record.whoisSource, RegistryArin);
    EXPECT_EQ(running, 0);
}

TEST_F(SchedulerTest, ARegistryWithoutHostFailsTheItem) {
    // A parser result that names no registry has no host: the start fails.
    Run("4.2.2.1");
    list.At(0)->registry = 9;
    host.startResult = 0;
    scheduler.StopRun();
    running = 1;
    scheduler.StartNextLookup();
    EXPECT_EQ(host.queries.back().registry, 9);
    scheduler.OnLookupDone(1);
    EXPECT_EQ(Status(0), LookupStatus::Failed);
}

}  // namespace
