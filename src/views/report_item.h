#pragma once
// The header every item of a ReportList begins with, and the operations the
// list asks of its items.

#include <cstdint>

class ReportList;

// Bytes of the buffer a column text is produced into.
constexpr int kTextBufferSize = 8192;

// What an item's Compare returns to have the two column texts compared.
constexpr int kCompareAsText = 255;

// Flag of a slot whose item was removed; an appending list may reuse it.
constexpr uint16_t kFreeSlot = 1;

class ReportItem {
  public:
    virtual ~ReportItem() = default;

    // The text of a column, produced into buffer (kTextBufferSize bytes) or
    // pointing at a member of the item.
    virtual const char* ColumnText(int column, char* buffer) const = 0;
    // -1, 0 or 1, or kCompareAsText for columns that sort by their text.
    virtual int Compare(int /*column*/, const ReportItem& /*other*/) const { return kCompareAsText; }
    // Frees what the item owns beyond its fixed members.
    virtual void ReleaseText() {}

    uint16_t flags = 0;           // kFreeSlot
    int32_t image = -1;           // image shown in the item's row; -1 without a row
    ReportList* owner = nullptr;  // set when the item is appended

  protected:
    ReportItem() = default;
    ReportItem(const ReportItem&) = default;
    ReportItem& operator=(const ReportItem&) = default;
    ReportItem(ReportItem&&) = default;
    ReportItem& operator=(ReportItem&&) = default;
};
