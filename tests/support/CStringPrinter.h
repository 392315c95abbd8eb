// Lets GoogleTest print CString values in failure messages.
#pragma once

#include <ostream>

#include "platform/CString.h"

inline void PrintTo(const CString& s, std::ostream* os) { *os << '"' << s.Str() << '"'; }
