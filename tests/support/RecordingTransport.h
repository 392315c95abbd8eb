// A transport that records every call and answers from a script. Installs itself on
// construction and restores the previous transport on destruction. Thread-safe.
#pragma once

#include <deque>
#include <functional>
#include <mutex>
#include <utility>
#include <vector>

#include "wirekit/WebTransport.h"

class RecordingTransport : public IWebTransport {
  public:
    using Reply = std::pair<bool, CString>;

    RecordingTransport();
    ~RecordingTransport() override;
    RecordingTransport(const RecordingTransport&) = delete;
    RecordingTransport& operator=(const RecordingTransport&) = delete;

    // Queues the reply of the next call; calls beyond the queue get the default reply.
    void QueueReply(bool ok, const CString& text);
    // The reply of calls with nothing queued; (true, "") unless set.
    void SetDefaultReply(bool ok, const CString& text);
    // Answers every call with `responder` instead of the queue.
    void SetResponder(std::function<Reply(const WebCall&)> responder);

    std::vector<WebCall> Calls() const;
    size_t CallCount() const;
    void Clear();

    std::pair<bool, CString> Exchange(const WebCall& call) override;

  private:
    mutable std::mutex mutex_;
    std::vector<WebCall> calls_;
    std::deque<Reply> queued_;
    Reply default_{true, CString()};
    std::function<Reply(const WebCall&)> responder_;
    IWebTransport* previous_;
};
