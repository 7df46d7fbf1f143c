#pragma once
// The eighteen columns of the result list, by column id.

#include "views/column_def.h"

enum ResultColumn : int {
    ColumnOrder = 0,
    ColumnIp = 1,
    ColumnStatus = 2,
    ColumnCountry = 3,
    ColumnNetworkName = 4,
    ColumnOwnerName = 5,
    ColumnFromIp = 6,
    ColumnToIp = 7,
    ColumnAllocated = 8,
    ColumnContactName = 9,
    ColumnAddress = 10,
    ColumnEmail = 11,
    ColumnAbuseEmail = 12,
    ColumnPhone = 13,
    ColumnFax = 14,
    ColumnWhoisSource = 15,
    ColumnHostName = 16,
    ColumnResolvedName = 17,
};

constexpr int kResultColumnCount = 18;

// The static column table of the result list, kResultColumnCount rows.
const ColumnRow* ResultColumnRows();
