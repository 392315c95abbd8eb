#include <gtest/gtest.h>

#include <climits>

#include "platform/detail/Atoi.h"

TEST(Atoi, ReadsAsTheRuntimeDoesAndSaturatesAtTheLimitsKeepingTheSign) {
    const struct {
        const char* text;
        int asInt;
        long asLong;
    } cases[] = {
        {"2147483647", INT_MAX, 2147483647L},
        {"2147483648", INT_MAX, 2147483648L},
        {"-2147483648", INT_MIN, -2147483648L},
        {"-2147483649", INT_MIN, -2147483649L},
        {"4294967297", INT_MAX, 4294967297L},
        {"9223372036854775807", INT_MAX, LONG_MAX},
        {"9223372036854775808", INT_MAX, LONG_MAX},
        {"-9223372036854775808", INT_MIN, LONG_MIN},
        {"-9223372036854775809", INT_MIN, LONG_MIN},
        {" \t\n\v\f\r+42", 42, 42},
        {"-0", 0, 0},
        {"12abc", 12, 12},
        {"-7.9", -7, -7},
        {"0x1A", 0, 0},
        {"+-1", 0, 0},
        {"- 1", 0, 0},
        {"abc", 0, 0},
        {"", 0, 0},
        {nullptr, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text != nullptr ? c.text : "(null)");
        EXPECT_EQ(c.asInt, AtoiText(c.text));
        EXPECT_EQ(c.asLong, AtolText(c.text));
    }
}
