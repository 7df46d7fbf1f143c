#include "lookup/lookup_scheduler.h"

#include <gtest/gtest.h>

#include <fstream>
#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "../views/list_test_support.h"
#include "lookup/server_selection.h"
#include "shell/options.h"

namespace {

std::string ReadAnswer(const std::string& relative) {
    std::ifstream in(std::string(OL_TEST_DATA_DIR) + "/e2e/" + relative, std::ios::binary);
    EXPECT_TRUE(in.good()) << relative;
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Real answers by short name. "to-afrinic" is a RIPE answer handing the block
// to AfriNIC; asked at AfriNIC it refers again, so its chain never ends by itself.
const std::map<std::string, std::string>& Answers() {
    static const std::map<std::string, std::string> answers = {
        {"arin", ReadAnswer("arin/direct_allocation_no_referral_4.2.2.1.txt")},
        {"to-ripe", ReadAnswer("arin/referral_ripe_allocated_185.2.136.189.txt")},
        {"to-lacnic", ReadAnswer("arin/referral_lacnic_erx_170.0.0.0.txt")},
        {"to-afrinic", ReadAnswer("ripe/afrinic_referral_constructed_194.0.0.1.txt")},
        {"ripe", ReadAnswer("ripe/raw_tcp_payload_185.2.136.189.txt")},
        {"lacnic", ReadAnswer("lacnic/nicbr_format_170.0.0.0.txt")},
        {"afrinic", ReadAnswer("afrinic/sentech_2025_66.18.70.6.txt")},
        {"empty", ""}};
    return answers;
}

// Writes what the scheduler asks of its host as words: "?ip@registry" a query,
// "#n" the progress, "busy"/"idle" the command states as `running` stands at
// that moment, and a refresh as the statuses of all items ([W]aiting,
// [R]etrieving, [S]ucceeded, [F]ailed, [P]aused).
class RecordingHost : public LookupHost {
  public:
    RecordingHost(AddressList& list, const int32_t& running) : list_(list), running_(running) {}

    int StartQuery(uint32_t ip, int32_t registry) override {
        Log("?" + Dotted(ip) + "@" + std::to_string(registry));
        return startResult;
    }
    void CancelQuery() override { Log("cancel"); }
    void PostLookupFailure() override { Log("post-fail"); }
    const char* AnswerText() override { return answer.c_str(); }
    void SetPauseTimer(uint32_t ms) override { Log("pause:" + std::to_string(ms)); }
    void KillPauseTimer() override { Log("unpause"); }
    void RefreshRows() override {
        std::string rows = "[";
        for (int i = 0; i < list_.ItemCount(); ++i) rows += " WRSFP"[static_cast<int>(list_.At(i)->status)];
        Log(rows + "]");
    }
    void ShowProgress(int number) override { Log("#" + std::to_string(number)); }
    void UpdateCommandStates() override { Log(running_ ? "busy" : "idle"); }
    void UpdateStatusBar() override { Log("bar"); }
    void ShowSelectedAnswer() override { Log("show"); }
    void FocusList() override { Log("focus"); }
    void RunEnded() override { Log("end"); }

    std::string Take() {
        std::string taken;
        taken.swap(events_);
        return taken;
    }

    int startResult = 1;
    std::string answer;

    void Log(const std::string& event) { events_ += (events_.empty() ? "" : " ") + event; }

  private:
    AddressList& list_;
    const int32_t& running_;
    std::string events_;
};

class SchedulerTest : public ::testing::Test {
  protected:
    SchedulerTest() : list(&options), host(list, running), scheduler(list, host, options, currentIndex, running) {
        options.ResolveIPAddr = 0;
    }
    // What the main window does on UM_RUNADDRESSTEXT.
    void Run(const char* text) {
        list.Clear();
        options.addressText.SetText(text);
        list.AddAddressesFromText();
        currentIndex = 0;
        running = 1;
        scheduler.StartNextLookup();
    }
    void Answer(const char* name) {
        host.answer = Answers().at(name);
        scheduler.OnLookupDone(0);
    }
    // One line of a script: "action > the events it causes". Actions:
    // "options:FindServerByIP Pause PauseCount PauseTime", "run:addresses",
    // "fail" (a failed conversation), "timer" (the pause timer or a stray
    // start), "stop", "refuse" (conversations no longer start), or the name of
    // the answer that arrives.
    void Step(const std::string& line) {
        const size_t arrow = line.find(" >");
        ASSERT_NE(arrow, std::string::npos) << line;
        const std::string action = line.substr(0, arrow);
        if (action.compare(0, 8, "options:") == 0) {
            std::istringstream(action.substr(8)) >> options.FindServerByIP >> options.Pause >> options.PauseCount >>
                options.PauseTime;
        } else if (action.compare(0, 4, "run:") == 0) {
            Run(action.c_str() + 4);
        } else if (action == "fail") {
            scheduler.OnLookupDone(1);
        } else if (action == "timer") {
            scheduler.StartNextLookup();
        } else if (action == "stop") {
            scheduler.StopRun();
        } else if (action == "refuse") {
            host.startResult = 0;
        } else if (action == "records") {
            // Per item: registry to ask, source of the record, name of the answer kept.
            for (int i = 0; i < list.ItemCount(); ++i) {
                const LookupItem& item = *list.At(i);
                std::string kept = "?";
                for (const auto& [name, text] : Answers()) kept = text == item.RawText() ? name : kept;
                host.Log(std::to_string(item.registry) + ":" + std::to_string(item.record.whoisSource) + ":" + kept);
            }
        } else {
            Answer(action.c_str());
        }
        EXPECT_EQ(host.Take(), line.substr(std::min(line.size(), arrow + 3))) << "after " << action;
    }

    Options options;
    AddressList list;
    int32_t currentIndex = 0;
    int32_t running = 0;
    RecordingHost host;
    LookupScheduler scheduler;
};

TEST_F(SchedulerTest, EventSequences) {
    const struct {
        const char* name;
        const char* script;
    } scenarios[] = {
        {"nothing to ask ends the run at once", "run:none, 10.0.0.1 is reserved > idle [] bar show focus end"},
        {"one conversation at a time; a straggler after the end changes nothing",
         "run:4.2.2.1 4.2.2.2 > busy #1 [RW] ?4.2.2.1@1\n"
         "arin > [SW] busy #2 [SR] ?4.2.2.2@1\n"
         "arin > [SS] idle [SS] bar show focus end\n"
         "fail >\n"
         "timer >"},
        {"a pause after every second item but not after the last; outcomes while paused are ignored",
         "options:1 1 2 5 >\n"
         "run:4.2.2.1 4.2.2.2 4.2.2.3 4.2.2.4 4.2.2.5 > busy #1 [RWWWW] ?4.2.2.1@1\n"
         "arin > [SWWWW] busy #2 [SRWWW] ?4.2.2.2@1\n"
         "arin > [SSWWW] [SSPWW] pause:5000\n"
         "arin >\n"
         "timer > unpause busy #3 [SSRWW] ?4.2.2.3@1\n"
         "arin > [SSSWW] busy #4 [SSSRW] ?4.2.2.4@1\n"
         "arin > [SSSSW] [SSSSP] pause:5000\n"
         "timer > unpause busy #5 [SSSSR] ?4.2.2.5@1\n"
         "arin > [SSSSS] idle [SSSSS] bar show focus end"},
        {"ARIN refers to RIPE NCC and LACNIC under the same number",
         "options:0 0 0 0 >\n"
         "run:185.2.136.189 170.0.0.1 > busy #1 [RW] ?185.2.136.189@1\n"
         "to-ripe > busy #1 [RW] ?185.2.136.189@2\n"
         "ripe > [SW] busy #2 [SR] ?170.0.0.1@1\n"
         "to-lacnic > busy #2 [SR] ?170.0.0.1@4\n"
         "lacnic > [SS] idle [SS] bar show focus end\n"
         "records > 2:2:ripe 4:4:lacnic"},
        {"a chain of referrals fails after four; the next item has its own four",
         "run:193.0.0.1 193.0.0.2 > busy #1 [RW] ?193.0.0.1@2\n"
         "to-afrinic > busy #1 [RW] ?193.0.0.1@5\n"
         "to-afrinic > busy #1 [RW] ?193.0.0.1@5\n"
         "to-afrinic > busy #1 [RW] ?193.0.0.1@5\n"
         "to-afrinic > busy #1 [RW] ?193.0.0.1@5\n"
         "to-afrinic > [FW] busy #2 [FR] ?193.0.0.2@2\n"
         "to-afrinic > busy #2 [FR] ?193.0.0.2@5\n"
         "to-afrinic > busy #2 [FR] ?193.0.0.2@5\n"
         "to-afrinic > busy #2 [FR] ?193.0.0.2@5\n"
         "to-afrinic > busy #2 [FR] ?193.0.0.2@5\n"
         "afrinic > [FS] idle [FS] bar show focus end\n"
         "records > 5:0:empty 5:5:afrinic"},
        {"stop puts the item back and ignores its outcome",
         "run:4.2.2.1 4.2.2.2 > busy #1 [RW] ?4.2.2.1@1\n"
         "stop > cancel idle [WW] bar\n"
         "arin >\n"
         "timer >"},
        {"stop during a pause kills the timer",
         "options:1 1 1 30 >\n"
         "run:4.2.2.1 4.2.2.2 > busy #1 [RW] ?4.2.2.1@1\n"
         "arin > [SW] [SP] pause:30000\n"
         "stop > cancel unpause idle [SW] bar\n"
         "timer >"},
        {"a new run during a pause replaces it",
         "options:1 1 1 30 >\n"
         "run:4.2.2.1 4.2.2.2 > busy #1 [RW] ?4.2.2.1@1\n"
         "arin > [SW] [SP] pause:30000\n"
         "run:4.2.2.3 > unpause busy #1 [R] ?4.2.2.3@1\n"
         "arin > [S] idle [S] bar show focus end"},
        {"a conversation that cannot start fails through the posted outcome",
         "run:4.2.2.1 4.2.2.2 > busy #1 [RW] ?4.2.2.1@1\n"
         "refuse >\n"
         "arin > [SW] busy #2 [SR] ?4.2.2.2@1 post-fail\n"
         "fail > [SF] idle [SF] bar show focus end"},
        {"a failed conversation fails only its item; no answer at all is an empty record",
         "run:4.2.2.1 4.2.2.2 > busy #1 [RW] ?4.2.2.1@1\n"
         "fail > [FW] busy #2 [FR] ?4.2.2.2@1\n"
         "empty > [FS] idle [FS] bar show focus end\n"
         "records > 1:0:empty 1:1:empty"},
    };
    for (const auto& s : scenarios) {
        SCOPED_TRACE(s.name);
        Step("options:1 0 0 0 >");
        host.startResult = 1;
        std::istringstream lines(s.script);
        for (std::string line; std::getline(lines, line);) Step(line);
        scheduler.StopRun();
        host.Take();
    }
}

TEST_F(SchedulerTest, NoPauseWhenSwitchedOffOrEitherNumberIsNotPositive) {
    const struct { int pause, count, time; } cases[] = {{1, 0, 5}, {1, 2, 0}, {0, 2, 5}, {1, -2, 5}, {1, 2, -5}};
    for (const auto& c : cases) {
        options.Pause = c.pause;
        options.PauseCount = c.count;
        options.PauseTime = c.time;
        Run("4.2.2.1 4.2.2.2 4.2.2.3 4.2.2.4");
        for (int i = 0; i < 4; ++i) Answer("arin");
        const std::string events = host.Take();
        EXPECT_EQ(events.find("pause"), std::string::npos) << c.pause << " " << c.count << " " << c.time;
        EXPECT_EQ(running, 0);
    }
    EXPECT_EQ(LookupScheduler::PauseMilliseconds(30), 30000u);
    EXPECT_EQ(LookupScheduler::PauseMilliseconds(0x7FFFFFFF), 0x7FFFFFFFu);  // the timer's limit
    EXPECT_EQ(LookupScheduler::PauseMilliseconds(-1), 0u);
}

}  // namespace
