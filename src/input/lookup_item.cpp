#include "input/lookup_item.h"

#include <cstdio>
#include <cstring>

#include "base/address_helpers.h"
#include "lang/ui_strings.h"
#include "resources/resource_ids.h"
#include "views/report_format.h"
#include "views/report_list.h"
#include "views/result_columns.h"

namespace {

// The HTML reports show a postal address one comma-separated piece a line.
const char* AddressLines(const char* address, char* buffer) {
    char piece[1024];
    int position = 0;
    size_t used = 0;
    while (NextToken(piece, sizeof piece, address, ",", &position)) {
        const size_t length = std::strlen(piece);
        if (used + length + 3 > static_cast<size_t>(kTextBufferSize)) break;
        std::memcpy(buffer + used, piece, length);
        used += length;
        buffer[used++] = '\r';
        buffer[used++] = '\n';
    }
    buffer[used] = '\0';
    return buffer;
}

}  // namespace

LookupItem::LookupItem() {
    ClearRecord(&record);
}

const char* LookupItem::ColumnText(int column, char* buffer) const {
    buffer[0] = '\0';
    switch (column) {
        case ColumnOrder:
            std::snprintf(buffer, kTextBufferSize, "%d", order);
            return buffer;
        case ColumnIp:
            FormatDottedQuad(ip, buffer);
            return buffer;
        case ColumnStatus: {
            const int32_t value = static_cast<int32_t>(status);
            return value >= 1 && value <= 6 ? GetUiString(IDS_STATUS_BASE + static_cast<uint32_t>(value)) : buffer;
        }
        case ColumnCountry:
            return record.country;
        case ColumnNetworkName:
            return record.networkName;
        case ColumnOwnerName:
            return record.ownerName;
        case ColumnFromIp:
            if (record.fromIp) FormatDottedQuad(record.fromIp, buffer);
            return buffer;
        case ColumnToIp:
            if (record.toIp) FormatDottedQuad(record.toIp, buffer);
            return buffer;
        case ColumnAllocated:
            return GetUiString(record.allocated == 1 ? IDS_NOT_ALLOCATED : IDS_ALLOCATED);
        case ColumnContactName:
            return record.contactName;
        case ColumnAddress: {
            const int format = owner ? owner->OutputFormat() : FormatScreen;
            if (format == FormatHtmlHorizontal || format == FormatHtmlVertical) {
                return AddressLines(record.address, buffer);
            }
            return record.address;
        }
        case ColumnEmail:
            return record.email;
        case ColumnAbuseEmail:
            return record.abuseEmail;
        case ColumnPhone:
            return record.phone;
        case ColumnFax:
            return record.fax;
        case ColumnWhoisSource: {
            const int32_t source = record.whoisSource;
            return source >= 1 && source <= 5 ? GetUiString(IDS_REGISTRY_BASE + static_cast<uint32_t>(source)) : buffer;
        }
        case ColumnHostName:
            return hostName;
        case ColumnResolvedName:
            return resolvedName;
        default:
            return buffer;
    }
}

int LookupItem::Compare(int column, const ReportItem& other) const {
    if (column != ColumnOrder) return kCompareAsText;
    const int32_t theirs = static_cast<const LookupItem&>(other).order;
    return order > theirs ? 1 : order < theirs ? -1 : 0;
}

void LookupItem::ReleaseText() {
    rawText.reset();
}

bool IsSameAddress(const LookupItem& a, const LookupItem& b) {
    return a.ip == b.ip;
}

void CopyName(char* member, const char* name) {
    size_t length = name ? std::strlen(name) : 0;
    if (length > static_cast<size_t>(kMaxNameLength)) length = kMaxNameLength;
    if (length) std::memcpy(member, name, length);
    member[length] = '\0';
}
