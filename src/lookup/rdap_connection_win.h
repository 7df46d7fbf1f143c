#pragma once
// One RDAP conversation: an HTTP GET that asks for JSON, carried out by a
// worker thread over the platform's WinHTTP in its asynchronous mode, with
// redirects followed here, and its outcome posted to the owner window as one
// message. The worker owns every WinHTTP handle it opens: a synchronous call
// cannot be aborted safely from another thread, an asynchronous one is
// abandoned by the worker itself when told to stop.

#include <windows.h>

#include <cstdint>

class RdapConnection {
  public:
    enum Kind { None, Answered, Failed };

    // Answers up to this many bytes are kept; one byte more fails.
    static constexpr int32_t kMaxAnswerBytes = 4194304;
    // Redirects followed in one conversation; the next one fails it.
    static constexpr int kMaxRedirects = 4;
    static constexpr uint32_t kConnectTimeoutMs = 30000;
    static constexpr uint32_t kIdleTimeoutMs = 60000;
    static constexpr uint32_t kTotalTimeoutMs = 120000;

    RdapConnection() = default;
    RdapConnection(const RdapConnection&) = delete;
    RdapConnection& operator=(const RdapConnection&) = delete;
    // Cancels; the worker finishes on its own, touching nothing of this.
    ~RdapConnection();

    // Asks for url (http or https); the outcome arrives as message to owner
    // with wParam = tag. Ends whatever conversation was open, without a
    // report. false when no conversation could start: nothing is posted then.
    // A URL that cannot be asked is a posted failure like any other.
    bool Start(HWND owner, UINT message, WPARAM tag, const char* url);
    // No outcome is posted afterwards, and one posted before is stale.
    void Cancel();
    // Called with the lParam of each outcome message: false for an outcome of
    // a conversation that was cancelled or replaced meanwhile, or taken.
    bool TakeOutcome(LPARAM outcome);

    // The outcome of the current conversation once it has arrived; None and
    // empty texts before.
    Kind ResultKind() const;
    int StatusCode() const;          // of an answer
    const char* StatusLine() const;  // "HTTP/1.1 404 Not Found"
    const char* FinalUrl() const;    // the URL that answered, or failed
    const char* Body() const;        // BodyLength() bytes, NUL-terminated
    int32_t BodyLength() const;
    const char* FailureText() const;  // short, shown as the raw answer

    // Worker threads not yet ended, of every connection.
    static int RunningWorkers();

    uint32_t connectTimeoutMs = kConnectTimeoutMs;  // no connection within this: failed
    uint32_t idleTimeoutMs = kIdleTimeoutMs;        // no byte for this long: failed
    uint32_t totalTimeoutMs = kTotalTimeoutMs;      // not ended after this long: failed

    struct Conversation;

  private:
    // The current conversation once its outcome is in, otherwise null.
    const Conversation* Finished() const;

    Conversation* current = nullptr;
};
