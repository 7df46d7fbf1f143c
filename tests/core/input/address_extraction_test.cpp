#include "input/address_extraction.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "../views/list_test_support.h"
#include "input/address_list.h"
#include "input/address_text_input.h"
#include "input/host_name_resolver.h"
#include "base/options.h"

namespace {

// Gives each new name the next address of 192.0.2.0/24, a known name the
// same one again, and keeps what it was asked.
class CountingResolver : public HostNameResolver {
  public:
    bool ResolveHostName(const char* name, uint32_t* address) override {
        asked.emplace_back(name);
        if (failing) return false;
        auto found = known.find(name);
        if (found == known.end()) {
            const std::string ip = "192.0.2." + std::to_string(known.size() % 250 + 1);
            found = known.emplace(name, Ip(ip.c_str())).first;
        }
        *address = found->second;
        return true;
    }
    std::vector<std::string> asked;
    std::map<std::string, uint32_t> known;
    bool failing = false;
};

class ExtractionTest : public ::testing::Test {
  protected:
    ExtractionTest() : list(&options) {
        options.ResolveIPAddr = 0;
        list.SetHostNameResolver(&resolver);
    }
    std::vector<std::string> Extract(const std::string& text) {
        list.Clear();
        resolver.asked.clear();
        resolver.known.clear();
        SetAddressBytes(options.addressText, text.data(), static_cast<int64_t>(text.size()));
        list.AddAddressesFromText();
        return Addresses(list);
    }
    using Strings = std::vector<std::string>;

    Options options;
    AddressList list;
    CountingResolver resolver;
};

TEST_F(ExtractionTest, MailHeaderLine) {
    for (int hostNames = 0; hostNames < 2; ++hostNames) {
        options.HostNameToIP = hostNames;
        EXPECT_EQ(Extract("Received: from relay ([192.0.2.7]) by gateway"), Strings{"192.0.2.7"});
        EXPECT_TRUE(resolver.asked.empty());
    }
    options.HostNameToIP = 1;
    EXPECT_EQ(Extract("Received: from mx.example.org (mx.example.org [198.51.100.25])\r\n"
                      "\tby mail.example.net with ESMTP id 1A2B3C; Tue, 3 Dec 2024 10:00:00 +0000\r\n"
                      "From: \"Someone\" <someone@example.org>\r\n"),
              (Strings{"192.0.2.1", "198.51.100.25", "192.0.2.2"}));
    // Each occurrence of a name is asked again (and adds nothing new);
    // "example.org>" is no host name.
    EXPECT_EQ(resolver.asked, (Strings{"mx.example.org", "mx.example.org", "mail.example.net"}));
    EXPECT_STREQ(list.At(0)->hostName, "mx.example.org");
    EXPECT_STREQ(list.At(2)->hostName, "mail.example.net");
}

TEST_F(ExtractionTest, EverySeparatorSeparatesAndNothingElseDoes) {
    EXPECT_EQ(Extract("10.0.0.1,198.51.100.1;203.0.113.9"), (Strings{"198.51.100.1", "203.0.113.9"}));
    const char separators[] = " []@\"{},;:*'()!\r\n\t/";
    ASSERT_EQ(std::strlen(separators), 19u);
    std::string text;
    for (size_t i = 0; i < 19; ++i) text += "198.51.100." + std::to_string(i + 1) + separators[i];
    EXPECT_EQ(Extract(text).size(), 19u);
    for (const char* glued : {"198.51.100.1<198.51.100.2", "198.51.100.1>198.51.100.2", "198.51.100.1=198.51.100.2",
                              "198.51.100.1-198.51.100.2", "198.51.100.1.198.51.100.2", "198.51.100.1|198.51.100.2",
                              "198.51.100.1\\198.51.100.2", "198.51.100.1\v198.51.100.2"}) {
        EXPECT_TRUE(Extract(glued).empty()) << glued;
    }
}

TEST_F(ExtractionTest, OnlyStrictDottedQuadsAreAddresses) {
    EXPECT_TRUE(Extract("<198.51.100.1>").empty());
    EXPECT_TRUE(Extract("198.51.100.1.").empty());
    EXPECT_TRUE(Extract("198.51.100").empty());
    EXPECT_TRUE(Extract("198.51.100.256 198.51.100.1234 198.51.100.-1 +198.51.100.1").empty());
    EXPECT_EQ(Extract("198.051.100.001"), Strings{"198.51.100.1"});
    EXPECT_EQ(Extract("198.51.100.4/24"), Strings{"198.51.100.4"});
    EXPECT_EQ(Extract("[198.51.100.4]:25 (198.51.100.5)"), (Strings{"198.51.100.4", "198.51.100.5"}));
    EXPECT_TRUE(Extract("").empty());
    EXPECT_TRUE(Extract(" ,;\r\n\t").empty());
}

TEST_F(ExtractionTest, HostNameTest) {
    for (const char* name : {"ab-c.lan", ".abc.lan", "abc.lan", "mail-1.example.org", "a-b.c", "---.1"}) {
        EXPECT_TRUE(IsHostNameToken(name)) << name;
    }
    for (const char* name : {"abc", "a.b", "ab.1", "x..lan", "abc.lan.", "", ".", "ab_c.lan", "abc.lan<", "1.2.3.4",
                             "m\xC3\xBC"
                             "ller.de"}) {
        EXPECT_FALSE(IsHostNameToken(name)) << name;
    }
    options.HostNameToIP = 1;
    Extract("abc a.b ab.1 x..lan abc.lan. ab-c.lan .abc.lan");
    EXPECT_EQ(resolver.asked, (Strings{"ab-c.lan", ".abc.lan"}));
    options.HostNameToIP = 0;
    EXPECT_TRUE(Extract("ab-c.lan .abc.lan").empty());
    EXPECT_TRUE(resolver.asked.empty());
}

TEST_F(ExtractionTest, FailedLookupsAreSkipped) {
    options.HostNameToIP = 1;
    resolver.failing = true;
    EXPECT_EQ(Extract("nowhere.invalid 198.51.100.1 nothing.invalid"), Strings{"198.51.100.1"});
    EXPECT_EQ(resolver.asked.size(), 2u);
}

TEST_F(ExtractionTest, LongTokensAreCutTo1022Characters) {
    options.HostNameToIP = 1;
    std::string name(2000, 'a');
    name.replace(1000, 4, ".com");
    EXPECT_EQ(Extract(name + " 198.51.100.9"), (Strings{"192.0.2.1", "198.51.100.9"}));
    ASSERT_EQ(resolver.asked.size(), 1u);
    EXPECT_EQ(resolver.asked[0], name.substr(0, 1022));
    EXPECT_EQ(std::string(list.At(0)->hostName), name.substr(0, 126));

    // An address hidden behind 1022 characters of one token is not seen.
    EXPECT_TRUE(Extract(std::string(1022, '1') + "198.51.100.9").empty());
}

TEST_F(ExtractionTest, BinaryAndWideTextsGiveWhatPrecedesTheFirstNul) {
    const std::string wide(
        "1\0"
        "9\0"
        "8\0"
        ".\0",
        8);
    EXPECT_TRUE(Extract(wide).empty());
    EXPECT_EQ(options.addressText.length, 8);
    EXPECT_TRUE(Extract(std::string(4096, '\0')).empty());
    EXPECT_EQ(Extract(std::string("198.51.100.1\0"
                                  "203.0.113.9",
                                  24)),
              Strings{"198.51.100.1"});

    // Random bytes: whatever is found is a listed, public address.
    options.HostNameToIP = 1;
    std::mt19937 random(7);
    std::string noise(1 << 20, '\0');
    for (char& c : noise) c = static_cast<char>("0123456789.. ,\xFF\x80\tab-"[random() % 20]);
    Extract(noise);
    for (int i = 0; i < list.ItemCount(); ++i) EXPECT_FALSE(IsReservedAddress(list.At(i)->ip));
    for (const std::string& name : resolver.asked) EXPECT_TRUE(IsHostNameToken(name.c_str()));
}

TEST(AddressTextInput, SenderTextLengthAndSender) {
    EXPECT_TRUE(AcceptsSenderText(0, 42));
    EXPECT_TRUE(AcceptsSenderText(0xFFFFE, 42));
    EXPECT_FALSE(AcceptsSenderText(0xFFFFF, 42));
    EXPECT_FALSE(AcceptsSenderText(0xFFFFFFFFu, 42));
    EXPECT_FALSE(AcceptsSenderText(10, 0));
}

TEST(AddressTextInput, BytesReplaceTheText) {
    TextBuffer text(256);
    text.SetText("old text that is longer");
    ASSERT_TRUE(SetAddressBytes(text, "1.2.3.4\0xyz", 11));
    EXPECT_STREQ(text.Text(), "1.2.3.4");
    EXPECT_EQ(text.length, 11);
    EXPECT_GT(text.capacity, 11);
    ASSERT_TRUE(SetAddressBytes(text, "", 0));
    EXPECT_STREQ(text.Text(), "");
    EXPECT_FALSE(SetAddressBytes(text, "x", -1));
    EXPECT_FALSE(SetAddressBytes(text, nullptr, 4));
    EXPECT_FALSE(SetAddressBytes(text, "x", int64_t{1} << 31));  // beyond what a text can hold
}

}  // namespace
