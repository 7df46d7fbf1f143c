#pragma once
// The sort order of a report list: the column id in the low 12 bits, bit
// 0x1000 for descending. 0 sorts by the first column, ascending. Persisted as
// the "Sort" setting.

#include <cstdint>

using SortState = int32_t;

constexpr SortState kSortColumnMask = 0xFFF;
constexpr SortState kSortDescending = 0x1000;

inline int SortColumn(SortState state) {
    return state & kSortColumnMask;
}
inline bool SortIsDescending(SortState state) {
    return (state & kSortDescending) != 0;
}

// The state after a Sort request: a header click (keep false) on the column
// already sorted reverses its direction; any other value is taken as given.
inline SortState NextSortState(SortState persisted, SortState value, bool keep) {
    if (!keep && value == SortColumn(persisted)) return persisted ^ kSortDescending;
    return value;
}
