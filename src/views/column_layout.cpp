#include "views/column_layout.h"

bool IsColumnLayoutUsable(const ColumnLayout& layout) {
    int leftmost = 0;
    for (const ColumnLayoutEntry& entry : layout.entries) {
        if (entry.position == 0) ++leftmost;
    }
    return leftmost <= 1;
}

bool ColumnLayoutEntryApplies(const ColumnLayoutEntry& entry, int columnCount) {
    // A negative position is as impossible as one past the last column and is
    // refused the same way, rather than handed to the control.
    return entry.width >= 0 && entry.width < kMaxLayoutWidth && entry.position >= 0 && entry.position < columnCount;
}
