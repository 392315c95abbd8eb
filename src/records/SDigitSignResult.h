// The result of a digital signature: the signed data (50944 bytes) and a 256-byte message.
// A plain value of about 50 KB; copies (moves included) copy both arrays whole, so prefer
// passing it by reference.
#pragma once

#include "platform/Export.h"

struct XMK_EXPORT SDigitSignResult {
    static constexpr int kSignDataSize = 50944;
    static constexpr int kMessageSize = 256;

    // Both arrays zero.
    SDigitSignResult();
    SDigitSignResult(const SDigitSignResult& other);
    SDigitSignResult& operator=(const SDigitSignResult& other);
    SDigitSignResult& operator=(SDigitSignResult&& other);
    ~SDigitSignResult();

    unsigned char signData[kSignDataSize];
    unsigned char message[kMessageSize];
};
