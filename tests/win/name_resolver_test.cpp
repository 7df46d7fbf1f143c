// Reverse name resolution in worker threads, delivered by resolver id: a
// result whose address or receiver is gone changes nothing.
#include <winsock2.h>
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <string>
#include <vector>

#include "input/address_list.h"
#include "lookup/name_resolver.h"
#include "shell/options.h"

namespace {

uint32_t Ip(const char* text) { return static_cast<uint32_t>(inet_addr(text)); }

std::set<DWORD> ThreadsOfThisProcess() {
    std::set<DWORD> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) ids.insert(entry.th32ThreadID);
    }
    CloseHandle(snapshot);
    return ids;
}

// Counts the results and signals each one.
class CountingResolver : public AddressListResolver {
  public:
    using AddressListResolver::AddressListResolver;
    ~CountingResolver() override {
        Unregister();
        CloseHandle(event);
    }
    void OnResolved(uint32_t address, const hostent* entry, int error) override {
        AddressListResolver::OnResolved(address, entry, error);
        ++results;
        SetEvent(event);
    }
    bool WaitFor(int n) {
        while (results < n) {
            if (WaitForSingleObject(event, 20000) != WAIT_OBJECT_0) return false;
        }
        return true;
    }
    HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    std::atomic<int> results{0};
};

struct NameResolverTest : ::testing::Test {
    Options options;
    AddressList list{&options};
};

}  // namespace

TEST_F(NameResolverTest, TheNameLandsInTheItemOfItsAddressOnly) {
    list.CreateItem(Ip("127.0.0.1"), nullptr);
    list.CreateItem(Ip("192.0.2.1"), nullptr);
    CountingResolver resolver(&list);
    ASSERT_EQ(resolver.StartResolve(Ip("127.0.0.1")), 1);
    ASSERT_TRUE(resolver.WaitFor(1));
    const hostent* platform = gethostbyaddr("\x7F\0\0\x01", 4, AF_INET);
    ASSERT_TRUE(platform && platform->h_name);
    EXPECT_STREQ(list.At(0)->resolvedName, platform->h_name);
    EXPECT_STREQ(list.At(1)->resolvedName, "");
    EXPECT_EQ(list.namesChanged.load(), 1);
    CountingResolver other(&list);  // ids are distinct; 1 is the process-wide idle receiver
    EXPECT_GT(resolver.id, 1);
    EXPECT_NE(resolver.id, other.id);
}

TEST_F(NameResolverTest, AResultForAnAddressThatLeftTheListOrADetachedReceiverChangesNothing) {
    list.CreateItem(Ip("127.0.0.1"), nullptr);
    CountingResolver resolver(&list);
    list.Clear();  // a new run
    list.CreateItem(Ip("198.51.100.9"), nullptr);
    list.namesChanged = 0;
    ASSERT_EQ(resolver.StartResolve(Ip("127.0.0.1")), 1);
    ASSERT_TRUE(resolver.WaitFor(1));
    EXPECT_STREQ(list.At(0)->resolvedName, "");
    EXPECT_EQ(list.namesChanged.load(), 0);
    list.CreateItem(Ip("127.0.0.1"), nullptr);
    resolver.Detach();
    ASSERT_EQ(resolver.StartResolve(Ip("127.0.0.1")), 1);
    ASSERT_TRUE(resolver.WaitFor(2));
    EXPECT_STREQ(list.At(1)->resolvedName, "");
    EXPECT_EQ(::StartResolve(nullptr, Ip("127.0.0.1")), 0);
}

// Workers whose receiver is gone drop their results: nothing touches the
// destroyed object, and every worker ends.
TEST_F(NameResolverTest, ADestroyedReceiverGetsNothingAndItsWorkersEnd) {
    const int before = RunningResolveCount();
    const std::set<DWORD> old = ThreadsOfThisProcess();
    {
        CountingResolver gone(nullptr);
        for (int i = 0; i < 20; ++i) ::StartResolve(&gone, Ip("127.0.0.1"));
    }
    std::vector<HANDLE> workers;
    for (DWORD id : ThreadsOfThisProcess()) {
        HANDLE thread = old.count(id) ? nullptr : OpenThread(SYNCHRONIZE, FALSE, id);
        if (thread) workers.push_back(thread);
    }
    if (!workers.empty()) {
        EXPECT_EQ(WaitForMultipleObjects(static_cast<DWORD>(workers.size()), workers.data(), TRUE, 20000),
                  WAIT_OBJECT_0);
    }
    for (HANDLE thread : workers) CloseHandle(thread);
    EXPECT_LE(RunningResolveCount(), before);  // workers of earlier tests may end meanwhile
}
