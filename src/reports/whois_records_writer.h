#pragma once
// The WHOIS records file: the raw answers of the selected rows, each closed
// by a line of asterisks.

#include "input/address_list.h"
#include "reports/byte_sink.h"

// The lines of one raw answer, each followed by CR LF, then an empty line and
// a line of 80 "*".
void WriteWhoisRecord(ByteSink& sink, const char* rawText);

// The answers of the selected rows, from the last row shown up to the first.
void WriteSelectedWhoisRecords(AddressList& list, ByteSink& sink);
