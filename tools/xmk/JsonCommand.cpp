#include <cstdio>

#include "Commands.h"

int RunJsonCommand(int, char**) {
    std::fprintf(stderr, "xmk json: not available yet\n");
    return 1;
}
