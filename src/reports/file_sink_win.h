#pragma once
// A report file: created for writing (others may read, an existing file is
// replaced) and written in large blocks. The first failing write makes the
// sink fail for good and keeps that write's error code.

#include <windows.h>

#include <vector>

#include "reports/byte_sink.h"

class FileSink : public ByteSink {
  public:
    FileSink() = default;
    ~FileSink() override;
    FileSink(const FileSink&) = delete;
    FileSink& operator=(const FileSink&) = delete;

    // Creates the file; false (with Error() set) when it cannot be created.
    bool Open(const char* path);
    bool IsOpen() const { return file != INVALID_HANDLE_VALUE; }

    bool Write(const char* bytes, size_t n) override;
    // Writes what is buffered and closes the file; true when every byte
    // reached the file.
    bool Close();

    bool Failed() const { return error != 0; }
    // The system error code of the first failure; 0 when none.
    DWORD Error() const { return error; }

    // Bytes held before they are written.
    static constexpr size_t kBlockSize = 64 * 1024;

  private:
    bool Flush();
    bool WriteAll(const char* bytes, size_t n);
    void Fail(DWORD code);

    HANDLE file = INVALID_HANDLE_VALUE;
    std::vector<char> buffer;
    DWORD error = 0;
};
