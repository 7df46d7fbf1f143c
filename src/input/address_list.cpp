#include "input/address_list.h"

#include <cstring>
#include <new>

#include "base/address_helpers.h"
#include "base/list_lock.h"
#include "whois/server_selection.h"
#include "resources/resource_ids.h"
#include "base/options.h"
#include "views/result_columns.h"

bool IsReservedAddress(uint32_t ip) {
    const unsigned a = AddressOctet(ip, 0);
    const unsigned b = AddressOctet(ip, 1);
    return a == 0 || a == 10 || (a >= 224 && a <= 239) || a == 127 || (a == 192 && b == 168) ||
           (a == 169 && b == 254) || (a == 172 && b >= 16 && b <= 31);
}

AddressList::AddressList(Options* options) : options_(options) {
    resortAfterRebuild = true;
    selectFirstRowAfterRebuild = false;
    checkboxMode = false;
    reportTitleId = IDS_REPORT_TITLE;
}

AddressList::~AddressList() {
    Clear();
}

const Options& AddressList::CurrentOptions() const {
    static const Options defaults;
    return options_ ? *options_ : defaults;
}

const ColumnRow* AddressList::ColumnRows(int* count) const {
    *count = kResultColumnCount;
    return ResultColumnRows();
}

int AddressList::ItemImage(const ReportItem& item) const {
    switch (static_cast<const LookupItem&>(item).status) {
        case LookupStatus::Succeeded:
            return 1;
        case LookupStatus::Failed:
            return 2;
        default:
            return 0;
    }
}

const uint32_t* AddressList::CellColors(int, int* count) const {
    // Pale yellow, pale blue, pale pink.
    static const uint32_t kColors[] = {0xF0FFFF, 0xF0F0FF, 0xFFF0F0};
    *count = 3;
    return kColors;
}

void AddressList::DecorateCell(std::string& cell, const ReportItem& item, int column) const {
    if (column != ColumnEmail && column != ColumnAbuseEmail) return;
    const WhoisRecord& record = static_cast<const LookupItem&>(item).record;
    const char* mail = column == ColumnEmail ? record.email : record.abuseEmail;
    // A quote would end the link's target early: such a value stays plain text.
    if (*mail == '\0' || std::strchr(mail, '"')) return;
    cell = std::string("<a href=\"mailto:") + mail + "\">" + cell + "</a>";
}

LookupItem* AddressList::At(int index) {
    if (index < 0 || index >= count_) return nullptr;
    return &blocks_[static_cast<size_t>(index / kGrowStep)][index % kGrowStep];
}

const LookupItem* AddressList::At(int index) const {
    return const_cast<AddressList*>(this)->At(index);
}

int AddressList::FindAddress(uint32_t ip) const {
    const auto found = index_.find(ip);
    return found == index_.end() ? -1 : found->second;
}

void AddressList::AddAddress(uint32_t ip, const char* hostName) {
    if (IsReservedAddress(ip)) return;
    if (CurrentOptions().LoadOnlyLastIP) {
        lastAddress = ip;
        return;
    }
    CreateItem(ip, hostName);
}

// The slot behind the last item, in a new block when the last one is full;
// null when memory is short.
LookupItem* AddressList::NewSlot() {
    if (static_cast<size_t>(count_) >= blocks_.size() * kGrowStep) {
        std::unique_ptr<LookupItem[]> block(new (std::nothrow) LookupItem[kGrowStep]);
        if (!block) return nullptr;
        std::lock_guard<std::mutex> lock(ListLock());
        blocks_.push_back(std::move(block));
    }
    return &blocks_[static_cast<size_t>(count_ / kGrowStep)][count_ % kGrowStep];
}

void AddressList::CreateItem(uint32_t ip, const char* hostName) {
    // Equal addresses are the same item: the first occurrence stays.
    if (index_.count(ip)) return;
    LookupItem* item = NewSlot();
    if (!item) return;

    // The slot lies beyond the count, where no worker looks, so it is filled
    // without the lock; only the append itself holds it.
    item->flags = 0;
    item->image = -1;
    item->owner = this;
    item->ip = ip;
    CopyName(item->hostName, hostName);
    item->resolvedName[0] = '\0';
    ClearRecord(&item->record);
    item->status = LookupStatus::Waiting;
    item->registry = FirstRegistry(ip, CurrentOptions().FindServerByIP);
    item->order = count_ + 1;
    item->ReleaseText();
    item->rawText.reset(new (std::nothrow) TextBuffer(256));

    const int index = count_;
    {
        std::lock_guard<std::mutex> lock(ListLock());
        index_.emplace(ip, index);
        ++count_;
    }
    MarkItemChanged(index);
}

void AddressList::Clear() {
    std::lock_guard<std::mutex> lock(ListLock());
    for (int i = 0; i < count_; ++i) At(i)->ReleaseText();
    count_ = 0;
    index_.clear();
}

void AddressList::SelectDefaultRow() {
    if (!View() || SelectedCount() > 0 || RowCount() == 0) return;
    constexpr unsigned kState = kRowSelected | kRowFocused;
    for (int row = RowCount() - 1; row >= 0; --row) {
        const LookupItem* item = At(ItemIndexOfRow(row));
        if (item && item->record.allocated != 1) {
            SetRowState(row, kState, kState);
            return;
        }
    }
    SetRowState(0, kState, kState);
}

void AddressList::SetResolvedName(uint32_t ip, const char* name) {
    std::lock_guard<std::mutex> lock(ListLock());
    const int index = FindAddress(ip);
    if (index < 0) return;
    CopyName(At(index)->resolvedName, name);
    namesChanged = 1;
    MarkItemChanged(index);
}

void AddressList::SetItemStatus(int index, LookupStatus status) {
    LookupItem* item = At(index);
    if (!item) return;
    item->status = status;
    MarkItemChanged(index);
}
