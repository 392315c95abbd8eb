// xmk: command-line access to the xmkclient library, for administrators and for the demo.
#include <cstdio>
#include <cstring>
#include <vector>

#include "Commands.h"
#include "wirekit/ExchangeReport.h"
#include "xmkversion.h"

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
                 "       xmk --version | help [<command>]\n"
                 "\n"
                 "  --trace    print every exchange with the back-end on stderr: the call, its\n"
                 "             arguments, how it ended and the reply as received\n"
                 "\n"
                 "commands:\n");
    for (const Subcommand& command : kSubcommands) {
        std::fprintf(out, "  %-10s %s\n", command.name, command.summary);
    }
    std::fprintf(out,
                 "\n'xmk <command> --help' describes the options of a command.\n"
                 "\n"
                 "exit codes:\n"
                 "  0  success\n"
                 "  1  the back-end answered but refused (a SOAP fault, or a reply judged a "
                 "failure)\n"
                 "  2  usage error\n"
                 "  3  no usable exchange (connect, tls, timeout, http_status, bad_reply,\n"
                 "     too_large, cancelled)\n"
                 "  4  the configuration file is unusable\n"
                 "Results go to stdout; the cause of a failure goes to stderr in one line,\n"
                 "\"xmk COMMAND: KIND URL: DETAIL\".\n");
}

void PrintText(const char* prefix, const CString& text) {
    std::fputs(prefix, stderr);
    std::fwrite(text.GetString(), 1, static_cast<size_t>(text.GetLength()), stderr);
    std::fputc('\n', stderr);
}

// Each exchange as it ends:
//     >> DoWork http://host/UniteInterface.asmx
//        jsonInput = {...}
//     << none, HTTP 200, 1.250 ms
//     <?xml version="1.0" ...the reply body as received...
void Trace(const ExchangeEvent& event) {
    PrintText(">> " + event.call.method + " ", event.call.url);
    for (const auto& [name, value] : event.call.arguments) PrintText("   " + name + " = ", value);
    const ExchangeReport& report = event.report;
    std::fprintf(stderr, "<< %s", FailureKindName(report.kind));
    if (report.httpStatus != 0) std::fprintf(stderr, ", HTTP %ld", report.httpStatus);
    std::fprintf(stderr, ", %ld.%03ld ms", report.durationUs / 1000, report.durationUs % 1000);
    PrintText(report.detail.IsEmpty() ? "" : ": ", report.detail);
    if (!event.reply.empty()) {
        std::fwrite(event.reply.data(), 1, event.reply.size(), stderr);
        std::fputc('\n', stderr);
    }
    std::fflush(stderr);
}

bool IsHelp(const char* argument) {
    return std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0;
}

}  // namespace

int main(int argc, char** argv) {
    // --trace may stand before or after the command; the commands never see it.
    std::vector<char*> args;
    bool trace = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--trace") == 0) {
            trace = true;
        } else {
            args.push_back(argv[i]);
        }
    }
    const int count = static_cast<int>(args.size());
    if (count > 0 && std::strcmp(args[0], "--version") == 0) {
        std::printf("xmk %s (libxmkclient %s)\n", XMK_VERSION_STRING, XmkClientVersion());
        return kExitSuccess;
    }
    const bool help = count > 0 && (IsHelp(args[0]) || std::strcmp(args[0], "help") == 0);
    if (help && count == 1) {
        PrintUsage(stdout);
        return kExitSuccess;
    }
    // "help COMMAND" is "COMMAND --help".
    char helpOption[] = "--help";
    if (help && count == 2) args = {args[1], helpOption};

    const Subcommand* chosen = nullptr;
    for (const Subcommand& command : kSubcommands) {
        if (!args.empty() && std::strcmp(args[0], command.name) == 0) chosen = &command;
    }
    if (chosen == nullptr) {
        if (!args.empty()) std::fprintf(stderr, "xmk: unknown command %s\n", args[0]);
        PrintUsage(stderr);
        return kExitUsage;
    }
    if (trace) SetExchangeObserver(Trace);
    return chosen->run(static_cast<int>(args.size()) - 1, args.data() + 1);
}
