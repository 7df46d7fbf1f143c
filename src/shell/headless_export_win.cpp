#include "shell/headless_export_win.h"

#include <cstring>
#include <vector>

#include "input/address_list.h"
#include "lookup/name_resolver.h"
#include "reports/report_driver.h"
#include "shell/main_window.h"

namespace {

// A report file, written in large blocks.
class FileByteSink : public ByteSink {
  public:
    explicit FileByteSink(const char* path) {
        file_ =
            CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        buffer_.reserve(kBlock);
    }
    ~FileByteSink() override { Close(); }
    FileByteSink(const FileByteSink&) = delete;
    FileByteSink& operator=(const FileByteSink&) = delete;

    bool IsOpen() const { return file_ != INVALID_HANDLE_VALUE; }

    bool Write(const char* bytes, size_t n) override {
        if (!IsOpen()) return false;
        buffer_.insert(buffer_.end(), bytes, bytes + n);
        return buffer_.size() < kBlock || Flush();
    }

    // True when every byte reached the file and it closed cleanly.
    bool Close() {
        if (!IsOpen()) return false;
        const bool flushed = Flush();
        const bool closed = CloseHandle(file_) != FALSE;
        file_ = INVALID_HANDLE_VALUE;
        return flushed && closed && ok_;
    }

  private:
    static constexpr size_t kBlock = 64 * 1024;

    bool Flush() {
        size_t done = 0;
        while (done < buffer_.size()) {
            DWORD written = 0;
            const DWORD chunk = static_cast<DWORD>(buffer_.size() - done);
            if (!WriteFile(file_, buffer_.data() + done, chunk, &written, nullptr) || written == 0) {
                ok_ = false;
                break;
            }
            done += written;
        }
        buffer_.clear();
        return ok_;
    }

    HANDLE file_ = INVALID_HANDLE_VALUE;
    std::vector<char> buffer_;
    bool ok_ = true;
};

}  // namespace

bool HeadlessExport::Configure(const CommandLine& commandLine) {
    active_ = ReadHeadlessRequest(commandLine, &request_);
    return active_;
}

void HeadlessExport::RunEnded() {
    if (active_) wait_.RunEnded(GetTickCount());
}

bool HeadlessExport::Tick(MainWindow& window) {
    if (!active_ || done_) return false;
    if (!wait_.ReadyToWrite(GetTickCount(), window.options->ResolveIPAddr != 0, RunningResolveCount())) {
        return false;
    }
    done_ = true;
    exitCode_ = Write(window) ? 0 : 1;
    PostMessageA(window.hwnd, WM_CLOSE, 0, 0);
    return true;
}

bool HeadlessExport::Write(MainWindow& window) {
    if (request_.path.empty() || !window.addressList) return false;
    AddressList& list = *window.addressList;
    // The rows were sorted before any answer arrived; sort the results.
    list.Sort(list.persistedSort, true);
    FileByteSink sink(request_.path.c_str());
    if (!sink.IsOpen()) return false;
    const bool written = WriteReport(list, sink, request_.format, false);
    return sink.Close() && written;
}
