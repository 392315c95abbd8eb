// Process-wide settings of the built-in SOAP transport: time-outs and the largest reply it
// accepts. Thread-safe; a change applies from the next exchange on any thread.
#pragma once

#include <cstddef>

#include "platform/Export.h"

struct XMK_EXPORT WireSettings {
    long connectTimeoutMs = 10 * 1000;        // to set up the TCP (and TLS) connection
    long totalTimeoutMs = 60 * 1000;          // for the whole exchange, connection included
    size_t maxReplyBytes = size_t{64} << 20;  // longer replies are refused
};

// The settings in force.
XMK_EXPORT WireSettings GetWireSettings();

// Replaces all settings; a field that is zero or negative takes its default.
XMK_EXPORT void SetWireSettings(const WireSettings& settings);

// Sets both time-outs, in milliseconds, and keeps the reply limit; zero or negative restores
// the default.
XMK_EXPORT void SetWebTimeouts(long connectMs, long totalMs);
