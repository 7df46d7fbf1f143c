#pragma once
// What the HTML and XML writers need to know about the running program: the
// character set and text direction that the language file asks for, and the
// ANSI code page the program's 8-bit texts are in. The shell supplies them;
// without a source the reports are written for a plain single-byte page.

#include <string>

struct ReportEnvironment {
    std::string charset;       // declared in the HTML head; empty for none
    bool rightToLeft = false;  // the body is wrapped in a right-to-left table
    unsigned codePage = 1252;  // ANSI code page of the texts
};

using ReportEnvironmentSource = ReportEnvironment (*)();

// Installs the function asked at every report; null restores the defaults.
void SetReportEnvironmentSource(ReportEnvironmentSource source);

ReportEnvironment CurrentReportEnvironment();
