#pragma once
// The list of addresses to look up, in input order: the result list's items.
// Duplicates are refused through an index of the addresses in the list, so
// adding an address costs the same however long the list is.

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "input/lookup_item.h"
#include "views/report_list.h"

struct Options;
class HostNameResolver;
class ReverseResolveStarter;

class AddressList : public ReportList {
  public:
    explicit AddressList(Options* options_ = nullptr);
    ~AddressList() override;

    void SetOptions(Options* options_) { options = options_; }
    void SetHostNameResolver(HostNameResolver* resolver_) { resolver = resolver_; }
    void SetReverseResolveStarter(ReverseResolveStarter* starter_) { starter = starter_; }

    int ItemCount() const override { return count; }
    ReportItem* Item(int itemIndex) override { return At(itemIndex); }
    const ReportItem* Item(int itemIndex) const override { return At(itemIndex); }
    const ColumnRow* ColumnRows(int* rowCount) const override;
    int ItemImage(const ReportItem& item) const override;
    bool IsColumnSearchable(int) const override { return true; }
    const uint32_t* CellColors(int format, int* rowCount) const override;
    // Mail columns become mailto links.
    void DecorateCell(std::string& cell, const ReportItem& item, int column) const override;

    // The item at a storage index; null outside the list.
    LookupItem* At(int itemIndex);
    const LookupItem* At(int itemIndex) const;
    // Storage index of the item holding ip; -1 when none.
    int FindAddress(uint32_t ip) const;

    // Adds an address found in a text unless it lies in a reserved range;
    // with LoadOnlyLastIP on it is only remembered in lastAddress.
    void AddAddress(uint32_t ip, const char* hostName);
    // Appends a new Waiting item for ip, unless the list holds it already.
    void CreateItem(uint32_t ip, const char* hostName);
    // Releases every raw answer and empties the list; the rows stay until
    // DeleteAllRows or Rebuild.
    void Clear();
    // Appends the addresses of the options' address text.
    void AddAddressesFromText();
    // After a run: selects the last row whose block is allocated, else row 0,
    // when nothing is selected.
    void SelectDefaultRow();

    // The name resolution's result for an address; any thread.
    void SetResolvedName(uint32_t ip, const char* name);
    // Sets an item's status and marks its row for the next refresh.
    void SetItemStatus(int itemIndex, LookupStatus status);

    uint32_t lastAddress = 0;              // with LoadOnlyLastIP: the last accepted address
    std::atomic<int32_t> namesChanged{0};  // set with each resolved name, cleared by the refresh timer

  private:
    static constexpr int kGrowStep = 64;  // items per storage block

    const Options& CurrentOptions() const;
    LookupItem* NewSlot();

    Options* options = nullptr;
    HostNameResolver* resolver = nullptr;
    ReverseResolveStarter* starter = nullptr;

    // Blocks of kGrowStep items: an item never moves once created, and
    // growing copies no items.
    std::vector<std::unique_ptr<LookupItem[]>> blocks;
    int count = 0;
    std::unordered_map<uint32_t, int> index;  // ip -> storage index
};

// Whether an address lies in a range that is never looked up.
bool IsReservedAddress(uint32_t ip);
