#pragma once
// The HTML reports (HTML 3.2): format 4 lays the rows out as one table with a
// column per report column, format 5 as one two-column table per row.

#include <cstdint>
#include <string>

#include "reports/byte_sink.h"
#include "reports/report_environment.h"
#include "views/report_list.h"

// The maker's home page, linked from the line that names the program.
extern const char kHomePageUrl[];

// Six upper-case hex digits, red green blue, of a colour with red in the low
// byte.
std::string HtmlColor(uint32_t color);

// The cell background of report position `position`: a gradient through the
// list's cell colours, spread over the list's whole column table.
std::string GetCellStyle(const ReportList& list, int format, int position, const ReportItem& item);

// The cell text of a column: the value for the format in progress, escaped,
// decorated by the list, "&nbsp;" added when it is empty or begins with a
// blank. The caller has set the list's output format.
std::string HtmlCellText(const ReportList& list, const ReportItem& item, int column, unsigned codePage);

// Document head, title and creator line; format 4 adds the table start and
// the header row. Returns the success of the write.
bool WriteHtmlHead(ReportList& list, ByteSink& sink, int format, const ReportEnvironment& environment);
// One item; each returns the success of its last write.
int WriteHorizontalItem(ReportList& list, ByteSink& sink, const ReportItem& item, unsigned codePage);
int WriteVerticalItem(ReportList& list, ByteSink& sink, const ReportItem& item, unsigned codePage);
bool WriteHtmlTail(ReportList& list, ByteSink& sink, int format, const ReportEnvironment& environment);
