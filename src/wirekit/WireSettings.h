// Process-wide settings of the built-in SOAP transport: trust, client identity, proxy,
// time-outs and the largest reply it accepts. The settings are one value applied as a whole;
// they may be read and replaced from any thread while others call, and a change applies from
// the next exchange on any thread. The library never reads them from a file or the
// environment by itself: the application, the configuration store or the xmk tool sets them.
#pragma once

#include <cstddef>

#include "platform/CString.h"
#include "platform/Export.h"

// Each empty text leaves libcurl's built-in default in force for that one setting. Trust
// settings do not come from SSL_CERT_FILE, SSL_CERT_DIR or CURL_CA_BUNDLE: like libcurl and
// unlike curl's command-line tool, the library leaves reading those to the program (the xmk
// tool honours them), so that an application's trust never changes behind its back.
struct XMK_EXPORT WireSettings {
    long connectTimeoutMs = 10 * 1000;        // to set up the TCP (and TLS) connection
    long totalTimeoutMs = 60 * 1000;          // for the whole exchange, connection included
    size_t maxReplyBytes = size_t{64} << 20;  // longer replies are refused
    CString caFile;      // PEM bundle of trusted CAs, replacing the system's bundle file
    CString caPath;      // folder of hashed PEM CA certificates, replacing the system's folder
    CString clientCert;  // PEM client certificate; empty: none
    CString clientKey;   // PEM key of the client certificate; empty: inside clientCert
    // Proxy URL ("http://host:port"). When set it wins over the environment: libcurl's
    // http_proxy, https_proxy, all_proxy and no_proxy are then not read, and only `noProxy`
    // exempts hosts. When empty, those environment variables apply as libcurl reads them.
    CString proxy;
    // Comma-separated hosts, domains or addresses that bypass the proxy ("*": all). When set
    // it replaces the environment's no_proxy, with or without `proxy`.
    CString noProxy;
};

// The settings in force.
XMK_EXPORT WireSettings GetWireSettings();

// Replaces all settings; a number that is zero or negative takes its default.
XMK_EXPORT void SetWireSettings(const WireSettings& settings);

// Sets both time-outs, in milliseconds, and keeps the other settings; zero or negative
// restores the default.
XMK_EXPORT void SetWebTimeouts(long connectMs, long totalMs);
