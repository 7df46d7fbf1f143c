#include "reports/report_driver.h"

#include <cstring>

#include "reports/html_report_writer.h"
#include "reports/report_environment.h"
#include "reports/text_report_writers.h"
#include "reports/xml_report_writer.h"

namespace {

// The document head and tail of the formats that have them. Only the items'
// writes are checked; a file sink stays failed after a failed write, so its
// owner still learns of a failed head or tail when it closes the file.
void WriteHead(ReportList& list, ByteSink& sink, int format) {
    if (format == FormatHtmlHorizontal || format == FormatHtmlVertical) {
        WriteHtmlHead(list, sink, format, CurrentReportEnvironment());
    } else if (format == FormatXml) {
        WriteXmlHead(list, sink, CurrentReportEnvironment().codePage);
    }
}

void WriteTail(ReportList& list, ByteSink& sink, int format) {
    if (format == FormatHtmlHorizontal || format == FormatHtmlVertical) {
        WriteHtmlTail(list, sink, format, CurrentReportEnvironment());
    } else if (format == FormatXml) {
        WriteXmlTail(list, sink, CurrentReportEnvironment().codePage);
    }
}

}  // namespace

bool WriteText(ByteSink& sink, const char* text) {
    return sink.Write(text, std::strlen(text));
}

int WriteItem(ReportList& list, ByteSink& sink, const ReportItem& item, int format) {
    switch (format) {
        case FormatPlainText:
            return WritePlainItem(list, sink, item);
        case FormatTabbed:
            return WriteTabbedItem(list, sink, item);
        case FormatTabular:
            return WriteTabularItem(list, sink, item);
        case FormatHtmlHorizontal:
            return WriteHorizontalItem(list, sink, item, CurrentReportEnvironment().codePage);
        case FormatHtmlVertical:
            return WriteVerticalItem(list, sink, item, CurrentReportEnvironment().codePage);
        case FormatXml:
            return WriteXmlItem(list, sink, item, CurrentReportEnvironment().codePage);
        default:
            return 0;
    }
}

bool WriteReport(ReportList& list, ByteSink& sink, int format, bool selectedOnly) {
    list.VisibleColumns();
    WriteHead(list, sink, format);
    bool ok = true;
    for (int row = 0; row < list.RowCount(); ++row) {
        if (selectedOnly && !list.IsRowSelected(row)) continue;
        const ReportItem* item = list.ItemOfRow(row);
        if (!item) continue;
        if (!WriteItem(list, sink, *item, format)) {
            ok = false;
            break;
        }
    }
    WriteTail(list, sink, format);
    return ok;
}
