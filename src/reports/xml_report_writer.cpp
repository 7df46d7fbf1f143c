#include "reports/xml_report_writer.h"

#include "reports/html_escape.h"
#include "reports/report_format_scope.h"

namespace {

bool Write(ByteSink& sink, const std::string& text) {
    return sink.Write(text.data(), text.size());
}

// The root element is named after the program's own title, and the columns
// after their own header texts, so that a language file never changes them.
std::string RootName(const ReportList& list, unsigned codePage) {
    return MakeXmlName(list.ReportTitleRaw(), codePage);
}

}  // namespace

std::string MakeXmlName(const char* text, unsigned codePage) {
    std::string name;
    for (const char* p = text; *p;) {
        const int length = CharacterLength(p, codePage);
        if (name.size() + static_cast<size_t>(length) > kXmlNameSize - 1) break;
        if (length == 2) {
            name.append(p, 2);
            p += 2;
            continue;
        }
        char c = *p++;
        if (c == ' ' || c == '\\' || c == '/') {
            c = '_';
        } else if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        name.push_back(c);
    }
    return name;
}

bool WriteXmlHead(ReportList& list, ByteSink& sink, unsigned codePage) {
    return Write(sink, "<?xml version=\"1.0\"  encoding=\"ISO-8859-1\" ?>\r\n<" + RootName(list, codePage) + ">\r\n");
}

bool WriteXmlTail(ReportList& list, ByteSink& sink, unsigned codePage) {
    return Write(sink, "</" + RootName(list, codePage) + ">\r\n");
}

int WriteXmlItem(ReportList& list, ByteSink& sink, const ReportItem& item, unsigned codePage) {
    ReportFormatScope scope(list, FormatXml);
    std::string text = "<item>\r\n";
    for (int column : list.ReportColumns()) {
        const std::string name = MakeXmlName(list.Columns()[static_cast<size_t>(column)].rawHeader, codePage);
        text += "<" + name + ">";
        EscapeHtml(item.ColumnText(column, list.Scratch(0)), text, codePage);
        text += "</" + name + ">\r\n";
    }
    text += "</item>\r\n";
    return Write(sink, text) ? 1 : 0;
}
