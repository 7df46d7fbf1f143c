#pragma once
// One address of the list: its order number, lookup status, the registry to
// ask next, its host names, the parsed record and the raw answer.

#include <cstdint>
#include <memory>

#include "base/text_buffer.h"
#include "views/report_item.h"
#include "whois/whois_record.h"

enum class LookupStatus : int32_t {
    None = 0,  // only while an item is being created
    Waiting = 1,
    Retrieving = 2,
    Succeeded = 3,
    Failed = 4,
    Paused = 5,
    Limited = 6,  // refused by its registry, or not asked while the registry refuses
};

constexpr int kNameSize = 128;       // hostName, resolvedName
constexpr int kMaxNameLength = 126;  // characters kept of a longer name

class LookupItem : public ReportItem {
  public:
    LookupItem();

    const char* ColumnText(int column, char* buffer) const override;
    // Numeric on the order column; the other columns sort by their texts.
    int Compare(int column, const ReportItem& other) const override;
    void ReleaseText() override;

    // The raw answer; "" when there is none.
    const char* RawText() const { return rawText ? rawText->Text() : ""; }

    int32_t order = 0;  // 1-based, in input order
    uint32_t ip = 0;    // octets in address order
    LookupStatus status = LookupStatus::None;
    int32_t registry = 0;  // RegistryId to ask next
    char hostName[kNameSize] = {};
    char resolvedName[kNameSize] = {};
    WhoisRecord record;
    std::unique_ptr<TextBuffer> rawText;  // null only if it could not be allocated
};

bool IsSameAddress(const LookupItem& a, const LookupItem& b);

// Copies a name into a 128-byte member, keeping at most 126 characters.
void CopyName(char* member, const char* name);
