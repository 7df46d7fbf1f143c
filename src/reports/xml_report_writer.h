#pragma once
// The XML export (format 6): a root element named after the report title,
// one "item" element per row and one element per report column in it.

#include <string>

#include "reports/byte_sink.h"
#include "views/report_list.h"

// Capacity of an element name, terminator included.
constexpr size_t kXmlNameSize = 255;

// An element name from a text: blanks, backslashes, slashes and every other
// ASCII character not allowed in an XML name ("?", "<", ...) become "_",
// A to Z become lower case; two-byte characters of the code page are kept
// whole. At most kXmlNameSize - 1 bytes are kept.
std::string MakeXmlName(const char* text, unsigned codePage);

// The encoding the declaration names for the bytes of a code page: its
// registered name, "ISO-8859-1" for 1252 as the export always said, and
// "windows-<n>" for a code page without a better known name.
std::string XmlEncodingName(unsigned codePage);

// The declaration and the root start tag; the root end tag.
bool WriteXmlHead(ReportList& list, ByteSink& sink, unsigned codePage);
bool WriteXmlTail(ReportList& list, ByteSink& sink, unsigned codePage);
// One item; returns the success of its write.
int WriteXmlItem(ReportList& list, ByteSink& sink, const ReportItem& item, unsigned codePage);
