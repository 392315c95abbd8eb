#include "wirekit/ExchangeReport.h"

#include <chrono>
#include <iterator>
#include <mutex>

#include "wirekit/detail/ExchangeNote.h"

namespace {

constexpr const char* kKindNames[] = {"none",      "connect",     "tls",
                                      "timeout",   "http_status", "soap_fault",
                                      "bad_reply", "too_large",   "cancelled"};

thread_local ExchangeReport lastExchange;
thread_local ExchangeNote threadNote;

std::mutex observerMutex;
ExchangeObserver observer;

}  // namespace

const char* FailureKindName(FailureKind kind) {
    const auto index = static_cast<size_t>(kind);
    return index < std::size(kKindNames) ? kKindNames[index] : "unknown";
}

ExchangeReport LastExchange() { return lastExchange; }

ExchangeObserver SetExchangeObserver(ExchangeObserver replacement) {
    std::lock_guard<std::mutex> lock(observerMutex);
    std::swap(observer, replacement);
    return replacement;
}

void CancelExchanges() {}

ExchangeNote& ThreadExchangeNote() { return threadNote; }

std::pair<bool, CString> RunExchange(const WebCall& call) {
    threadNote = ExchangeNote();
    const auto start = std::chrono::steady_clock::now();
    std::pair<bool, CString> outcome = CurrentWebTransport().Exchange(call);
    const auto elapsed = std::chrono::steady_clock::now() - start;

    ExchangeReport report;
    report.url = call.url;
    report.method = call.method;
    report.durationUs =
        static_cast<long>(std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count());
    if (threadNote.filled) {
        report.kind = threadNote.kind;
        report.httpStatus = threadNote.httpStatus;
        report.detail = CString(threadNote.detail);
    } else if (!outcome.first) {
        // An installed transport that failed without saying how: its reply was not usable.
        report.kind = FailureKind::bad_reply;
        report.detail = outcome.second;
    }
    lastExchange = report;

    ExchangeObserver current;
    {
        std::lock_guard<std::mutex> lock(observerMutex);
        current = observer;
    }
    if (current) current(ExchangeEvent{call, threadNote.request, threadNote.reply, report});
    return outcome;
}
