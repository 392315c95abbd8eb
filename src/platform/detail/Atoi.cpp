#include "platform/detail/Atoi.h"

#include <climits>
#include <cstdlib>

long AtolText(const char* text) {
    // strtol already saturates at LONG_MIN / LONG_MAX; only the null text needs a word.
    return text != nullptr ? std::strtol(text, nullptr, 10) : 0;
}

int AtoiText(const char* text) {
    const long value = AtolText(text);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}
