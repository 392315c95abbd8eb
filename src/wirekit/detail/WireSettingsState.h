// How the transport reads the settings cheaply on every exchange: a version number that
// changes with every SetWireSettings, and the settings of that version, shared and immutable.
#pragma once

#include <cstdint>
#include <memory>

#include "wirekit/WireSettings.h"

struct WireSettingsSnapshot {
    std::shared_ptr<const WireSettings> settings;  // never null
    uint64_t version = 0;
};

// The version now in force; starts at 1, so 0 never matches. Lock-free.
uint64_t WireSettingsVersion();

// The settings in force with their version.
WireSettingsSnapshot CurrentWireSettings();
