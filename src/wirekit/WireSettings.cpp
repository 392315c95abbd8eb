#include "wirekit/WireSettings.h"

#include <atomic>

namespace {

constexpr WireSettings kDefaults{};

std::atomic<long> connectTimeoutMs{kDefaults.connectTimeoutMs};
std::atomic<long> totalTimeoutMs{kDefaults.totalTimeoutMs};
std::atomic<size_t> maxReplyBytes{kDefaults.maxReplyBytes};

long OrDefault(long value, long fallback) { return value > 0 ? value : fallback; }

}  // namespace

WireSettings GetWireSettings() {
    WireSettings settings;
    settings.connectTimeoutMs = connectTimeoutMs.load();
    settings.totalTimeoutMs = totalTimeoutMs.load();
    settings.maxReplyBytes = maxReplyBytes.load();
    return settings;
}

void SetWireSettings(const WireSettings& settings) {
    SetWebTimeouts(settings.connectTimeoutMs, settings.totalTimeoutMs);
    maxReplyBytes = settings.maxReplyBytes > 0 ? settings.maxReplyBytes : kDefaults.maxReplyBytes;
}

void SetWebTimeouts(long connectMs, long totalMs) {
    connectTimeoutMs = OrDefault(connectMs, kDefaults.connectTimeoutMs);
    totalTimeoutMs = OrDefault(totalMs, kDefaults.totalTimeoutMs);
}
