// The seam under every remote call: one process-wide transport carries each exchange.
// The built-in transport speaks SOAP 1.1 over HTTP(S); tests and applications may install
// their own. Transports must be thread-safe: calls from several threads at once are allowed.
#pragma once

#include <utility>
#include <vector>

#include "platform/CString.h"
#include "platform/Export.h"

struct XMK_EXPORT WebCall {
    CString url;        // as given to ExcuteOnServer
    CString nameSpace;  // the namespace URI the TWebService was built with
    CString service;    // the interface name the TWebService was built with
    CString method;
    std::vector<std::pair<CString, CString>> arguments;  // name, value, in order
};

class XMK_EXPORT IWebTransport {
  public:
    virtual ~IWebTransport() = default;
    // Carries one exchange. first: the exchange succeeded and second is the reply text;
    // otherwise second is a short text fit to show the user, then the technical detail.
    virtual std::pair<bool, CString> Exchange(const WebCall& call) = 0;
};

// Installs `transport` (not owned) for the whole process and returns the previous
// one; nullptr restores the built-in SOAP-over-HTTP transport.
// REQUIRES: no exchange is in progress on the transport being replaced.
XMK_EXPORT IWebTransport* SetWebTransport(IWebTransport* transport);

// The transport currently installed (never null).
XMK_EXPORT IWebTransport& CurrentWebTransport();
