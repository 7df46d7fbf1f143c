#pragma once
// One column of a report list: its static row and the definition built from
// it when the list is attached.

#include <cstdint>

// A row of a list's static column table, in column id order.
struct ColumnRow {
    int32_t stringId;      // header text in the string table
    int32_t defaultWidth;  // pixels
    int32_t reportWidth;   // characters, for the tabular text report
};

struct ColumnDef {
    int32_t id = 0;              // column id, the list view's sub-item index
    int32_t defaultWidth = 0;    // pixels
    const char* header = "";     // header text, through the language file
    int32_t reportWidth = 0;     // characters
    bool noWrap = true;          // HTML cells "nowrap"
    const char* rawHeader = "";  // the program's own header text (XML names)
};
