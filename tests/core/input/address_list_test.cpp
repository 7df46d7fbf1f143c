// The address list: what a text adds to it, and what it keeps per address.
#include "input/address_list.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "../views/list_test_support.h"
#include "base/address_helpers.h"
#include "input/address_text_input.h"
#include "input/host_name_resolver.h"
#include "input/reverse_resolve_starter.h"
#include "base/options.h"

namespace {

// Resolves the names it knows; writes down what it was asked.
class FakeNames : public HostNameResolver, public ReverseResolveStarter {
  public:
    bool ResolveHostName(const char* name, uint32_t* address) override {
        asked += std::string(asked.empty() ? "" : " ") + name;
        if (names.count(name)) *address = Ip(names[name]);
        return names.count(name) != 0;
    }
    int StartResolve(uint32_t address) override {
        reversed += Dotted(address) + " ";
        return 1;
    }
    std::map<std::string, const char*> names;
    std::string asked, reversed;
};

class AddressListTest : public ::testing::Test {
  protected:
    AddressListTest() : list(&options) {
        options.ResolveIPAddr = 0;
        list.SetHostNameResolver(&fake);
        list.SetReverseResolveStarter(&fake);
    }
    // Adds the addresses of a text; all items as "address" or "address=host name".
    std::string Add(const std::string& text) {
        EXPECT_TRUE(SetAddressBytes(options.addressText, text.data(), static_cast<int64_t>(text.size())));
        list.AddAddressesFromText();
        std::string found;
        for (int i = 0; i < list.ItemCount(); ++i)
            found +=
                (i ? " " : "") + Dotted(list.At(i)->ip) + (*list.At(i)->hostName ? "=" : "") + list.At(i)->hostName;
        return found;
    }

    Options options;
    AddressList list;
    FakeNames fake;
};

TEST_F(AddressListTest, AddressesAndHostNamesOfTexts) {
    std::string longName(2000, 'a'), separated, separatedFound;
    longName.replace(1000, 4, ".com");
    for (const char* s = " []@\"{},;:*'()!\r\n\t/"; *s; ++s) {  // each of the 19 separators ends an address
        separated += "198.51.100." + std::to_string(*s) + *s;
        separatedFound += (*s == ' ' ? "" : " ") + ("198.51.100." + std::to_string(*s));
    }
    fake.names = {{"mx.example.org", "192.0.2.1"},     {"mail.example.net", "192.0.2.2"},
                  {"ab-c.lan", "192.0.2.3"},           {".abc.lan", "192.0.2.3"},
                  {"last.example.org", "192.0.2.200"}, {longName.substr(0, 1022), "192.0.2.9"}};
    // Each occurrence of a name is asked again; "example.org>" is no host name.
    const std::string mail =
        "Received: from mx.example.org (mx.example.org [198.51.100.25])\r\n"
        "\tby mail.example.net with ESMTP id 1A2B3C; Tue, 3 Dec 2024 10:00:00 +0000\r\n"
        "From: \"Someone\" <someone@example.org>\r\nabc a.b ab.1 x..lan abc.lan. ab_c.lan abc.lan< ab-c.lan .abc.lan "
        "a-b.c ---.1 nowhere.lan";
    const std::string none =  // glued, not strict, reserved, or behind 1022 characters of a token
        "198.51.100.1<198.51.100.2 198.51.100.1>198.51.100.2 198.51.100.1=198.51.100.2 198.51.100.1-198.51.100.2 "
        "198.51.100.1.198.51.100.2 198.51.100.1|198.51.100.2 198.51.100.1\\198.51.100.2 198.51.100.1\v198.51.100.2 "
        "<198.51.100.1> 198.51.100.1. 198.51.100 198.51.100.256 198.51.100.1234 198.51.100.-1 +198.51.100.1 "
        "10.1.2.3 127.0.0.1 192.168.0.1 169.254.1.1 172.16.0.1 172.31.255.255 224.0.0.1 239.255.255.255 0.1.2.3 " +
        std::string(1022, '1') + "198.51.100.9";
    const char publicNeighbours[] =
        "172.32.0.1 192.169.0.1 11.0.0.1 240.0.0.1 255.255.255.255 172.15.0.1 169.253.0.1 223.255.255.255 9.0.0.1 "
        "126.0.0.1 128.0.0.1";
    const struct {
        int hostNames;  // 2: and LoadOnlyLastIP
        std::string text, found, asked;
    } cases[] = {
        {1, mail, "192.0.2.1=mx.example.org 198.51.100.25 192.0.2.2=mail.example.net 192.0.2.3=ab-c.lan",
         "mx.example.org mx.example.org mail.example.net ab-c.lan .abc.lan a-b.c ---.1 nowhere.lan"},
        {0, mail, "198.51.100.25", ""},
        {1, longName + " 198.51.100.9", "192.0.2.9=" + longName.substr(0, 126) + " 198.51.100.9",
         longName.substr(0, 1022)},
        {0, separated, separatedFound, ""},
        {1, none, "", ""},
        {0, "198.051.100.001 198.51.100.4/24 [198.51.100.5]:25 (198.51.100.6) 198.51.100.4",
         "198.51.100.1 198.51.100.4 198.51.100.5 198.51.100.6", ""},
        {0, std::string("198.51.100.1\0 203.0.113.9", 25), "198.51.100.1", ""},  // the text ends at its first NUL
        {0, publicNeighbours, publicNeighbours, ""},
        {2, "192.0.2.1, 192.0.2.2, last.example.org, 192.168.1.1", "192.0.2.200", "last.example.org"},  // no name kept
    };
    for (const auto& c : cases) {
        list.Clear();
        fake.asked.clear();
        options.HostNameToIP = c.hostNames != 0;
        options.LoadOnlyLastIP = c.hostNames == 2;
        EXPECT_EQ(Add(c.text), c.found) << c.text;
        EXPECT_EQ(fake.asked, c.asked) << c.text;
    }
}

TEST_F(AddressListTest, WhatItKeepsPerAddress) {
    Add("192.0.2.1");
    list.Clear();  // the order starts again
    options.HostNameToIP = 1;
    fake.names = {{"mail.example.org", "198.51.100.1"}, {"relay.example.org", "203.0.113.9"}};
    Add("mail.example.org 203.0.113.9 198.51.100.1 relay.example.org 41.0.0.1");
    options.FindServerByIP = 0;
    EXPECT_EQ(Add("198.51.100.1 62.0.0.1 203.0.113.9"), "198.51.100.1=mail.example.org 203.0.113.9 41.0.0.1 62.0.0.1");
    std::string items;  // order, status, registry, index found, image
    for (int i = 0; i < 4; ++i) {
        LookupItem& item = *list.At(i);
        items += std::to_string(item.order) + std::to_string(static_cast<int>(item.status)) +
                 std::to_string(item.registry) + std::to_string(list.FindAddress(item.ip));
        EXPECT_TRUE(item.owner == &list && item.rawText && item.rawText->growStep == 256 && !*item.RawText());
        item.status = static_cast<LookupStatus>(i + 2);
        items += std::to_string(list.ItemImage(item)) + " ";
    }
    EXPECT_EQ(items, "11100 21311 31522 41130 ");
    EXPECT_EQ(list.At(4), nullptr);

    options.ResolveIPAddr = 1;  // names of all the items are asked for again with the new ones
    Add("203.0.113.9 10.0.0.1 192.0.2.1");
    EXPECT_EQ(fake.reversed, "198.51.100.1 203.0.113.9 41.0.0.1 62.0.0.1 192.0.2.1 ");
    list.SetResolvedName(Ip("203.0.113.9"), std::string(300, 'n').c_str());
    EXPECT_EQ(std::string(list.At(0)->resolvedName) + "|" + list.At(1)->resolvedName, "|" + std::string(126, 'n'));
    EXPECT_EQ(list.namesChanged.exchange(0), 1);
    list.SetResolvedName(Ip("192.0.2.77"), "gone.example.net");  // not listed: changes nothing
    EXPECT_EQ(list.namesChanged.load(), 0);
}

// Resolver threads write names while the user interface adds items and refreshes rows: every row still shows its own
// item. After a run the last allocated row is selected, unless something is.
TEST_F(AddressListTest, RowsOfTheList) {
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

    // Allocated flags of the last three items, the row selected before (-1: none), the row selected after.
    for (const auto& c : {std::vector<int>{1, 1, 1, -1, 0}, {2, 0, 1, -1, 198}, {2, 0, 1, 7, 7}}) {
        for (int i = 0; i < 200; ++i) list.At(i)->record.allocated = i < 197 ? 1 : c[static_cast<size_t>(i - 197)];
        view.SetRowState(-1, 0, kRowSelected | kRowFocused);
        if (c[3] >= 0) view.SetRowState(c[3], kRowSelected, kRowSelected);
        list.SelectDefaultRow();
        EXPECT_EQ(list.SelectedCount(), 1);
        EXPECT_TRUE(view.rows[static_cast<size_t>(c[4])].selected);
    }
}

TEST(AddressHelpers, TextBuffersHandedOverTextsAndPartialQuads) {
    uint32_t partial = 0x12345678;  // the strict reading is that of the texts above
    EXPECT_EQ(ParseDottedQuad("200.160", &partial, 1), 0);
    EXPECT_EQ(Dotted(partial), "200.160.0.0");  // what a failed reading completed, on request only
    TextBuffer b(256);
    b.SetText("abcdef");
    b.data[3] = '\0';  // a buffer that does not trust its length measures the text
    b.AppendBytes("XY", -1);
    EXPECT_EQ(std::string(b.Text()) + std::to_string(b.length), "abcXY5");
    b.Clear();
    EXPECT_EQ(std::string(b.Text()) + std::to_string(b.capacity + b.length) + (b.data ? "" : " null"), "0 null");
    EXPECT_TRUE(AcceptsSenderText(0xFFFFE, 42) && !AcceptsSenderText(0xFFFFF, 42) && !AcceptsSenderText(10, 0));
    TextBuffer text(8, true);
    EXPECT_FALSE(SetAddressBytes(text, nullptr, 4));
    for (int64_t n : {int64_t{-1}, int64_t{1} << 31}) EXPECT_FALSE(SetAddressBytes(text, "x", n));
    ASSERT_TRUE(SetAddressBytes(text, "1.2.3.4\0xyz", 11));  // taken as they are; the text ends at its first NUL
    text.AppendBytes("\0ab", 3);
    text.AppendBytes(std::string(40, 'c').c_str(), 40);
    EXPECT_EQ(std::string(text.data, 55), std::string("1.2.3.4\0xyz\0ab", 14) + std::string(40, 'c') + '\0');
    EXPECT_EQ(text.capacity, 56);
}

}  // namespace
