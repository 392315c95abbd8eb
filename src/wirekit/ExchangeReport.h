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
    CString detail;  // the technical text of a failure (names the host that failed); else empty
    CString url;
    CString method;
    long durationUs = 0;  // from the hand-over to the transport until it returned
};

// The calling thread's last exchange, whichever library call made it; a report of kind none
// with empty texts before the thread's first exchange. Other threads' exchanges never show.
// An installed transport (SetWebTransport) that fails reads as bad_reply, its text as detail.
XMK_EXPORT ExchangeReport LastExchange();

// All an observer sees of one exchange. Every reference is valid only during the call: copy
// what must outlive it.
struct XMK_EXPORT ExchangeEvent {
    const WebCall& call;         // URL, namespace, method and arguments in order
    const std::string& request;  // the bytes posted; empty when an installed transport made it
    const std::string& reply;    // the reply body as far as it was received; empty when none
    const ExchangeReport& report;
};

using ExchangeObserver = std::function<void(const ExchangeEvent& event)>;

// Installs the process-wide observer and returns the previous one; an empty function removes
// it. The library calls the observer once after every exchange, built-in and installed
// transports alike, on the thread that made the exchange, after the thread's LastExchange is
// set and before the library call returns. Calls from several threads may run at once, so
// the observer must be thread-safe. Replacing it while exchanges run is safe: an exchange
// that already took the old observer finishes calling it, and the old one is destroyed after
// its last call. With no observer installed, exchanges copy nothing for it.
// REQUIRES: the observer makes no exchange itself and throws nothing.
XMK_EXPORT ExchangeObserver SetExchangeObserver(ExchangeObserver observer);

// Ends every exchange of the built-in transport in flight, on any thread, at once: each ends
// with kind cancelled and its call's usual failure result ("请求已取消：cancelled"), and its
// connection is closed. Callable from any thread, an observer included. Exchanges that start
// after the call run normally; an installed transport's exchanges are not reached.
XMK_EXPORT void CancelExchanges();
