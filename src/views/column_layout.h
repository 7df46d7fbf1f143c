#pragma once
// The saved widths and display positions of the result columns: the
// "Columns" setting, one binary value of 72 bytes.

#include <cstdint>

constexpr int kLayoutColumns = 18;
constexpr int kMaxLayoutWidth = 2000;  // wider entries are not applied

struct ColumnLayoutEntry {
    int16_t width;     // pixels; 0 = hidden
    int16_t position;  // display position, 0 = leftmost
};

// One entry per column in column id order (not display order). Its bytes,
// little-endian, are the setting's value.
struct ColumnLayout {
    ColumnLayoutEntry entries[kLayoutColumns];
};
static_assert(sizeof(ColumnLayout) == 72, "the \"Columns\" value is 72 bytes");

// A layout is applied only when at most one entry claims position 0; a
// layout that was never stored is all zeros and fails this.
bool IsColumnLayoutUsable(const ColumnLayout& layout);

// Whether an entry may be given to its column: a width in [0, 2000) and a
// position that exists.
bool ColumnLayoutEntryApplies(const ColumnLayoutEntry& entry, int columnCount);
