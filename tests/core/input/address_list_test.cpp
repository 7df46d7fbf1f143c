// The address list: what a text adds to it, and what it keeps per address.
#include "input/address_list.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <string>
#include <thread>

#include "../views/list_test_support.h"
#include "input/address_extraction.h"
#include "input/address_text_input.h"
#include "input/host_name_resolver.h"
#include "input/reverse_resolve_starter.h"
#include "lookup/server_selection.h"
#include "shell/options.h"

namespace {

class FakeResolver : public HostNameResolver {
  public:
    bool ResolveHostName(const char* name, uint32_t* address) override {
        asked += std::string(asked.empty() ? "" : " ") + name;
        const auto found = names.find(name);
        if (found != names.end()) *address = Ip(found->second);
        return found != names.end();
    }
    std::map<std::string, const char*> names;
    std::string asked;
};

class RecordingStarter : public ReverseResolveStarter {
  public:
    int StartResolve(uint32_t address) override {
        started += Dotted(address) + " ";
        return 1;
    }
    std::string started;
};

class AddressListTest : public ::testing::Test {
  protected:
    AddressListTest() : list(&options) {
        options.ResolveIPAddr = 0;
        list.SetHostNameResolver(&resolver);
        list.SetReverseResolveStarter(&starter);
    }
    void Add(const std::string& text) {
        ASSERT_TRUE(SetAddressBytes(options.addressText, text.data(), static_cast<int64_t>(text.size())));
        list.AddAddressesFromText();
    }
    // The items as "address" or "address=host name", in storage order.
    std::string Found() const {
        std::string found;
        for (int i = 0; i < list.ItemCount(); ++i) {
            const LookupItem& item = *list.At(i);
            found += (i ? " " : "") + Dotted(item.ip) + (item.hostName[0] ? "=" : "") + item.hostName;
        }
        return found;
    }

    Options options;
    AddressList list;
    FakeResolver resolver;
    RecordingStarter starter;
};

TEST_F(AddressListTest, AddressesAndHostNamesOfTexts) {
    resolver.names = {{"mx.example.org", "192.0.2.1"},
                      {"mail.example.net", "192.0.2.2"},
                      {"ab-c.lan", "192.0.2.3"},
                      {".abc.lan", "192.0.2.3"}};
    const char header[] =
        "Received: from mx.example.org (mx.example.org [198.51.100.25])\r\n"
        "\tby mail.example.net with ESMTP id 1A2B3C; Tue, 3 Dec 2024 10:00:00 +0000\r\n"
        "From: \"Someone\" <someone@example.org>\r\n";
    std::string separated, separatedFound;  // each of the 19 separators ends an address
    for (const char* s = " []@\"{},;:*'()!\r\n\t/"; *s; ++s) {
        const std::string ip = "198.51.100." + std::to_string(*s);
        separated += ip + *s;
        separatedFound += (separatedFound.empty() ? "" : " ") + ip;
    }
    const struct {
        int hostNames;
        std::string text, found, asked;
    } cases[] = {
        // Each occurrence of a name is asked again; "example.org>" is no host name.
        {1, header, "192.0.2.1=mx.example.org 198.51.100.25 192.0.2.2=mail.example.net",
         "mx.example.org mx.example.org mail.example.net"},
        {0, header, "198.51.100.25", ""},
        {1, "abc a.b ab.1 x..lan abc.lan. ab_c.lan abc.lan< m\xC3\xBCller.de ab-c.lan .abc.lan a-b.c ---.1 nowhere.lan",
         "192.0.2.3=ab-c.lan", "ab-c.lan .abc.lan a-b.c ---.1 nowhere.lan"},
        {0, "10.0.0.1,198.51.100.1;203.0.113.9 198.51.100.1", "198.51.100.1 203.0.113.9", ""},
        {0, separated, separatedFound, ""},
        {0,
         "198.51.100.1<198.51.100.2 198.51.100.1>198.51.100.2 198.51.100.1=198.51.100.2 198.51.100.1-198.51.100.2 "
         "198.51.100.1.198.51.100.2 198.51.100.1|198.51.100.2 198.51.100.1\\198.51.100.2 198.51.100.1\v198.51.100.2",
         "", ""},
        {0, "<198.51.100.1> 198.51.100.1. 198.51.100 198.51.100.256 198.51.100.1234 198.51.100.-1 +198.51.100.1", "",
         ""},
        {0, "198.051.100.001 198.51.100.4/24 [198.51.100.5]:25 (198.51.100.6)",
         "198.51.100.1 198.51.100.4 198.51.100.5 198.51.100.6", ""},
        {0, std::string("198.51.100.1\0 203.0.113.9", 25), "198.51.100.1", ""},  // the text ends at its first NUL
        {1, std::string(1022, '1') + "198.51.100.9", "", ""},  // what follows 1022 characters of a token is lost
    };
    for (const auto& c : cases) {
        list.Clear();
        resolver.asked.clear();
        options.HostNameToIP = c.hostNames;
        Add(c.text);
        EXPECT_EQ(Found(), c.found) << c.text;
        EXPECT_EQ(resolver.asked, c.asked) << c.text;
    }
}

TEST_F(AddressListTest, LongNamesAreCut) {
    options.HostNameToIP = 1;
    std::string name(2000, 'a');
    name.replace(1000, 4, ".com");
    resolver.names = {{name.substr(0, 1022), "192.0.2.9"}};
    Add(name + " 198.51.100.9");
    EXPECT_EQ(resolver.asked, name.substr(0, 1022));  // the token
    EXPECT_EQ(Found(), "192.0.2.9=" + name.substr(0, 126) + " 198.51.100.9");
    list.SetResolvedName(Ip("198.51.100.9"), name.c_str());
    EXPECT_EQ(std::string(list.At(1)->resolvedName), name.substr(0, 126));
}

TEST_F(AddressListTest, ReservedRangesAreDroppedAndTheirNeighboursKept) {
    Add("10.1.2.3 127.0.0.1 192.168.0.1 169.254.1.1 172.16.0.1 172.31.255.255 224.0.0.1 239.255.255.255 0.1.2.3");
    EXPECT_EQ(Found(), "");
    const char kept[] =
        "172.32.0.1 192.169.0.1 11.0.0.1 240.0.0.1 255.255.255.255 172.15.0.1 169.253.0.1 223.255.255.255 9.0.0.1 "
        "126.0.0.1 128.0.0.1";
    Add(kept);
    EXPECT_EQ(Found(), kept);
}

TEST_F(AddressListTest, NewItemsWaitInInputOrderAndTheFirstOccurrenceStays) {
    options.HostNameToIP = 1;
    resolver.names = {{"mail.example.org", "198.51.100.1"}, {"relay.example.org", "203.0.113.9"}};
    Add("mail.example.org 203.0.113.9 198.51.100.1 relay.example.org 41.0.0.1");
    options.FindServerByIP = 0;
    Add("198.51.100.1 62.0.0.1 203.0.113.9");  // a later text adds only what is new
    EXPECT_EQ(Found(), "198.51.100.1=mail.example.org 203.0.113.9 41.0.0.1 62.0.0.1");
    const int32_t registries[] = {RegistryArin, RegistryApnic, RegistryAfrinic, RegistryArin};
    for (int i = 0; i < 4; ++i) {
        const LookupItem* item = list.At(i);
        EXPECT_EQ(item->order, i + 1);
        EXPECT_EQ(item->status, LookupStatus::Waiting);
        EXPECT_EQ(item->registry, registries[i]);
        EXPECT_EQ(item->owner, &list);
        ASSERT_NE(item->rawText, nullptr);
        EXPECT_EQ(item->rawText->growStep, 256);
        EXPECT_EQ(list.FindAddress(item->ip), i);
    }
    EXPECT_EQ(list.At(4), nullptr);
    EXPECT_EQ(list.FindAddress(Ip("192.0.2.8")), -1);
}

TEST_F(AddressListTest, LoadOnlyLastIpKeepsTheLastValidAddressWithoutItsName) {
    options.LoadOnlyLastIP = 1;
    options.HostNameToIP = 1;
    resolver.names = {{"last.example.org", "192.0.2.200"}};
    Add("192.0.2.1, 192.0.2.2, last.example.org, 192.168.1.1 127.0.0.1");
    Add("10.0.0.1");     // nothing valid: nothing added
    Add("192.0.2.200");  // listed already
    Add("203.0.113.9 10.0.0.1");
    EXPECT_EQ(Found(), "192.0.2.200 203.0.113.9");
    EXPECT_EQ(list.At(1)->order, 2);
}

TEST_F(AddressListTest, StorageGrowsWithoutMovingItemsAndClearStartsAfresh) {
    std::string text;
    for (int i = 0; i < 300; ++i) text += "198.51." + std::to_string(i / 250) + "." + std::to_string(i % 250) + " ";
    Add(text);
    const LookupItem* first = list.At(0);
    Add("192.0.2.1");
    EXPECT_EQ(list.At(0), first);
    EXPECT_EQ(Dotted(list.At(299)->ip), "198.51.1.49");
    EXPECT_EQ(list.At(300)->order, 301);
    list.At(0)->rawText->SetText("answer");
    list.At(0)->resolvedName[0] = 'x';
    list.Clear();
    EXPECT_EQ(list.FindAddress(Ip("198.51.0.0")), -1);
    Add("198.51.0.0");
    EXPECT_EQ(list.At(0)->order, 1);
    EXPECT_STREQ(list.At(0)->RawText(), "");
    EXPECT_STREQ(list.At(0)->resolvedName, "");
}

TEST_F(AddressListTest, NamesAreResolvedForEveryItemAndReachTheirItem) {
    Add("198.51.100.1");
    options.ResolveIPAddr = 1;
    Add("203.0.113.9 198.51.100.1 10.0.0.1");
    EXPECT_EQ(starter.started, "198.51.100.1 203.0.113.9 ");  // the earlier items again with the new one
    list.SetResolvedName(Ip("203.0.113.9"), "host.example.net");
    EXPECT_STREQ(list.At(1)->resolvedName, "host.example.net");
    EXPECT_STREQ(list.At(0)->resolvedName, "");
    EXPECT_EQ(list.namesChanged.load(), 1);
    list.namesChanged = 0;
    list.SetResolvedName(Ip("192.0.2.77"), "gone.example.net");  // not listed
    EXPECT_EQ(list.namesChanged.load(), 0);
}

// Resolver threads write names while the user interface adds items and
// refreshes rows: every row still shows its own item at the end.
TEST_F(AddressListTest, WorkersWriteNamesWhileTheListGrows) {
    FakeReportView view;
    list.Attach(&view);
    view.InsertColumns(list);
    const auto address = [](int i) { return "198.51." + std::to_string(i / 100) + "." + std::to_string(i % 100 + 1); };
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int round = 0; !done; ++round) {
            for (int i = 0; i < 200; ++i) list.SetResolvedName(Ip(address(i).c_str()), round % 2 ? "odd" : "even");
        }
    });
    for (int i = 0; i < 200; ++i) {
        Add(address(i));
        if (i % 50 == 0) list.Rebuild(true);
        list.RefreshRows();
    }
    done = true;
    worker.join();
    list.Rebuild(true);
    list.RefreshRows();
    ExpectRowsShowItems(list, view);
}

TEST_F(AddressListTest, SelectDefaultRowPrefersTheLastAllocatedRowAndKeepsASelection) {
    FakeReportView view;
    list.Attach(&view);
    view.InsertColumns(list);
    Add("198.51.100.1 198.51.100.2 198.51.100.3");
    const struct {
        int allocated[3];
        int selectedBefore, selectedAfter;
    } cases[] = {{{1, 1, 1}, -1, 0}, {{2, 0, 1}, -1, 1}, {{2, 0, 1}, 2, 2}};
    for (const auto& c : cases) {
        for (int i = 0; i < 3; ++i) list.At(i)->record.allocated = c.allocated[i];
        list.Rebuild(true);
        view.SetRowState(-1, 0, kRowSelected | kRowFocused);
        if (c.selectedBefore >= 0) view.SetRowState(c.selectedBefore, kRowSelected, kRowSelected);
        list.SelectDefaultRow();
        EXPECT_EQ(list.SelectedCount(), 1);
        EXPECT_TRUE(view.rows[static_cast<size_t>(c.selectedAfter)].selected);
    }
}

}  // namespace
