// Stands in for the platform's 16-byte globally unique identifier. A plain value; two
// identifiers are equal when all 16 bytes are.
#pragma once

#include <cstdint>

struct _GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};
typedef _GUID GUID;

static_assert(sizeof(_GUID) == 16, "an identifier is 16 bytes without padding");
