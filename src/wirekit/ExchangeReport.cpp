#include "wirekit/ExchangeReport.h"

#include <atomic>
#include <chrono>
#include <iterator>
#include <memory>
#include <mutex>

#include "wirekit/SoapTransport.h"
#include "wirekit/detail/ExchangeNote.h"

namespace {

constexpr const char* kKindNames[] = {"none",      "connect",     "tls",
                                      "timeout",   "http_status", "soap_fault",
                                      "bad_reply", "too_large",   "cancelled"};

thread_local ExchangeReport lastExchange;
thread_local ExchangeNote threadNote;

// Exchanges test the flag alone; only when an observer is installed do they take the lock,
// for a counted reference that keeps the observer alive while it runs even if it is replaced.
std::atomic<bool> observerInstalled{false};
std::mutex observerMutex;
std::shared_ptr<const ExchangeObserver> observer;

std::shared_ptr<const ExchangeObserver> CurrentObserver() {
    if (!observerInstalled.load(std::memory_order_acquire)) return nullptr;
    std::lock_guard<std::mutex> lock(observerMutex);
    return observer;
}

const std::string& OrEmpty(const std::string* bytes) {
    static const std::string empty;
    return bytes != nullptr ? *bytes : empty;
}

}  // namespace

const char* FailureKindName(FailureKind kind) {
    const auto index = static_cast<size_t>(kind);
    return index < std::size(kKindNames) ? kKindNames[index] : "unknown";
}

ExchangeReport LastExchange() { return lastExchange; }

ExchangeObserver SetExchangeObserver(ExchangeObserver replacement) {
    auto next =
        replacement ? std::make_shared<const ExchangeObserver>(std::move(replacement)) : nullptr;
    std::shared_ptr<const ExchangeObserver> previous;
    {
        std::lock_guard<std::mutex> lock(observerMutex);
        previous = std::move(observer);
        observer = std::move(next);
        observerInstalled.store(observer != nullptr, std::memory_order_release);
    }
    return previous ? *previous : ExchangeObserver();
}

void CancelExchanges() { CancelSoapExchanges(); }

ExchangeNote& ThreadExchangeNote() { return threadNote; }

std::pair<bool, CString> RunExchange(const WebCall& call) {
    ExchangeNote& note = threadNote;
    note.filled = false;
    note.kind = FailureKind::none;
    note.httpStatus = 0;
    note.detail.clear();
    note.request = nullptr;
    note.reply = nullptr;
    const auto start = std::chrono::steady_clock::now();
    std::pair<bool, CString> outcome = CurrentWebTransport().Exchange(call);
    const auto elapsed = std::chrono::steady_clock::now() - start;

    // Filled in place: the thread's report keeps its buffers from one exchange to the next.
    ExchangeReport& report = lastExchange;
    report.url = call.url;
    report.method = call.method;
    report.durationUs =
        static_cast<long>(std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count());
    report.kind = note.kind;
    report.httpStatus = note.httpStatus;
    if (note.filled) {
        report.detail = CString(note.detail);
    } else if (!outcome.first) {
        // An installed transport that failed without saying how: its reply was not usable.
        report.kind = FailureKind::bad_reply;
        report.detail = outcome.second;
    } else {
        report.detail.Empty();
    }

    if (std::shared_ptr<const ExchangeObserver> current = CurrentObserver()) {
        (*current)(ExchangeEvent{call, OrEmpty(note.request), OrEmpty(note.reply), report});
    }
    return outcome;
}
