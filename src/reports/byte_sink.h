#pragma once
// Where a report's bytes go: a file in the shell, a string in tests.

#include <cstddef>

class ByteSink {
  public:
    virtual ~ByteSink() = default;
    // Writes n bytes; false when the write failed.
    virtual bool Write(const char* bytes, size_t n) = 0;
};
