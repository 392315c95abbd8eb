// Symbol export for the shared library: everything is hidden unless marked XMK_EXPORT.
#pragma once

#define XMK_EXPORT __attribute__((visibility("default")))

// For a member of an exported class that is defined in its class and belongs to the exported
// interface. Members defined in a class are hidden and emitted only where a caller uses them;
// this one is emitted wherever its class is seen and exported like an out-of-line member.
#define XMK_EXPORT_INLINE __attribute__((visibility("default"), used))
