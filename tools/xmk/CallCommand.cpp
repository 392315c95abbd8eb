// xmk call: sends one uniform call through the service client and prints the reply.
#include "Commands.h"
#include "DataStoreOptions.h"
#include "service/CWebService.h"
#include "service/ServiceRetValue.h"

namespace {

constexpr const char* kExtra[] = {"--method", "--arg", "--bool", nullptr};
constexpr const char* kRequired[] = {nullptr};

constexpr DataStoreCommand kCall = {
    "call",
    "--ini FILE --area CODE [--url URL] [--method M --arg NAME] [--bool] JSON\n"
    "  Sends JSON to the uniform operation (DoWork, argument jsonInput) of URL, by default\n"
    "  the configured project-library URL, and prints the reply.\n"
    "  --method M --arg NAME  send it to method M as argument NAME instead\n"
    "  --bool                 judge the reply as a write reply: exit 1 when it is a failure",
    kExtra, kRequired,
    // The method and its argument name only make sense together.
    [](const DataStoreOptions& options) {
        return options.method.IsEmpty() != options.argName.IsEmpty()
                   ? "--method and --arg go together"
                   : nullptr;
    },
    true};

// A judged call is what ExcuteCmdBool makes, with the reply kept to print.
int Call(const DataStoreOptions& o) {
    const CWebService& client = CWebService::instance();
    const CString reply = o.method.IsEmpty() ? client.ExcuteCmd(o.url, o.text)
                                             : client.ExcuteCmd(o.url, o.method, o.argName, o.text);
    if (const int failure = ExchangeFailure(kCall.name)) return failure;
    PrintReply(reply);
    if (o.judge && !ServiceRetValue(reply).MessageAndRet()) {
        return Refused(kCall.name, "the reply is a failure");
    }
    return kExitSuccess;
}

}  // namespace

int RunCallCommand(int argc, char** argv) { return RunDataStoreCommand(kCall, argc, argv, Call); }
