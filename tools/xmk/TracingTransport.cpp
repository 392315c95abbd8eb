#include "TracingTransport.h"

namespace {

void PrintText(std::FILE* out, const CString& text) {
    std::fwrite(text.GetString(), 1, static_cast<size_t>(text.GetLength()), out);
}

}  // namespace

TracingTransport::TracingTransport(IWebTransport& inner, std::FILE* trace)
    : inner_(inner), trace_(trace) {}

std::pair<bool, CString> TracingTransport::Exchange(const WebCall& call) {
    if (trace_ != nullptr) {
        std::lock_guard<std::mutex> lock(mutex_);
        std::fprintf(trace_, ">> %s %s\n", call.method.GetString(), call.url.GetString());
        for (const auto& [name, value] : call.arguments) {
            std::fprintf(trace_, "   %s = ", name.GetString());
            PrintText(trace_, value);
            std::fputc('\n', trace_);
        }
        // Shown before a call that may take up to the transport's time-out.
        std::fflush(trace_);
    }
    std::pair<bool, CString> outcome = inner_.Exchange(call);
    std::lock_guard<std::mutex> lock(mutex_);
    called_ = true;
    last_ = outcome;
    if (trace_ != nullptr) {
        std::fputs(outcome.first ? "<< ok" : "<< failed", trace_);
        if (!outcome.second.IsEmpty()) {
            std::fputc(' ', trace_);
            PrintText(trace_, outcome.second);
        }
        std::fputc('\n', trace_);
        std::fflush(trace_);
    }
    return outcome;
}

bool TracingTransport::Called() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return called_;
}

std::pair<bool, CString> TracingTransport::Last() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return last_;
}
