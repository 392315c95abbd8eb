// xmk: command-line access to the xmkclient library, for administrators and for the demo.
#include <cstdio>
#include <cstring>

#include "Commands.h"

namespace {

struct Subcommand {
    const char* name;
    int (*run)(int argc, char** argv);
    const char* summary;
};

constexpr Subcommand kSubcommands[] = {
    {"json", RunJsonCommand, "print the children of a JSON document"},
    {"config", RunConfigCommand, "print the settings a configuration file gives an area"},
    {"call", RunCallCommand, "send one uniform call and print the reply"},
    {"count", RunCountCommand, "count records on the back-end"},
    {"projects", RunProjectsCommand, "fetch a page of projects"},
    {"corps", RunCorpsCommand, "fetch the corps that match conditions"},
    {"bids", RunBidsCommand, "fetch the bids that match a condition"},
};

int Usage() {
    std::fprintf(stderr, "usage: xmk <command> [options]\n\ncommands:\n");
    for (const Subcommand& command : kSubcommands) {
        std::fprintf(stderr, "  %-10s %s\n", command.name, command.summary);
    }
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    for (const Subcommand& command : kSubcommands) {
        if (std::strcmp(argv[1], command.name) == 0) return command.run(argc - 2, argv + 2);
    }
    return Usage();
}
