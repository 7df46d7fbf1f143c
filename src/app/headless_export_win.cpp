#include "app/headless_export_win.h"

#include "input/address_list.h"
#include "lookup/name_resolver.h"
#include "reports/file_sink_win.h"
#include "reports/report_driver.h"
#include "app/main_window.h"

bool HeadlessExport::Configure(const CommandLine& commandLine) {
    active = ReadHeadlessRequest(commandLine, &request);
    return active;
}

void HeadlessExport::RunEnded() {
    if (active) wait.RunEnded(GetTickCount());
}

bool HeadlessExport::Tick(MainWindow& window) {
    if (!active || done) return false;
    if (!wait.ReadyToWrite(GetTickCount(), window.CurrentOptions().ResolveIPAddr != 0, RunningResolveCount())) {
        return false;
    }
    done = true;
    exitCode = Write(window) ? 0 : 1;
    PostMessageA(window.hwnd, WM_CLOSE, 0, 0);
    return true;
}

bool HeadlessExport::Write(MainWindow& window) {
    if (request.path.empty()) return false;
    AddressList& list = window.Addresses();
    // The rows were sorted before any answer arrived; sort the results.
    list.Sort(list.persistedSort, true);
    FileSink sink;
    if (!sink.Open(request.path.c_str())) return false;
    const bool written = WriteReport(list, sink, request.format, false);
    return sink.Close() && written;
}
