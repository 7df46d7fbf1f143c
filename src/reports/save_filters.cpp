#include "reports/save_filters.h"

#include "lang/ui_strings.h"
#include "resources/resource_ids.h"

const SaveFilter kReportFilters[6] = {
    {IDS_FILTER_TEXT, "*.txt"},
    {IDS_FILTER_TAB_DELIMITED, "*.txt"},
    {IDS_FILTER_TABULAR, "*.txt"},
    {IDS_FILTER_HTML_HORIZONTAL, "*.htm;*.html"},
    {IDS_FILTER_HTML_VERTICAL, "*.htm;*.html"},
    {IDS_FILTER_XML, "*.xml"},
};

const SaveFilter kWhoisFilters[2] = {
    {IDS_WHOIS_FILTER_TEXT, "*.txt"},
    {IDS_WHOIS_FILTER_ALL, "*.*"},
};

std::string MakeFilterString(const SaveFilter* filters, int count) {
    std::string result;
    for (int i = 0; i < count; ++i) {
        std::string entry = std::string(GetUiString(filters[i].textId)) + " (" + filters[i].pattern + ")";
        entry.push_back('\0');
        entry += filters[i].pattern;
        entry.push_back('\0');
        // Room must stay for the final NUL.
        if (result.size() + entry.size() + 1 > kFilterStringSize) break;
        result += entry;
    }
    result.push_back('\0');
    return result;
}

int ReportFilterIndex(int32_t saved) {
    return saved >= 1 && saved <= 6 ? saved : 1;
}
