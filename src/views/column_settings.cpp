#include "views/column_settings.h"

#include <cstddef>
#include <utility>

ColumnSettings::ColumnSettings(const ColumnLayout& current, std::vector<int> defaultWidths)
    : layout(current), defaults(std::move(defaultWidths)) {
    if (defaults.size() > static_cast<size_t>(kLayoutColumns)) defaults.resize(kLayoutColumns);
}

std::vector<ColumnSettings::Row> ColumnSettings::FillRows() {
    std::vector<Row> rows;
    std::vector<bool> placed(defaults.size(), false);
    const auto add = [&](int column) {
        ColumnLayoutEntry& entry = layout.entries[column];
        rows.push_back({column, entry.width > 0});
        if (entry.width == 0) entry.width = static_cast<int16_t>(defaults[static_cast<size_t>(column)]);
        placed[static_cast<size_t>(column)] = true;
    };
    for (int position = 0; position < ColumnCount(); ++position) {
        for (int column = 0; column < ColumnCount(); ++column) {
            if (layout.entries[column].position == position) add(column);
        }
    }
    // A position the list could not have given: such a column still gets
    // a row, at the end, rather than vanishing from the dialog.
    for (int column = 0; column < ColumnCount(); ++column) {
        if (!placed[static_cast<size_t>(column)]) add(column);
    }
    return rows;
}

void ColumnSettings::Reset() {
    for (int column = 0; column < ColumnCount(); ++column) {
        layout.entries[column].position = static_cast<int16_t>(column);
        layout.entries[column].width = static_cast<int16_t>(defaults[static_cast<size_t>(column)]);
    }
}

bool ColumnSettings::SetWidthText(int column, const char* text) {
    if (column < 0 || column >= ColumnCount() || !text || !*text) return false;
    int value = 0;
    for (const char* p = text; *p; ++p) {
        if (*p < '0' || *p > '9' || p - text >= 3) return false;
        value = value * 10 + (*p - '0');
    }
    if (value < 1 || value > 999) return false;
    layout.entries[column].width = static_cast<int16_t>(value);
    return true;
}

void ColumnSettings::Accept(const std::vector<Row>& rows) {
    for (size_t r = 0; r < rows.size(); ++r) {
        const int column = rows[r].column;
        if (column < 0 || column >= ColumnCount()) continue;
        layout.entries[column].position = static_cast<int16_t>(r);
        if (!rows[r].checked) layout.entries[column].width = 0;
    }
}
