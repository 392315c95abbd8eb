// Process-wide settings of the built-in SOAP transport: trust, client identity, proxy,
// time-outs and the largest reply it accepts. The settings are one value applied as a whole;
// they may be read and replaced from any thread while others call, and a change applies from
// the next exchange on any thread.
#pragma once

#include <cstddef>

#include "platform/CString.h"
#include "platform/Export.h"

struct XMK_EXPORT WireSettings {
    long connectTimeoutMs = 10 * 1000;        // to set up the TCP (and TLS) connection
    long totalTimeoutMs = 60 * 1000;          // for the whole exchange, connection included
    size_t maxReplyBytes = size_t{64} << 20;  // longer replies are refused
    CString caFile;                           // PEM bundle of trusted CAs; empty: the system's
    CString caPath;      // folder of hashed PEM CA certificates; empty: the system's
    CString clientCert;  // PEM client certificate; empty: none
    CString clientKey;   // PEM key of the client certificate; empty: inside clientCert
    CString proxy;       // proxy URL; empty: libcurl's environment variables apply
    CString noProxy;     // comma-separated hosts that bypass the proxy
};

// The settings in force.
XMK_EXPORT WireSettings GetWireSettings();

// Replaces all settings; a number that is zero or negative takes its default.
XMK_EXPORT void SetWireSettings(const WireSettings& settings);

// Sets both time-outs, in milliseconds, and keeps the other settings; zero or negative
// restores the default.
XMK_EXPORT void SetWebTimeouts(long connectMs, long totalMs);
