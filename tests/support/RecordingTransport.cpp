#include "support/RecordingTransport.h"

RecordingTransport::RecordingTransport() { previous_ = SetWebTransport(this); }

RecordingTransport::~RecordingTransport() { SetWebTransport(previous_); }

void RecordingTransport::QueueReply(bool ok, const CString& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    queued_.emplace_back(ok, text);
}

void RecordingTransport::SetDefaultReply(bool ok, const CString& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    default_ = Reply(ok, text);
}

void RecordingTransport::SetResponder(std::function<Reply(const WebCall&)> responder) {
    std::lock_guard<std::mutex> lock(mutex_);
    responder_ = std::move(responder);
}

std::vector<WebCall> RecordingTransport::Calls() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return calls_;
}

size_t RecordingTransport::CallCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return calls_.size();
}

void RecordingTransport::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    calls_.clear();
    queued_.clear();
}

std::pair<bool, CString> RecordingTransport::Exchange(const WebCall& call) {
    std::function<Reply(const WebCall&)> responder;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        calls_.push_back(call);
        if (!responder_) {
            if (queued_.empty()) return default_;
            Reply reply = queued_.front();
            queued_.pop_front();
            return reply;
        }
        responder = responder_;
    }
    return responder(call);
}
