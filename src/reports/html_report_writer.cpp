#include "reports/html_report_writer.h"

#include <cstdio>
#include <cstring>

#include "lang/ui_strings.h"
#include "reports/html_escape.h"
#include "reports/report_format_scope.h"
#include "resources/resource_ids.h"

const char kHomePageUrl[] = "http://www.velmora.example/";

namespace {

const char kProductName[] = "Ownerlens";
const char kTableStart[] = "<table border=\"1\" cellpadding=\"5\">";

bool Write(ByteSink& sink, const std::string& text) {
    return sink.Write(text.data(), text.size());
}

// ` bgcolor="E0E0E0"`: the header cells' attribute, without the "#" the data
// cells have.
std::string HeaderBackground(const ReportList& list) {
    return " bgcolor=\"" + HtmlColor(list.HeaderBackColor()) + "\"";
}

int ColorComponent(uint32_t color, int shift) {
    return static_cast<int>((color >> shift) & 0xFF);
}

}  // namespace

std::string HtmlColor(uint32_t color) {
    char text[8];
    std::snprintf(text, sizeof text, "%2.2X%2.2X%2.2X", ColorComponent(color, 0), ColorComponent(color, 8),
                  ColorComponent(color, 16));
    return text;
}

std::string GetCellStyle(const ReportList& list, int format, int position, const ReportItem&) {
    int n = 0;
    const uint32_t* colors = list.CellColors(format, &n);
    if (!colors || n <= 0) return HtmlColor(0xFFFFFF);
    if (n == 1) return HtmlColor(colors[0]);

    // The gradient spans the whole column table, so a hidden column shifts
    // the colours of the columns right of it.
    const int last = list.ColumnCount() - 1;
    const double t = last > 0 ? static_cast<double>(position) / last : 0.0;
    int k = static_cast<int>((n - 1) * t);
    if (k > n - 2) k = n - 2;
    if (k < 0) k = 0;
    const double f = (t - static_cast<double>(k) / (n - 1)) * (n - 1);
    uint32_t color = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int c0 = ColorComponent(colors[k], shift);
        const int c1 = ColorComponent(colors[k + 1], shift);
        int c = static_cast<int>((c1 - c0) * f + c0);
        c = c < 0 ? 0 : (c > 255 ? 255 : c);
        color |= static_cast<uint32_t>(c) << shift;
    }
    return HtmlColor(color);
}

std::string HtmlCellText(const ReportList& list, const ReportItem& item, int column, unsigned codePage) {
    std::string cell;
    EscapeHtml(item.ColumnText(column, list.Scratch(0)), cell, codePage);
    list.DecorateCell(cell, item, column);
    if (cell.empty() || cell[0] == ' ') cell.append("&nbsp;");
    return cell;
}

bool WriteHtmlHead(ReportList& list, ByteSink& sink, int format, const ReportEnvironment& environment) {
    const char* title = list.ReportTitle();
    std::string head = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">\r\n<html><head>";
    if (!environment.charset.empty()) {
        head += "<meta http-equiv='content-type' content='text/html;charset=" + environment.charset + "'>";
    }
    head += std::string("<title>") + title + "</title></head>\r\n<body>\r\n";
    if (environment.rightToLeft) head += "<table dir=\"rtl\"><tr><td>\r\n";
    head += std::string(" <h3>") + title + "</h3>\r\n";
    head += std::string("<br><h4>") + GetUiString(IDS_CREATED_BY) + " <a href=\"" + kHomePageUrl +
            "\" target=\"newwin\">" + kProductName + "</a></h4><p>";
    if (format == FormatHtmlHorizontal) {
        head += std::string(kTableStart) + "<tr" + HeaderBackground(list) + ">\r\n";
        // The header texts have no font tags: the list has no header text colour.
        for (int column : list.ReportColumns()) {
            head += std::string("<th>") + list.Columns()[static_cast<size_t>(column)].header + "\r\n";
        }
    }
    return Write(sink, head);
}

int WriteHorizontalItem(ReportList& list, ByteSink& sink, const ReportItem& item, unsigned codePage) {
    ReportFormatScope scope(list, FormatHtmlHorizontal);
    std::string line = "<tr>";
    int position = 0;
    for (int column : list.ReportColumns()) {
        const ColumnDef& def = list.Columns()[static_cast<size_t>(column)];
        line += "<td bgcolor=#" + GetCellStyle(list, FormatHtmlHorizontal, position++, item);
        line += def.noWrap ? " nowrap>" : ">";
        line += HtmlCellText(list, item, column, codePage);
    }
    line += "\r\n";
    return Write(sink, line) ? 1 : 0;
}

int WriteVerticalItem(ReportList& list, ByteSink& sink, const ReportItem& item, unsigned codePage) {
    ReportFormatScope scope(list, FormatHtmlVertical);
    const std::string headerBackground = HeaderBackground(list);
    std::string table = std::string(kTableStart) + "\r\n";
    int position = 0;
    for (int column : list.ReportColumns()) {
        const ColumnDef& def = list.Columns()[static_cast<size_t>(column)];
        const char* noWrap = def.noWrap ? " nowrap" : "";
        table += "<tr><td" + headerBackground + " nowrap><b>" + def.header + "</b><td bgcolor=#" +
                 GetCellStyle(list, FormatHtmlVertical, position++, item) + noWrap + ">" +
                 HtmlCellText(list, item, column, codePage) + "\r\n";
    }
    table += "</table><p>\r\n";
    return Write(sink, table) ? 1 : 0;
}

bool WriteHtmlTail(ReportList&, ByteSink& sink, int format, const ReportEnvironment& environment) {
    std::string tail;
    if (format == FormatHtmlHorizontal) tail += "</table>\r\n";
    if (environment.rightToLeft) tail += "</table>";
    tail += "\r\n</body></html>";
    return Write(sink, tail);
}
