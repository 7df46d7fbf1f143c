#pragma once
// Sets a list's output format for the time one item is written: column texts
// depend on it, and the list shows screen texts again once the item is done.

#include "views/report_list.h"

class ReportFormatScope {
  public:
    ReportFormatScope(ReportList& target, ReportFormat format) : list(target) { list.SetOutputFormat(format); }
    ~ReportFormatScope() { list.SetOutputFormat(FormatScreen); }
    ReportFormatScope(const ReportFormatScope&) = delete;
    ReportFormatScope& operator=(const ReportFormatScope&) = delete;

  private:
    ReportList& list;
};
