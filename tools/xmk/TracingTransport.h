// TracingTransport: a transport that hands every exchange to the one it wraps, keeps the
// outcome of the last exchange and, when given a stream, prints each request and its reply:
//
//     >> DoWork http://host/UniteInterface.asmx
//        jsonInput = {...}
//     << ok {"ret":1,"msg":"ok","data":"57"}
//
// The wrapped transport must outlive this one. Thread-safe as long as the wrapped transport
// is, though the lines of calls made at once on several threads may interleave.
#pragma once

#include <cstdio>
#include <mutex>
#include <utility>

#include "wirekit/WebTransport.h"

class TracingTransport : public IWebTransport {
  public:
    // `trace` null: nothing is printed, the outcome is only kept.
    explicit TracingTransport(IWebTransport& inner, std::FILE* trace = nullptr);

    std::pair<bool, CString> Exchange(const WebCall& call) override;

    // Whether any exchange went through, and the outcome of the last one.
    bool Called() const;
    std::pair<bool, CString> Last() const;

  private:
    IWebTransport& inner_;
    std::FILE* trace_;
    mutable std::mutex mutex_;
    bool called_ = false;
    std::pair<bool, CString> last_;
};
