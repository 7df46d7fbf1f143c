#pragma once
// The three text formats of the reports, one item at a time. Each writes the
// list's report columns and returns the success of its last write.

#include "reports/byte_sink.h"
#include "views/report_list.h"

// Format 1: a block of "name: value" lines between two lines of "=".
int WritePlainItem(ReportList& list, ByteSink& sink, const ReportItem& item);
// Format 2: the values, each followed by a TAB, on one line.
int WriteTabbedItem(ReportList& list, ByteSink& sink, const ReportItem& item);
// Format 3: the values cut or padded to their report widths, on one line.
int WriteTabularItem(ReportList& list, ByteSink& sink, const ReportItem& item);
