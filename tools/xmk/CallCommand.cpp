#include <cstdio>

#include "Commands.h"

int RunCallCommand(int, char**) {
    std::fprintf(stderr, "xmk call: not available yet\n");
    return 1;
}
