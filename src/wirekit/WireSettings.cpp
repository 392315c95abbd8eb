#include "wirekit/WireSettings.h"

#include <mutex>

namespace {

std::mutex settingsMutex;
WireSettings current;

long OrDefault(long value, long fallback) { return value > 0 ? value : fallback; }

}  // namespace

WireSettings GetWireSettings() {
    std::lock_guard<std::mutex> lock(settingsMutex);
    return current;
}

void SetWireSettings(const WireSettings& settings) {
    const WireSettings defaults;
    WireSettings next = settings;
    next.connectTimeoutMs = OrDefault(settings.connectTimeoutMs, defaults.connectTimeoutMs);
    next.totalTimeoutMs = OrDefault(settings.totalTimeoutMs, defaults.totalTimeoutMs);
    if (next.maxReplyBytes == 0) next.maxReplyBytes = defaults.maxReplyBytes;
    std::lock_guard<std::mutex> lock(settingsMutex);
    current = next;
}

void SetWebTimeouts(long connectMs, long totalMs) {
    WireSettings settings = GetWireSettings();
    settings.connectTimeoutMs = connectMs;
    settings.totalTimeoutMs = totalMs;
    SetWireSettings(settings);
}
