// Whole numbers read from text as the C runtime's atoi and atol read them: leading white
// space skipped, an optional sign, then decimal digits up to the first other character; a text
// without digits reads 0. A number beyond the type's range saturates at the nearer limit, so
// it keeps its sign and never wraps into a small value. Thread-safe, no allocation.
#pragma once

// REQUIRES: `text` is null or zero-terminated; null reads 0.
int AtoiText(const char* text);
long AtolText(const char* text);
