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

AddressList::AddressList(Options* options_) : options(options_) {
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
    return options ? *options : defaults;
}

const ColumnRow* AddressList::ColumnRows(int* rowCount) const {
    *rowCount = kResultColumnCount;
    return ResultColumnRows();
}

int AddressList::ItemImage(const ReportItem& item) const {
    switch (static_cast<const LookupItem&>(item).status) {
        case LookupStatus::Succeeded:
            return 1;
        case LookupStatus::Failed:
        case LookupStatus::Limited:
            return 2;
        default:
            return 0;
    }
}

const uint32_t* AddressList::CellColors(int, int* rowCount) const {
    // Pale yellow, pale blue, pale pink.
    static const uint32_t kColors[] = {0xF0FFFF, 0xF0F0FF, 0xFFF0F0};
    *rowCount = 3;
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

LookupItem* AddressList::At(int itemIndex) {
    if (itemIndex < 0 || itemIndex >= count) return nullptr;
    return &blocks[static_cast<size_t>(itemIndex / kGrowStep)][itemIndex % kGrowStep];
}

const LookupItem* AddressList::At(int itemIndex) const {
    return const_cast<AddressList*>(this)->At(itemIndex);
}

int AddressList::FindAddress(uint32_t ip) const {
    const auto found = index.find(ip);
    return found == index.end() ? -1 : found->second;
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
    if (static_cast<size_t>(count) >= blocks.size() * kGrowStep) {
        std::unique_ptr<LookupItem[]> block(new (std::nothrow) LookupItem[kGrowStep]);
        if (!block) return nullptr;
        Locked lock(ListLock());
        blocks.push_back(std::move(block));
    }
    return &blocks[static_cast<size_t>(count / kGrowStep)][count % kGrowStep];
}

void AddressList::CreateItem(uint32_t ip, const char* hostName) {
    // Equal addresses are the same item: the first occurrence stays.
    if (index.count(ip)) return;
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
    item->order = count + 1;
    item->ReleaseText();
    item->rawText.reset(new (std::nothrow) TextBuffer(256));

    const int itemIndex = count;
    {
        Locked lock(ListLock());
        index.emplace(ip, itemIndex);
        ++count;
    }
    MarkItemChanged(itemIndex);
}

void AddressList::Clear() {
    Locked lock(ListLock());
    for (int i = 0; i < count; ++i) At(i)->ReleaseText();
    count = 0;
    index.clear();
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
    Locked lock(ListLock());
    const int itemIndex = FindAddress(ip);
    if (itemIndex < 0) return;
    CopyName(At(itemIndex)->resolvedName, name);
    namesChanged = 1;
    MarkItemChanged(itemIndex);
}

void AddressList::SetItemStatus(int itemIndex, LookupStatus status) {
    LookupItem* item = At(itemIndex);
    if (!item) return;
    item->status = status;
    MarkItemChanged(itemIndex);
}
