#pragma once
// Helpers shared by the tests of the address list, the result list and the
// reports.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fake_report_view.h"
#include "input/address_helpers.h"
#include "input/address_list.h"

inline uint32_t Ip(const char* text) {
    uint32_t ip = 0;
    EXPECT_EQ(ParseDottedQuad(text, &ip, 0), 1) << text;
    return ip;
}

inline std::string Dotted(uint32_t ip) {
    char buffer[16];
    FormatDottedQuad(ip, buffer);
    return buffer;
}

// The addresses of the list in storage order.
inline std::vector<std::string> Addresses(const AddressList& list) {
    std::vector<std::string> out;
    for (int i = 0; i < list.ItemCount(); ++i) out.push_back(Dotted(list.At(i)->ip));
    return out;
}

// Every row shows exactly its item's texts and icon.
inline void ExpectRowsShowItems(AddressList& list, const FakeReportView& view) {
    ASSERT_EQ(static_cast<int>(view.rows.size()), list.ItemCount());
    char buffer[kTextBufferSize];
    for (size_t row = 0; row < view.rows.size(); ++row) {
        const LookupItem* item = list.At(view.rows[row].param);
        ASSERT_NE(item, nullptr);
        for (int column = 0; column < list.ColumnCount(); ++column) {
            EXPECT_EQ(view.rows[row].texts[static_cast<size_t>(column)], item->ColumnText(column, buffer))
                << "row " << row << " column " << column;
        }
        EXPECT_EQ(view.rows[row].image, list.ItemImage(*item)) << "row " << row;
    }
}
