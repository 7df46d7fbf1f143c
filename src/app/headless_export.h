#pragma once
// Headless export for scripts: "/savetext FILE", "/savetabbed FILE" or
// "/savetabular FILE" together with "/ip" or "/ipfile" runs the lookups with
// the main window hidden, writes every row to FILE when the run has ended
// and exits with 0 when the file was written, 1 otherwise.

#include <cstdint>
#include <string>

class CommandLine;

struct HeadlessRequest {
    int format = 0;    // ReportFormat 1 to 3
    std::string path;  // the switch's value ("" when it is the last token)
};

// The export the command line asks for. False when it names none of the
// switches, or when neither "/ip" nor "/ipfile" takes effect (they need at
// least two tokens): the program then starts as usual. With several export
// switches, the first on the command line counts.
bool ReadHeadlessRequest(const CommandLine& commandLine, HeadlessRequest* request);

// When the export may be written: once the run has ended and no reverse
// lookup is running any more, or when they have had their time.
class HeadlessWait {
  public:
    static constexpr uint32_t kNamesGraceMs = 30000;

    void RunEnded(uint32_t nowMs);
    bool Ended() const { return ended; }
    // resolveOn: ResolveIPAddr; running: reverse lookups not finished yet.
    bool ReadyToWrite(uint32_t nowMs, bool resolveOn, int running) const;

  private:
    bool ended = false;
    uint32_t endedAt = 0;
};
