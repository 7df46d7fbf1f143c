#pragma once
// The headless run's side in the program: the main window stays hidden, the
// run's end is waited for on the refresh timer, the rows are written through
// the report driver, and the message loop ends with the exit code.

#include <windows.h>

#include "app/headless_export.h"

class MainWindow;

class HeadlessExport {
  public:
    // True when the command line asks for a headless export.
    bool Configure(const CommandLine& commandLine);
    bool Active() const { return active; }
    // 0 when the file was written, 1 otherwise (also when the run never ended).
    int ExitCode() const { return exitCode; }

    // The lookup run has ended after its last item.
    void RunEnded();
    // On every refresh tick: once the run has ended and the reverse lookups
    // are done (or have had their time), writes the file and closes the
    // window. Returns true when it did so.
    bool Tick(MainWindow& window);

    const HeadlessRequest& Request() const { return request; }

  private:
    bool Write(MainWindow& window);

    HeadlessRequest request;
    HeadlessWait wait;
    bool active = false;
    bool done = false;
    int exitCode = 1;
};
