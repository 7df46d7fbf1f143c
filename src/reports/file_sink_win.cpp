#include "reports/file_sink_win.h"

FileSink::~FileSink() {
    Close();
}

void FileSink::Fail(DWORD code) {
    // A failure without a code still has to read as a failure.
    if (error == 0) error = code ? code : ERROR_WRITE_FAULT;
}

bool FileSink::Open(const char* path) {
    Close();
    error = 0;
    buffer.clear();
    if (!path || !*path) {
        Fail(ERROR_PATH_NOT_FOUND);
        return false;
    }
    file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        Fail(GetLastError());
        return false;
    }
    buffer.reserve(kBlockSize);
    return true;
}

bool FileSink::WriteAll(const char* bytes, size_t n) {
    size_t done = 0;
    while (!Failed() && done < n) {
        DWORD written = 0;
        const size_t left = n - done;
        const DWORD chunk = static_cast<DWORD>(left < kBlockSize ? left : kBlockSize);
        if (!WriteFile(file, bytes + done, chunk, &written, nullptr)) {
            Fail(GetLastError());
        } else if (written == 0) {
            Fail(ERROR_WRITE_FAULT);
        }
        done += written;
    }
    return !Failed();
}

bool FileSink::Flush() {
    const bool ok = WriteAll(buffer.data(), buffer.size());
    buffer.clear();
    return ok;
}

bool FileSink::Write(const char* bytes, size_t n) {
    if (!IsOpen()) Fail(ERROR_INVALID_HANDLE);
    if (Failed()) return false;
    if (buffer.size() + n > kBlockSize && !Flush()) return false;
    // A block this large goes straight to the file.
    if (n >= kBlockSize) return WriteAll(bytes, n);
    buffer.insert(buffer.end(), bytes, bytes + n);
    return true;
}

bool FileSink::Close() {
    if (!IsOpen()) return !Failed();
    Flush();
    if (!CloseHandle(file)) Fail(GetLastError());
    file = INVALID_HANDLE_VALUE;
    return !Failed();
}
