#include "wirekit/WireSettings.h"

#include <atomic>
#include <mutex>

#include "wirekit/detail/WireSettingsState.h"

namespace {

std::mutex settingsMutex;
std::atomic<uint64_t> settingsVersion{1};

// Leaked, so that threads still calling while the process exits never meet freed settings.
std::shared_ptr<const WireSettings>& Current() {
    static auto* current = new std::shared_ptr<const WireSettings>(new WireSettings);
    return *current;
}

long OrDefault(long value, long fallback) { return value > 0 ? value : fallback; }

// REQUIRES: settingsMutex is held.
void InstallLocked(WireSettings next) {
    const WireSettings defaults;
    next.connectTimeoutMs = OrDefault(next.connectTimeoutMs, defaults.connectTimeoutMs);
    next.totalTimeoutMs = OrDefault(next.totalTimeoutMs, defaults.totalTimeoutMs);
    if (next.maxReplyBytes == 0) next.maxReplyBytes = defaults.maxReplyBytes;
    Current() = std::make_shared<const WireSettings>(std::move(next));
    settingsVersion.fetch_add(1, std::memory_order_release);
}

}  // namespace

uint64_t WireSettingsVersion() { return settingsVersion.load(std::memory_order_acquire); }

WireSettingsSnapshot CurrentWireSettings() {
    std::lock_guard<std::mutex> lock(settingsMutex);
    return {Current(), settingsVersion.load(std::memory_order_relaxed)};
}

WireSettings GetWireSettings() { return *CurrentWireSettings().settings; }

void SetWireSettings(const WireSettings& settings) {
    std::lock_guard<std::mutex> lock(settingsMutex);
    InstallLocked(settings);
}

void SetWebTimeouts(long connectMs, long totalMs) {
    std::lock_guard<std::mutex> lock(settingsMutex);
    WireSettings settings = *Current();
    settings.connectTimeoutMs = connectMs;
    settings.totalTimeoutMs = totalMs;
    InstallLocked(std::move(settings));
}
