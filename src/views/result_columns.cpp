#include "views/result_columns.h"

#include "resources/resource_ids.h"

namespace {

// Header string ids, default widths in pixels, report widths in characters.
const ColumnRow kRows[kResultColumnCount] = {
    {IDS_COLUMN_ORDER, 50, 5},          {IDS_COLUMN_IP, 100, 16},          {IDS_COLUMN_STATUS, 80, 20},
    {IDS_COLUMN_COUNTRY, 100, 20},      {IDS_COLUMN_NETWORK_NAME, 80, 30}, {IDS_COLUMN_OWNER_NAME, 150, 30},
    {IDS_COLUMN_FROM_IP, 100, 16},      {IDS_COLUMN_TO_IP, 100, 16},       {IDS_COLUMN_ALLOCATED, 80, 10},
    {IDS_COLUMN_CONTACT_NAME, 140, 50}, {IDS_COLUMN_ADDRESS, 250, 50},     {IDS_COLUMN_EMAIL, 130, 40},
    {IDS_COLUMN_ABUSE_EMAIL, 130, 40},  {IDS_COLUMN_PHONE, 150, 25},       {IDS_COLUMN_FAX, 150, 25},
    {IDS_COLUMN_WHOIS_SOURCE, 120, 30}, {IDS_COLUMN_HOST_NAME, 120, 50},   {IDS_COLUMN_RESOLVED_NAME, 150, 50},
};

}  // namespace

const ColumnRow* ResultColumnRows() {
    return kRows;
}
