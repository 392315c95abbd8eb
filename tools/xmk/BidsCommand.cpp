#include <cstdio>

#include "Commands.h"

int RunBidsCommand(int, char**) {
    std::fprintf(stderr, "xmk bids: not available yet\n");
    return 1;
}
