#include "input/address_list.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "../views/list_test_support.h"
#include "../views/program_strings.h"
#include "input/host_name_resolver.h"
#include "input/reverse_resolve_starter.h"
#include "whois/server_selection.h"
#include "base/options.h"

namespace {

class FakeResolver : public HostNameResolver {
  public:
    bool ResolveHostName(const char* name, uint32_t* address) override {
        asked.emplace_back(name);
        const auto found = names.find(name);
        if (found == names.end()) return false;
        *address = Ip(found->second.c_str());
        return true;
    }
    std::map<std::string, std::string> names;
    std::vector<std::string> asked;
};

class RecordingStarter : public ReverseResolveStarter {
  public:
    int StartResolve(uint32_t address) override {
        started.push_back(Dotted(address));
        return 1;
    }
    std::vector<std::string> started;
};

class AddressListTest : public ::testing::Test {
  protected:
    AddressListTest() : list(&options) {
        options.ResolveIPAddr = 0;
        list.SetHostNameResolver(&resolver);
        list.SetReverseResolveStarter(&starter);
    }
    void Add(const char* text) {
        options.addressText.SetText(text);
        list.AddAddressesFromText();
    }

    TestUiStrings strings;
    Options options;
    AddressList list;
    FakeResolver resolver;
    RecordingStarter starter;
};

TEST_F(AddressListTest, ReservedRangesAreDropped) {
    Add("10.1.2.3 127.0.0.1 192.168.0.1 169.254.1.1 172.16.0.1 172.31.255.255 224.0.0.1 239.255.255.255 0.1.2.3");
    EXPECT_EQ(list.ItemCount(), 0);
    Add("172.32.0.1 192.169.0.1 11.0.0.1 240.0.0.1 255.255.255.255 172.15.0.1 169.253.0.1 223.255.255.255");
    EXPECT_EQ(Addresses(list),
              (std::vector<std::string>{"172.32.0.1", "192.169.0.1", "11.0.0.1", "240.0.0.1", "255.255.255.255",
                                        "172.15.0.1", "169.253.0.1", "223.255.255.255"}));
}

TEST_F(AddressListTest, NewItemsWaitWithOrderNumbersAndAnEmptyAnswer) {
    Add("198.51.100.1 203.0.113.9");
    ASSERT_EQ(list.ItemCount(), 2);
    for (int i = 0; i < 2; ++i) {
        const LookupItem* item = list.At(i);
        EXPECT_EQ(item->order, i + 1);
        EXPECT_EQ(item->status, LookupStatus::Waiting);
        ASSERT_NE(item->rawText, nullptr);
        EXPECT_EQ(item->rawText->growStep, 256);
        EXPECT_EQ(item->owner, &list);
    }
    EXPECT_EQ(list.At(2), nullptr);
}

TEST_F(AddressListTest, FirstOccurrenceOfAnAddressStays) {
    options.HostNameToIP = 1;
    resolver.names = {{"mail.example.org", "198.51.100.1"}, {"relay.example.org", "203.0.113.9"}};
    Add("mail.example.org 203.0.113.9 198.51.100.1 relay.example.org");
    ASSERT_EQ(Addresses(list), (std::vector<std::string>{"198.51.100.1", "203.0.113.9"}));
    EXPECT_STREQ(list.At(0)->hostName, "mail.example.org");
    EXPECT_STREQ(list.At(1)->hostName, "");
    EXPECT_EQ(list.At(1)->order, 2);

    // A later append of the same text adds only what is new.
    Add("198.51.100.1 192.0.2.7 203.0.113.9");
    EXPECT_EQ(Addresses(list), (std::vector<std::string>{"198.51.100.1", "203.0.113.9", "192.0.2.7"}));
    EXPECT_EQ(list.At(2)->order, 3);
    EXPECT_EQ(list.FindAddress(Ip("192.0.2.7")), 2);
    EXPECT_EQ(list.FindAddress(Ip("192.0.2.8")), -1);
}

TEST_F(AddressListTest, LoadOnlyLastIpKeepsTheLastValidAddress) {
    options.LoadOnlyLastIP = 1;
    Add("198.51.100.1 203.0.113.9 10.0.0.1");
    ASSERT_EQ(Addresses(list), (std::vector<std::string>{"203.0.113.9"}));

    list.Clear();
    options.HostNameToIP = 1;
    resolver.names = {{"last.example.org", "192.0.2.200"}};
    Add("192.0.2.1, 192.0.2.2, 192.0.2.3, last.example.org, 192.168.1.1 127.0.0.1");
    ASSERT_EQ(list.ItemCount(), 1);
    EXPECT_EQ(Dotted(list.At(0)->ip), "192.0.2.200");
    EXPECT_STREQ(list.At(0)->hostName, "");  // the host name is not kept
    EXPECT_EQ(list.At(0)->order, 1);

    // Nothing valid: nothing is added, and an address already listed stays single.
    Add("10.0.0.1");
    EXPECT_EQ(list.ItemCount(), 1);
    Add("192.0.2.200");
    EXPECT_EQ(list.ItemCount(), 1);
}

TEST_F(AddressListTest, FindServerByIpChoosesTheFirstRegistry) {
    Add("41.0.0.1 62.0.0.1 8.0.0.1 200.1.1.1");
    EXPECT_EQ(list.At(0)->registry, RegistryAfrinic);
    EXPECT_EQ(list.At(1)->registry, RegistryRipe);
    EXPECT_EQ(list.At(2)->registry, RegistryArin);  // no table entry
    EXPECT_EQ(list.At(3)->registry, RegistryLacnic);

    list.Clear();
    options.FindServerByIP = 0;
    Add("41.0.0.1 62.0.0.1 200.1.1.1");
    for (int i = 0; i < list.ItemCount(); ++i) EXPECT_EQ(list.At(i)->registry, RegistryArin);
}

TEST_F(AddressListTest, ClearReleasesAnswersAndRestartsTheOrder) {
    Add("198.51.100.1 203.0.113.9");
    list.At(0)->rawText->SetText("answer");
    list.At(0)->resolvedName[0] = 'x';
    list.Clear();
    EXPECT_EQ(list.ItemCount(), 0);
    EXPECT_EQ(list.FindAddress(Ip("198.51.100.1")), -1);
    Add("203.0.113.9");
    ASSERT_EQ(list.ItemCount(), 1);
    EXPECT_EQ(list.At(0)->order, 1);
    EXPECT_STREQ(list.At(0)->RawText(), "");
    EXPECT_STREQ(list.At(0)->resolvedName, "");
}

TEST_F(AddressListTest, StorageGrowsWithoutMovingItems) {
    std::string text;
    for (int i = 0; i < 300; ++i) text += "198.51." + std::to_string(i / 250) + "." + std::to_string(i % 250) + " ";
    Add(text.c_str());
    ASSERT_EQ(list.ItemCount(), 300);
    const LookupItem* first = list.At(0);
    Add("192.0.2.1");
    EXPECT_EQ(list.At(0), first);
    EXPECT_EQ(list.At(299)->order, 300);
    EXPECT_EQ(Dotted(list.At(299)->ip), "198.51.1.49");
}

TEST_F(AddressListTest, LongHostNamesAreCut) {
    options.HostNameToIP = 1;
    const std::string name = std::string(200, 'a') + ".example.org";
    resolver.names = {{name, "192.0.2.9"}};
    Add(name.c_str());
    ASSERT_EQ(list.ItemCount(), 1);
    EXPECT_EQ(std::string(list.At(0)->hostName), name.substr(0, 126));
}

TEST_F(AddressListTest, ReverseResolutionStartsForEveryItem) {
    Add("198.51.100.1");
    options.ResolveIPAddr = 1;
    Add("203.0.113.9 198.51.100.1 10.0.0.1");
    // Earlier items are resolved again with the new ones, in storage order.
    EXPECT_EQ(starter.started, (std::vector<std::string>{"198.51.100.1", "203.0.113.9"}));
    options.ResolveIPAddr = 0;
    starter.started.clear();
    Add("192.0.2.1");
    EXPECT_TRUE(starter.started.empty());
}

TEST_F(AddressListTest, ResolvedNamesReachTheirItem) {
    Add("198.51.100.1 203.0.113.9");
    list.SetResolvedName(Ip("203.0.113.9"), "host.example.net");
    EXPECT_STREQ(list.At(1)->resolvedName, "host.example.net");
    EXPECT_STREQ(list.At(0)->resolvedName, "");
    EXPECT_EQ(list.namesChanged.load(), 1);

    // A result for an address no longer listed changes nothing.
    list.namesChanged = 0;
    list.SetResolvedName(Ip("192.0.2.77"), "gone.example.net");
    EXPECT_EQ(list.namesChanged.load(), 0);

    const std::string longName(300, 'n');
    list.SetResolvedName(Ip("198.51.100.1"), longName.c_str());
    EXPECT_EQ(std::string(list.At(0)->resolvedName), longName.substr(0, 126));
}

TEST_F(AddressListTest, WorkersWriteNamesWhileTheListGrows) {
    FakeReportView view;
    list.Attach(&view);
    view.InsertColumns(list);
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int round = 0; !done; ++round) {
            for (int i = 0; i < 200; ++i) {
                const std::string ip = "198.51." + std::to_string(i / 100) + "." + std::to_string(i % 100 + 1);
                list.SetResolvedName(Ip(ip.c_str()), round % 2 ? "odd.example" : "even.example");
            }
        }
    });
    for (int i = 0; i < 200; ++i) {
        const std::string ip = "198.51." + std::to_string(i / 100) + "." + std::to_string(i % 100 + 1);
        Add(ip.c_str());
        if (i % 50 == 0) list.Rebuild(true);
        list.RefreshRows();
    }
    done = true;
    worker.join();
    list.Rebuild(true);
    list.RefreshRows();
    ExpectRowsShowItems(list, view);
}

TEST_F(AddressListTest, SelectDefaultRowPrefersTheLastAllocatedRow) {
    FakeReportView view;
    list.Attach(&view);
    view.InsertColumns(list);
    Add("198.51.100.1 198.51.100.2 198.51.100.3");
    for (int i = 0; i < 3; ++i) list.At(i)->record.allocated = 1;
    list.Rebuild(true);
    EXPECT_EQ(list.SelectedCount(), 0);  // the address list selects nothing itself
    list.SelectDefaultRow();
    EXPECT_TRUE(view.rows[0].selected && view.rows[0].focused);

    view.SetRowState(-1, 0, kRowSelected | kRowFocused);
    list.At(0)->record.allocated = 2;
    list.At(1)->record.allocated = 0;
    list.SelectDefaultRow();
    EXPECT_EQ(list.SelectedCount(), 1);
    EXPECT_TRUE(view.rows[1].selected && view.rows[1].focused);

    // A selection is left as it is.
    view.SetRowState(-1, 0, kRowSelected | kRowFocused);
    view.SetRowState(2, kRowSelected, kRowSelected);
    list.SelectDefaultRow();
    EXPECT_EQ(list.SelectedCount(), 1);
    EXPECT_TRUE(view.rows[2].selected);
}

}  // namespace
