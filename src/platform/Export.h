// Symbol export for the shared library: everything is hidden unless marked XMK_EXPORT.
#pragma once

#define XMK_EXPORT __attribute__((visibility("default")))
