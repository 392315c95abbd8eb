// xmk: command-line access to the xmkclient library, for administrators and for the demo.
#include <cstdio>
#include <cstring>

#include "Commands.h"
#include "TracingTransport.h"
#include "wirekit/WebTransport.h"

namespace {

struct Subcommand {
    const char* name;
    int (*run)(int argc, char** argv);
    const char* summary;
};

constexpr Subcommand kSubcommands[] = {
    {"json", RunJsonCommand, "print the children of a JSON document, or find a value in it"},
    {"config", RunConfigCommand, "print the settings a configuration file gives an area"},
    {"call", RunCallCommand, "send one uniform call and print the reply"},
    {"write", RunWriteCommand, "insert, update, delete or audit one record"},
    {"count", RunCountCommand, "count records on the back-end"},
    {"projects", RunProjectsCommand, "fetch a page of projects"},
    {"corps", RunCorpsCommand, "fetch the corps that match conditions"},
    {"bids", RunBidsCommand, "fetch the bids that match a condition"},
    {"check", RunCheckCommand, "run the project-leader checks for one employee"},
};

void PrintUsage(std::FILE* out) {
    std::fprintf(out,
                 "usage: xmk [--trace] <command> [options]\n"
                 "\n"
                 "  --trace    print every request sent to the back-end and its reply\n"
                 "\n"
                 "commands:\n");
    for (const Subcommand& command : kSubcommands) {
        std::fprintf(out, "  %-10s %s\n", command.name, command.summary);
    }
    std::fprintf(out, "\n'xmk <command> --help' describes the options of a command.\n");
}

}  // namespace

int main(int argc, char** argv) {
    int first = 1;
    bool trace = false;
    if (first < argc && std::strcmp(argv[first], "--trace") == 0) {
        trace = true;
        ++first;
    }
    if (first < argc &&
        (std::strcmp(argv[first], "--help") == 0 || std::strcmp(argv[first], "-h") == 0)) {
        PrintUsage(stdout);
        return 0;
    }
    const Subcommand* chosen = nullptr;
    if (first < argc) {
        for (const Subcommand& command : kSubcommands) {
            if (std::strcmp(argv[first], command.name) == 0) chosen = &command;
        }
    }
    if (chosen == nullptr) {
        if (first < argc) std::fprintf(stderr, "xmk: unknown command %s\n", argv[first]);
        PrintUsage(stderr);
        return 2;
    }

    // Installed for the whole run: every exchange of the command, whichever way it reaches
    // the back-end, passes through it.
    TracingTransport tracer(CurrentWebTransport(), stdout);
    IWebTransport* previous = trace ? SetWebTransport(&tracer) : nullptr;
    const int code = chosen->run(argc - first - 1, argv + first + 1);
    if (trace) SetWebTransport(previous);
    return code;
}
