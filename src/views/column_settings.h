#pragma once
// The working copy of the column layout that the column settings dialog
// edits: nothing reaches the result list before OK.

#include <vector>

#include "views/column_layout.h"

class ColumnSettings {
  public:
    // One row of the dialog's list: a column and whether it is shown.
    struct Row {
        int column;
        bool checked;
    };

    // The current layout of the list (width and display position per column
    // id) and the default widths, one per column.
    ColumnSettings(const ColumnLayout& current, std::vector<int> defaultWidths);

    int ColumnCount() const { return static_cast<int>(defaults.size()); }
    int Width(int column) const { return layout.entries[column].width; }

    // The rows in display order (equal positions in column id order), checked
    // when the column is shown. A hidden column's working width becomes its
    // default width, so that showing it again gives it that width.
    std::vector<Row> FillRows();
    // Every column back to its default width at the position of its id.
    void Reset();
    // The width field's text for a column: a number from 1 to 999 becomes
    // the column's width; anything else is ignored (false).
    bool SetWidthText(int column, const char* text);
    // OK: each row's column takes the row's position; an unchecked row's
    // column gets width 0, a checked one keeps its width.
    void Accept(const std::vector<Row>& rows);

    ColumnLayout layout;

  private:
    std::vector<int> defaults;
};
