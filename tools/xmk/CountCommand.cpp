#include <cstdio>

#include "Commands.h"

int RunCountCommand(int, char**) {
    std::fprintf(stderr, "xmk count: not available yet\n");
    return 1;
}
