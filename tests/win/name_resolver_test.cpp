// Reverse name resolution in worker threads, delivered by resolver id.
#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <string>

#include "input/address_list.h"
#include "lookup/name_resolver.h"
#include "base/options.h"

namespace {

uint32_t Ip(const char* text) {
    return static_cast<uint32_t>(inet_addr(text));
}

// The platform's own answer for an address, "" when it has none.
std::string PlatformName(const char* text) {
    const uint32_t ip = Ip(text);
    const hostent* entry = gethostbyaddr(reinterpret_cast<const char*>(&ip), 4, AF_INET);
    return entry && entry->h_name ? entry->h_name : "";
}

// Counts the results and signals each one.
class CountingResolver : public AddressListResolver {
  public:
    explicit CountingResolver(AddressList* list) : AddressListResolver(list) {
        event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    }
    ~CountingResolver() override {
        Unregister();
        CloseHandle(event);
    }
    void OnResolved(uint32_t address, const hostent* entry, int error) override {
        AddressListResolver::OnResolved(address, entry, error);
        if (error == 0 && entry) lastName = entry->h_name ? entry->h_name : "";
        ++results;
        SetEvent(event);
    }
    // Waits until n results arrived in all.
    bool WaitFor(int n) {
        while (results < n) {
            if (WaitForSingleObject(event, 20000) != WAIT_OBJECT_0) return false;
        }
        return true;
    }

    HANDLE event = nullptr;
    std::atomic<int> results{0};
    std::string lastName;
};

struct NameResolverTest : ::testing::Test {
    Options options;
    AddressList list{&options};
};

TEST_F(NameResolverTest, EveryAddressGetsAWorkerAndItsNameLandsInTheItem) {
    list.CreateItem(Ip("127.0.0.1"), nullptr);
    list.CreateItem(Ip("198.51.100.7"), nullptr);
    list.CreateItem(Ip("192.0.2.1"), nullptr);
    CountingResolver resolver(&list);
    for (int i = 0; i < list.ItemCount(); ++i) EXPECT_EQ(resolver.StartResolve(list.At(i)->ip), 1);
    ASSERT_TRUE(resolver.WaitFor(3));

    EXPECT_EQ(list.At(0)->resolvedName, PlatformName("127.0.0.1"));
    EXPECT_EQ(list.At(1)->resolvedName, PlatformName("198.51.100.7"));
    EXPECT_EQ(list.At(2)->resolvedName, PlatformName("192.0.2.1"));
    EXPECT_FALSE(PlatformName("127.0.0.1").empty());
    EXPECT_EQ(list.namesChanged.load(), 1);
}

TEST_F(NameResolverTest, AResultForAnAddressThatLeftTheListChangesNothing) {
    list.CreateItem(Ip("127.0.0.1"), nullptr);
    CountingResolver resolver(&list);
    list.Clear();  // a new run
    list.CreateItem(Ip("198.51.100.9"), nullptr);
    list.namesChanged = 0;
    ASSERT_EQ(resolver.StartResolve(Ip("127.0.0.1")), 1);
    ASSERT_TRUE(resolver.WaitFor(1));
    EXPECT_STREQ(list.At(0)->resolvedName, "");
    EXPECT_EQ(list.namesChanged.load(), 0);
}

TEST_F(NameResolverTest, ADetachedOrDestroyedReceiverGetsNothingMore) {
    list.CreateItem(Ip("127.0.0.1"), nullptr);
    CountingResolver resolver(&list);
    resolver.Detach();
    ASSERT_EQ(resolver.StartResolve(Ip("127.0.0.1")), 1);
    ASSERT_TRUE(resolver.WaitFor(1));
    EXPECT_STREQ(list.At(0)->resolvedName, "");

    // Workers whose receiver is gone drop their results: nothing touches
    // the destroyed object.
    const int before = RunningResolveCount();
    {
        CountingResolver gone(nullptr);
        for (int i = 0; i < 20; ++i) ::StartResolve(&gone, Ip("127.0.0.1"));
    }
    const DWORD start = GetTickCount();
    while (RunningResolveCount() > before && GetTickCount() - start < 20000) {
        WaitForSingleObject(GetCurrentThread(), 10);  // the workers end on their own
    }
    EXPECT_EQ(RunningResolveCount(), before);
}

TEST_F(NameResolverTest, ResolversHaveDistinctIds) {
    CountingResolver a(&list), b(&list);
    EXPECT_GT(a.id, 1);  // 1 is the process-wide idle receiver
    EXPECT_NE(a.id, b.id);
    EXPECT_EQ(::StartResolve(nullptr, Ip("127.0.0.1")), 0);
}

}  // namespace
