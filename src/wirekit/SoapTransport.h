// The built-in transport: SOAP 1.1 over HTTP(S). Thread-safe.
#pragma once

#include "platform/Export.h"
#include "wirekit/WebTransport.h"

// The process-wide built-in transport.
XMK_EXPORT IWebTransport& BuiltInSoapTransport();
