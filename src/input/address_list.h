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
    explicit AddressList(Options* options = nullptr);
    ~AddressList() override;

    void SetOptions(Options* options) { options_ = options; }
    void SetHostNameResolver(HostNameResolver* resolver) { resolver_ = resolver; }
    void SetReverseResolveStarter(ReverseResolveStarter* starter) { starter_ = starter; }

    int ItemCount() const override { return count_; }
    ReportItem* Item(int index) override { return At(index); }
    const ReportItem* Item(int index) const override { return At(index); }
    const ColumnRow* ColumnRows(int* count) const override;
    int ItemImage(const ReportItem& item) const override;
    bool IsColumnSearchable(int) const override { return true; }
    const uint32_t* CellColors(int format, int* count) const override;
    // Mail columns become mailto links.
    void DecorateCell(std::string& cell, const ReportItem& item, int column) const override;

    // The item at a storage index; null outside the list.
    LookupItem* At(int index);
    const LookupItem* At(int index) const;
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
    void SetItemStatus(int index, LookupStatus status);

    uint32_t lastAddress = 0;              // with LoadOnlyLastIP: the last accepted address
    std::atomic<int32_t> namesChanged{0};  // set with each resolved name, cleared by the refresh timer

  private:
    static constexpr int kGrowStep = 64;  // items per storage block

    const Options& CurrentOptions() const;
    LookupItem* NewSlot();

    Options* options_ = nullptr;
    HostNameResolver* resolver_ = nullptr;
    ReverseResolveStarter* starter_ = nullptr;

    // Blocks of kGrowStep items: an item never moves once created, and
    // growing copies no items.
    std::vector<std::unique_ptr<LookupItem[]>> blocks_;
    int count_ = 0;
    std::unordered_map<uint32_t, int> index_;  // ip -> storage index
};

// Whether an address lies in a range that is never looked up.
bool IsReservedAddress(uint32_t ip);
