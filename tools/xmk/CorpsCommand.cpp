#include <cstdio>

#include "Commands.h"

int RunCorpsCommand(int, char**) {
    std::fprintf(stderr, "xmk corps: not available yet\n");
    return 1;
}
