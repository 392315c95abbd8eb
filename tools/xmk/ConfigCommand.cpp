#include <cstdio>

#include "Commands.h"

int RunConfigCommand(int, char**) {
    std::fprintf(stderr, "xmk config: not available yet\n");
    return 1;
}
