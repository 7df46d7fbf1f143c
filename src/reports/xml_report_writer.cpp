#include "reports/xml_report_writer.h"

#include <string>

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

std::string XmlEncodingName(unsigned codePage) {
    static const struct {
        unsigned codePage;
        const char* name;
    } kNames[] = {{1252, "ISO-8859-1"}, {936, "GBK"},       {932, "Shift_JIS"},     {949, "EUC-KR"},
                  {950, "Big5"},        {54936, "GB18030"}, {20866, "KOI8-R"},      {21866, "KOI8-U"},
                  {20932, "EUC-JP"},    {51949, "EUC-KR"},  {65001, "UTF-8"},       {437, "IBM437"},
                  {850, "IBM850"},      {866, "IBM866"},    {28603, "ISO-8859-13"}, {28605, "ISO-8859-15"}};
    for (const auto& n : kNames) {
        if (n.codePage == codePage) return n.name;
    }
    if (codePage >= 28591 && codePage <= 28599) return "ISO-8859-" + std::to_string(codePage - 28590);
    // The rest, 874 and 1250 to 1258 among them, go by their Windows names.
    return "windows-" + std::to_string(codePage);
}

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
        // Blanks, slashes and every ASCII character XML forbids in a name
        // become "_": a code page that cannot show the program's Chinese
        // headers turns them into "?", and the document must stay well-formed.
        const bool nameCharacter = (c & 0x80) || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') ||
                                   (c >= 'A' && c <= 'Z') || c == '-' || c == '.' || c == '_' || c == ':';
        if (!nameCharacter) {
            c = '_';
        } else if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        name.push_back(c);
    }
    return name;
}

bool WriteXmlHead(ReportList& list, ByteSink& sink, unsigned codePage) {
    return Write(sink, "<?xml version=\"1.0\"  encoding=\"" + XmlEncodingName(codePage) + "\" ?>\r\n<" +
                           RootName(list, codePage) + ">\r\n");
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
        EscapeXml(item.ColumnText(column, list.Scratch(0)), text, codePage);
        text += "</" + name + ">\r\n";
    }
    text += "</item>\r\n";
    return Write(sink, text) ? 1 : 0;
}
