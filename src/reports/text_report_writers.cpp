#include "reports/text_report_writers.h"

#include <cstring>
#include <string>

namespace {

constexpr size_t kNameWidth = 18;  // the names of the plain format are padded to this

// Column texts depend on the format being written; the list shows screen
// texts again once the item is done.
class FormatInProgress {
  public:
    FormatInProgress(ReportList& target, ReportFormat format) : list(target) { list.SetOutputFormat(format); }
    ~FormatInProgress() { list.SetOutputFormat(FormatScreen); }
    FormatInProgress(const FormatInProgress&) = delete;
    FormatInProgress& operator=(const FormatInProgress&) = delete;

  private:
    ReportList& list;
};

bool WriteLine(ByteSink& sink, const std::string& line) {
    return sink.Write(line.data(), line.size());
}

const char kRule[] = "==================================================\r\n";
static_assert(sizeof kRule == 53, "50 \"=\" and CR LF");

}  // namespace

int WritePlainItem(ReportList& list, ByteSink& sink, const ReportItem& item) {
    FormatInProgress format(list, FormatPlainText);
    sink.Write(kRule, sizeof kRule - 1);
    std::string line;
    for (int column : list.ReportColumns()) {
        const char* name = list.Columns()[static_cast<size_t>(column)].header;
        line.assign(name);
        if (line.size() < kNameWidth) line.append(kNameWidth - line.size(), ' ');
        line.append(": ");
        line.append(item.ColumnText(column, list.Scratch(0)));
        line.append("\r\n");
        WriteLine(sink, line);
    }
    sink.Write(kRule, sizeof kRule - 1);
    return sink.Write("\r\n", 2) ? 1 : 0;
}

int WriteTabbedItem(ReportList& list, ByteSink& sink, const ReportItem& item) {
    FormatInProgress format(list, FormatTabbed);
    std::string line;
    for (int column : list.ReportColumns()) {
        line.append(item.ColumnText(column, list.Scratch(0)));
        line.push_back('\t');
    }
    line.append("\r\n");
    return WriteLine(sink, line) ? 1 : 0;
}

int WriteTabularItem(ReportList& list, ByteSink& sink, const ReportItem& item) {
    FormatInProgress format(list, FormatTabular);
    std::string line;
    for (int column : list.ReportColumns()) {
        const int width = list.Columns()[static_cast<size_t>(column)].reportWidth;
        const size_t field = width > 0 ? static_cast<size_t>(width) : 0;
        const char* value = item.ColumnText(column, list.Scratch(0));
        size_t length = 0;
        while (length < field && value[length]) ++length;
        line.append(value, length);
        line.append(field - length, ' ');
    }
    line.append("\r\n");
    return WriteLine(sink, line) ? 1 : 0;
}
