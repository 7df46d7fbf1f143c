#include "app/headless_export.h"

#include "app/command_line.h"
#include "views/report_format.h"

bool ReadHeadlessRequest(const CommandLine& commandLine, HeadlessRequest* request) {
    static const struct {
        const char* name;
        int format;
    } kSwitches[] = {{"/savetext", FormatPlainText},
                     {"/savetabbed", FormatTabbed},
                     {"/savetabular", FormatTabular},
                     {"/savehtml", FormatHtmlHorizontal},
                     {"/savehtmlvertical", FormatHtmlVertical},
                     {"/savexml", FormatXml}};

    if (commandLine.Count() < 2) return false;
    if (commandLine.Find("/ip") < 0 && commandLine.Find("/ipfile") < 0) return false;

    int first = -1;
    for (const auto& s : kSwitches) {
        const int at = commandLine.Find(s.name);
        if (at >= 0 && (first < 0 || at < first)) {
            first = at;
            request->format = s.format;
            request->path = commandLine.Token(at + 1);
        }
    }
    return first >= 0;
}

void HeadlessWait::RunEnded(uint32_t nowMs) {
    if (ended) return;
    ended = true;
    endedAt = nowMs;
}

bool HeadlessWait::ReadyToWrite(uint32_t nowMs, bool resolveOn, int running) const {
    if (!ended) return false;
    if (!resolveOn || running <= 0) return true;
    return nowMs - endedAt >= kNamesGraceMs;
}
