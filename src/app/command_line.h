#pragma once
// The command line as an ordered list of tokens.

#include <string>
#include <vector>

struct Options;

class CommandLine {
  public:
    // Tokenizes the raw text that follows the program name.
    void Build(const char* raw);
    int Count() const { return static_cast<int>(offsets.size()); }
    // Token i, or "" when i is out of range.
    const char* Token(int i) const;
    // Index of the first token equal to name ignoring case, or -1.
    int Find(const char* name) const;
    // The token after the first occurrence of name ("" when there is none).
    const char* ValueOf(const char* name) const;

  private:
    std::vector<char> packed;  // one NUL-terminated string per token
    std::vector<size_t> offsets;
};

// Switches that change the options of this run only: the settings file never
// sees them. "/rdap" asks the registries over RDAP.
void ApplyRunSwitches(const CommandLine& commandLine, Options& options);
