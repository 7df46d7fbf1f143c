#pragma once
// What a list's column texts are being produced for. 1 to 6 equal the filter
// index of the save dialog.

#include <cstdint>

enum ReportFormat : int32_t {
    FormatScreen = 0,
    FormatPlainText = 1,
    FormatTabbed = 2,
    FormatTabular = 3,
    FormatHtmlHorizontal = 4,
    FormatHtmlVertical = 5,
    FormatXml = 6,
};
