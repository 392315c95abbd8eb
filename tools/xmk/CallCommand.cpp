// xmk call: sends one uniform call through the service client and prints the reply.
//
//   xmk call --ini FILE --area CODE [--url URL] [--method M --arg NAME] [--bool] JSON
//
// Without --url the configured project-library URL of the area is used, as the library does.
// With --method and --arg the JSON goes to that method as that argument instead of
// "DoWork"/"jsonInput". The reply text is printed on stdout, message boxes on stderr.
// Exit code: 0 when the exchange succeeded (with --bool: when the reply is judged a success),
// 1 otherwise, 2 for a usage error.
#include <cstdio>
#include <cstring>

#include "Commands.h"
#include "DataStoreOptions.h"
#include "TracingTransport.h"
#include "config/CIniManager.h"
#include "service/CWebService.h"
#include "wirekit/WebTransport.h"

namespace {

struct CallOptions {
    CString ini;
    CString area;
    CString url;
    CString method;
    CString argName;
    CString json;
    bool judge = false;
    bool haveIni = false;
    bool haveArea = false;
    bool haveJson = false;
};

constexpr char kUsage[] =
    "usage: xmk call --ini FILE --area CODE [--url URL] [--method M --arg NAME] [--bool] JSON\n"
    "  Sends JSON to the uniform operation (DoWork, argument jsonInput) of URL, by default\n"
    "  the configured project-library URL, and prints the reply.\n"
    "  --method M --arg NAME  send it to method M as argument NAME instead\n"
    "  --bool                 judge the reply as a write reply: exit 0 on success\n";

int Usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

bool IsHelp(const char* argument) {
    return std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0;
}

// False on a usage error.
bool ParseOptions(int argc, char** argv, CallOptions& options) {
    for (int i = 0; i < argc; ++i) {
        const char* arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(arg, "--bool") == 0) {
            options.judge = true;
        } else if (std::strcmp(arg, "--ini") == 0 && hasValue) {
            options.ini = argv[++i];
            options.haveIni = true;
        } else if (std::strcmp(arg, "--area") == 0 && hasValue) {
            options.area = argv[++i];
            options.haveArea = true;
        } else if (std::strcmp(arg, "--url") == 0 && hasValue) {
            options.url = argv[++i];
        } else if (std::strcmp(arg, "--method") == 0 && hasValue) {
            options.method = argv[++i];
        } else if (std::strcmp(arg, "--arg") == 0 && hasValue) {
            options.argName = argv[++i];
        } else if (std::strncmp(arg, "--", 2) == 0 || options.haveJson) {
            return false;
        } else {
            options.json = arg;
            options.haveJson = true;
        }
    }
    // The method and its argument name only make sense together.
    if (options.method.IsEmpty() != options.argName.IsEmpty()) return false;
    return options.haveIni && options.haveArea && options.haveJson;
}

}  // namespace

int RunCallCommand(int argc, char** argv) {
    for (int i = 0; i < argc; ++i) {
        if (IsHelp(argv[i])) {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
    CallOptions options;
    if (!ParseOptions(argc, argv, options)) return Usage();

    if (!CIniManager::Instance().ReadIniFile(options.ini, options.area)) {
        std::fprintf(stderr, "xmk call: cannot read the configuration file %s\n",
                     options.ini.GetString());
        return 1;
    }

    ShowMessagesOnStderr();
    // Tells a failed exchange from a reply, and keeps the reply to print whatever the mode.
    TracingTransport transport(CurrentWebTransport());
    IWebTransport* previous = SetWebTransport(&transport);

    const CWebService& client = CWebService::instance();
    const bool custom = !options.method.IsEmpty();
    bool succeeded;
    if (options.judge) {
        succeeded = custom ? client.ExcuteCmdBool(options.url, options.method, options.argName,
                                                  options.json)
                           : client.ExcuteCmdBool(options.url, options.json);
    } else {
        if (custom) {
            client.ExcuteCmd(options.url, options.method, options.argName, options.json);
        } else {
            client.ExcuteCmd(options.url, options.json);
        }
        succeeded = transport.Called() && transport.Last().first;
    }
    SetWebTransport(previous);

    PrintReply(transport.Last().second);
    return succeeded ? 0 : 1;
}
