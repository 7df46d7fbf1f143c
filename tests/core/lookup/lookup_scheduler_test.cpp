#include "lookup/lookup_scheduler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "../views/list_test_support.h"
#include "../views/program_strings.h"
#include "../whois/whois_test_support.h"
#include "lookup/answer_buffer.h"
#include "lookup/server_overrides.h"
#include "resources/resource_ids.h"
#include "whois/server_selection.h"
#include "base/options.h"

namespace {

// Real answers by short name. "to-afrinic" hands a block from RIPE NCC to
// AfriNIC; asked at AfriNIC it refers again, so its chain never ends by itself.
std::string ReadAnswer(const std::string& name) {
    static const std::map<std::string, std::string> files = {
        {"arin", "whois/arin/direct_allocation_no_referral_4.2.2.1.txt"},
        {"to-ripe", "whois/arin/referral_ripe_allocated_185.2.136.189.txt"},
        {"to-lacnic", "whois/arin/referral_lacnic_erx_170.0.0.0.txt"},
        {"to-afrinic", "e2e/ripe/afrinic_referral_constructed_194.0.0.1.txt"},
        {"ripe", "whois/ripe/raw_tcp_payload_185.2.136.189.txt"},
        {"lacnic", "whois/lacnic/nicbr_format_170.0.0.0.txt"},
        {"afrinic", "whois/afrinic/sentech_2025_66.18.70.6.txt"},
        {"apnic-201", "whois/denials/apnic_3.txt"},  // a block after part of the data
        {"ripe-306", "whois/denials/ripe_6.txt"},
        {"lacnic-limit", "whois/lacnic/rate_limit_exceeded.txt"},
        {"rdap-ripe", "rdap/ripe/ipwhois-bt-corporate_62.239.237.1.json"}};
    return name == "empty" ? "" : ReadTestData(files.at(name));
}

// The fixture is the scheduler's host and writes what it is asked as words: "?item@registry" a query, "#n" the
// progress, "busy"/"idle" the command states as `running` then is, and a refresh as the statuses of the items:
// [W]aiting, [R]etrieving, [S]ucceeded, [F]ailed, [P]aused, [L]imited. Its clock stands at 2026-12-07 02:30 UTC.
class SchedulerTest : public ::testing::Test, public LookupHost, public LookupUi {
  protected:
    SchedulerTest() : list(&options), scheduler(list, *this, *this, options) {
        options.ResolveIPAddr = 0;
        strings.translated[IDS_REGISTRY_REFUSED] = "%s refused further queries until %s UTC";
        strings.translated[IDS_CONTACTS_USED_UP] = "%s: contacts used up until %s UTC";
    }
    int StartQuery(int conversation, uint32_t ip, int32_t registry) override {
        conversationOf[list.FindAddress(ip) + 1] = conversation;
        Log("?" + std::to_string(list.FindAddress(ip) + 1) + "@" + std::to_string(registry));
        return startResult;
    }
    void CancelQueries() override { Log("cancel"); }
    void PostLookupFailure(int) override { Log("post-fail"); }
    const char* AnswerText(int) override { return answer.c_str(); }
    RdapOutcome RdapAnswer(int) override { return rdap; }
    bool StoreAnswer(TextBuffer& raw, const char* s) override { return !storeFails && LookupHost::StoreAnswer(raw, s); }
    void SetPauseTimer(uint32_t ms) override { Log("pause:" + std::to_string(pending = ms)); }
    void KillPauseTimer() override { Log("unpause"); }
    int64_t NowUtc() override { return now; }
    uint32_t MinuteMilliseconds() override { return 60000; }
    uint32_t TickMilliseconds() override { return tick; }
    void RefreshRows() override {
        std::string rows;
        for (int i = 0; i < list.ItemCount(); ++i) rows += " WRSFPL"[static_cast<int>(list.At(i)->status)];
        Log("[" + rows + "]");
    }
    void ShowProgress(int number) override { Log("#" + std::to_string(number)); }
    void UpdateCommandStates() override { Log(scheduler.Running() ? "busy" : "idle"); }
    void UpdateStatusBar() override { Log("bar"); }
    void ShowSelectedAnswer() override { Log("show"); }
    void FocusList() override { Log("focus"); }
    void RunEnded() override { Log("end"); }
    void Log(const std::string& event) { events += (events.empty() ? "" : " ") + event; }

    // "action > the events it causes"; "action*n" n times. Actions: "options:FindServerByIP Pause PauseCount
    // PauseTime [1: no answer can be kept]" (an hour on; no registry blocked or paced, no reuse, one conversation at a
    // time), "perminute:registry n", "reuse:n", "most:n" (conversations at once), "rdap:1" (a run over RDAP),
    // "now:seconds" (UTC), "contacts:registry budget YYYYMMDD count", "wait:ms" (the ticks move on, as by the pause
    // when "timer" fires), "blocked:registry YYYYMMDDHHMM", "blocked" (the registries blocked, and the contacts
    // counted), "run:addresses" (as on UM_RUNADDRESSTEXT), "fail" (a failed conversation), "timer" (the pause timer, or
    // a stray one), "stop", "refuse" (no conversation starts any more), "records" (per item: registry to ask, source of
    // the record, answer kept or its first line), or the name of the answer that arrives. "fail" and answers go to the
    // first conversation, or with ":n" to the one that asked for item n.
    void Step(const std::string& step) {
        const size_t arrow = step.find(" >"), star = step.find('*');
        const std::string action = step.substr(0, std::min(arrow, star)),
                          expected = step.substr(std::min(step.size(), arrow + 3));
        for (int n = star < arrow ? std::stoi(step.substr(star + 1)) : 1; n > 0; --n) {
            if (action.rfind("options:", 0) == 0) {
                startResult = 1;
                storeFails = 0;
                std::fill_n(options.BlockedUntil[0], sizeof options.BlockedUntil, '\0');
                for (int32_t* perRegistry : {options.QueriesPerMinute, options.DailyContacts, options.ContactsDay})
                    std::fill_n(perRegistry, 5, 0);
                options.ReuseMaxAddresses = 0;
                options.MaxConversations = 1;
                options.UseRdap = 0;
                now = 1796610600;
                tick += 3600000;  // and no query of earlier scripts counts any more
                std::istringstream(action.substr(8)) >> options.FindServerByIP >> options.Pause >> options.PauseCount >>
                    options.PauseTime >> storeFails;
            } else if (action.rfind("run:", 0) == 0) {
                list.Clear();
                options.addressText.SetText(action.c_str() + 4);
                list.AddAddressesFromText();
                scheduler.StartRun();
            } else if (action.rfind("blocked", 0) == 0) {
                int registry = 0;
                if (std::istringstream(action.substr(std::min(action.size(), size_t{8}))) >> registry)
                    action.copy(options.BlockedUntil[registry - 1], 12, action.size() - 12);
                for (int i = 0; !registry && i < 5; ++i) {
                    if (options.BlockedUntil[i][0]) Log(std::to_string(i + 1) + "=" + options.BlockedUntil[i]);
                    if (options.ContactsDay[i])
                        Log(std::to_string(i + 1) + ":" + std::to_string(options.ContactsDay[i]) + "," +
                            std::to_string(options.ContactsToday[i]));
                }
            } else if (action.rfind("perminute:", 0) == 0 || action.rfind("wait:", 0) == 0 ||
                       action.rfind("reuse:", 0) == 0 || action.rfind("contacts:", 0) == 0 ||
                       action.rfind("most:", 0) == 0 || action.rfind("rdap:", 0) == 0 || action.rfind("now:", 0) == 0) {
                int number = 0, budget = 0, day = 0, count = 0;
                std::istringstream(action.substr(action.find(':') + 1)) >> number >> budget >> day >> count;
                if (action[0] == 'w') tick += static_cast<uint32_t>(number);
                if (action[0] == 'r') options.ReuseMaxAddresses = number;
                if (action[0] == 'm') options.MaxConversations = number;
                if (action.rfind("rdap:", 0) == 0) options.UseRdap = number;
                if (action.rfind("now:", 0) == 0) now = std::stoll(action.substr(4));
                if (action[0] == 'p') options.QueriesPerMinute[number - 1] = budget;
                if (action[0] == 'c') options.DailyContacts[number - 1] = budget, options.ContactsDay[number - 1] = day;
                if (action[0] == 'c') options.ContactsToday[number - 1] = count;
            } else if (action == "timer" || action == "stop" || action == "refuse") {
                if (action == "timer") tick += pending, pending = 0, scheduler.OnTimer();
                if (action == "stop") scheduler.StopRun();
                if (action == "refuse") startResult = 0;
            } else if (action == "records") {
                for (int i = 0; i < list.ItemCount(); ++i) {
                    std::string raw = list.At(i)->RawText(), kept = raw.substr(0, raw.find_first_of("\r\n")),
                                record = std::to_string(list.At(i)->registry) + ":" +
                                         std::to_string(list.At(i)->record.whoisSource) + ":";
                    for (const char* name : {"arin", "ripe", "lacnic", "afrinic", "empty"})
                        kept = ReadAnswer(name) == list.At(i)->RawText() ? name : kept;
                    Log(record + kept);
                }
            } else {
                const size_t colon = action.find(':');
                const int conversation =
                    colon == std::string::npos ? 0 : conversationOf[std::stoi(action.substr(colon + 1))];
                const std::string name = action.substr(0, colon);
                // RDAP: "rdap-ripe" redirected to RIPE NCC, "rdap-<status>", "rdap-fail" (no answer).
                const int status = name.rfind("rdap-", 0) ? 0 : name == "rdap-ripe" ? 200 : std::atoi(name.c_str() + 5);
                answer = name.rfind("rdap-", 0) && name.rfind("fail", 0) ? ReadAnswer(name) : "";
                body = name == "rdap-ripe" ? ReadAnswer(name) : "{\"errorCode\": " + std::to_string(status) + "}";
                line = "HTTP/1.1 " + std::to_string(status) + (status == 404 ? " Not Found" : " Too Many Requests");
                rdap = {status > 0, status, line.c_str(), body.c_str(), body.size(), status == 200 ? 2 : 0, "time-out"};
                scheduler.OnLookupDone(conversation, action.rfind("fail", 0) == 0);
            }
            EXPECT_EQ(events, expected) << "after " << action;
            events.clear();
        }
    }

    TestUiStrings strings;
    Options options;
    AddressList list;
    LookupScheduler scheduler;
    std::map<int, int> conversationOf;  // item number -> its conversation
    int startResult = 1, storeFails = 0;
    uint32_t tick = 0, pending = 0;
    std::string answer, events, body, line;
    RdapOutcome rdap;
    int64_t now = 0;
};

TEST_F(SchedulerTest, EventSequences) {
    std::ifstream file(OL_TEST_DATA_DIR "/scheduler.scripts");
    int scripts = 0;
    for (std::string script; std::getline(file, script);) {
        if (script.empty() || script[0] == '#') continue;
        ++scripts;
        SCOPED_TRACE(script);
        Step("options:1 0 0 0 >");
        for (size_t begin = 0, end; begin < script.size(); begin = end + 3) {
            end = std::min(script.find(" | ", begin), script.size());
            Step(script.substr(begin, end - begin));
        }
        scheduler.StopRun();
        events.clear();
    }
    EXPECT_EQ(scripts, 35);
    EXPECT_EQ(LookupScheduler::PauseMilliseconds(0x7FFFFFFF), 0x7FFFFFFFu);  // the timer's range
}

TEST(AnswerBuffer, FourMebibytesInReceiveSizedPiecesAreCopiedLessThanOnceAsTheRoomDoublesUpToTheLimit) {
    AnswerBuffer answer;
    while (answer.Keep(std::string(4095, 'x').c_str(), 4095)) continue;
    EXPECT_EQ(std::to_string(answer.bytesMoved < AnswerBuffer::kMaxBytes) + " " + std::to_string(answer.capacity),
              "1 4194305");
}

TEST(ServerSelection, ServersAndTheirOverrides) {
    std::string parsed, chosen;  // (the end-to-end lookups check the query lines byte for byte)
    const std::string longest(255, 'a'), tooLong(256, 'a');
    for (const char* text :
         {"", "   ", ":43", "host:", "host:0", "host:65536", "host:99999999999999999999", "host:4a", "host:-1",
          "a b:43", "host:43:44", "::1", tooLong.c_str(), static_cast<const char*>(nullptr), "whois.example.net",
          "  relay.lan : 1  ", "localhost:65535", "h:043", longest.c_str()}) {
        WhoisServer server;  // refused: "-" and the server untouched
        parsed += ParseServerOverride(text, &server) ? server.host + (":" + std::to_string(server.port)) + " "
                                                     : "-" + std::string(server.host);
    }
    EXPECT_EQ(parsed, "--------------whois.example.net:43 relay.lan:1 localhost:65535 h:43 " + longest + ":43 ");
    ServerOverrides servers;
    EXPECT_TRUE(servers.Set(RegistryRipe, "127.0.0.1:4301") && !servers.Set(6, "127.0.0.1"));
    for (int32_t id : {1, 2, 6})
        chosen += servers.ServerFor(id).host + (":" + std::to_string(servers.ServerFor(id).port)) + " ";
    EXPECT_FALSE(servers.Set(RegistryRipe, "127.0.0.1:x"));  // a broken value gives the registry its own host back
    EXPECT_EQ(chosen + servers.ServerFor(RegistryRipe).host + " " + servers.ServerFor(RegistryAfrinic).host,
              "whois.arin.net:43 127.0.0.1:4301 :43 whois.ripe.net whois.afrinic.net");
}

}  // namespace
