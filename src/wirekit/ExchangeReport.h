// What became of each exchange: its failure kind, the last exchange of every thread, one
// process-wide observer (the library's counterpart of curl's debug callback) and the
// cancelling of exchanges in flight. The results and texts the calls themselves return do
// not change; this is the way to learn more about them. Every function here is thread-safe.
#pragma once

#include <functional>
#include <string>

#include "platform/CString.h"
#include "platform/Export.h"
#include "wirekit/WebTransport.h"

// How an exchange ended. Anything but `none` is a failure.
enum class FailureKind {
    none,         // a reply was read (its content may still be judged a failure upstream)
    connect,      // refused, unknown host, unreachable, proxy unreachable, connection lost
    tls,          // the TLS handshake or a certificate failed
    timeout,      // the connect or the whole-exchange time-out fired
    http_status,  // an HTTP status other than 200 that carries no SOAP fault
    soap_fault,   // the server answered with a SOAP fault
    bad_reply,    // the body is not XML, not a SOAP envelope, or carries a DTD
    too_large,    // the reply is longer than the limit
    cancelled,    // CancelExchanges() ended it
};

// The kind's name as spelled above ("none", "connect", ..., "cancelled").
XMK_EXPORT const char* FailureKindName(FailureKind kind);

// One finished exchange.
struct XMK_EXPORT ExchangeReport {
    FailureKind kind = FailureKind::none;
    long httpStatus = 0;  // 0 when no HTTP status was read
    CString
        detail;  // the technical text of a failure (names the host that failed); empty on success
    CString url;
    CString method;
    long durationUs = 0;  // from the hand-over to the transport until it returned
};

// The calling thread's last exchange, whichever library call made it; a report of kind none
// with empty texts before the thread's first exchange. Other threads' exchanges never show.
XMK_EXPORT ExchangeReport LastExchange();

// All an observer sees of one exchange. Every reference is valid only during the call.
struct XMK_EXPORT ExchangeEvent {
    const WebCall& call;         // URL, namespace, method and arguments in order
    const std::string& request;  // the bytes posted; empty when an installed transport made it
    const std::string& reply;    // the reply body as received; empty when none came
    const ExchangeReport& report;
};

using ExchangeObserver = std::function<void(const ExchangeEvent& event)>;

// Installs the process-wide observer and returns the previous one; an empty function removes
// it. The observer is called on the thread that made the exchange, right after it ends and
// before the library call returns, for the built-in and installed transports alike; so it
// must be thread-safe when the application calls from several threads.
// REQUIRES: the observer makes no exchange itself.
XMK_EXPORT ExchangeObserver SetExchangeObserver(ExchangeObserver observer);

// Ends every exchange in flight, on any thread, within 200 ms; each ends with kind cancelled
// and its call's usual failure result. Exchanges started afterwards run normally.
XMK_EXPORT void CancelExchanges();
