#include <cstdio>

#include "Commands.h"

int RunProjectsCommand(int, char**) {
    std::fprintf(stderr, "xmk projects: not available yet\n");
    return 1;
}
