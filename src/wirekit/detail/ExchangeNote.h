// The hand-over between a transport and the one place that reports exchanges. The built-in
// transport fills the calling thread's note while it works; RunExchange reads it afterwards to
// build the thread's last-exchange report and to call the observer.
#pragma once

#include <string>
#include <utility>

#include "platform/CString.h"
#include "wirekit/ExchangeReport.h"
#include "wirekit/WebTransport.h"

struct ExchangeNote {
    bool filled = false;  // false: the transport said nothing (an installed transport)
    FailureKind kind = FailureKind::none;
    long httpStatus = 0;
    std::string detail;
    // The bytes posted and the reply body, in the transport's own per-thread buffers: valid
    // until the thread's next exchange, and never copied for the report. Null: none.
    const std::string* request = nullptr;
    const std::string* reply = nullptr;
};

// The calling thread's note; RunExchange clears it before every exchange.
ExchangeNote& ThreadExchangeNote();

// Every exchange of the library goes through here: hands `call` to the installed transport,
// then records the thread's last exchange and tells the observer.
std::pair<bool, CString> RunExchange(const WebCall& call);
