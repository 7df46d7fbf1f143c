#pragma once
// The report driver: writes the rows of a report list, in the order shown,
// in one of the six report formats.

#include "reports/byte_sink.h"
#include "views/report_list.h"

// Writes every row, or only the selected ones, into sink: the document head
// where the format has one, one item per row, the tail. Returns false when an
// item could not be written (the tail is still written).
bool WriteReport(ReportList& list, ByteSink& sink, int format, bool selectedOnly);

// Writes one item with the report columns of the last VisibleColumns; returns
// the success of the item's last write, 0 for a format without a writer.
int WriteItem(ReportList& list, ByteSink& sink, const ReportItem& item, int format);

// Writes a NUL-terminated text without its terminator.
bool WriteText(ByteSink& sink, const char* text);
