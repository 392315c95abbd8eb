// xmk corps: fetches the corps that match the conditions and prints the back-end's reply.
#include "Commands.h"
#include "DataStoreOptions.h"
#include "datastore/CDataStoreWebService.h"

namespace {

constexpr const char* kExtra[] = {"--cond", "--where", nullptr};
constexpr const char* kRequired[] = {nullptr};

constexpr DataStoreCommand kCorps = {
    "corps",
    "--ini FILE --area CODE [--url URL] [--user-id N] [--app-type N] [--cond JSON]...\n"
    "       [--where CODE]\n"
    "  Fetches the corps that match the conditions and prints the back-end's reply.",
    kExtra, kRequired};

int Corps(const DataStoreOptions& options) {
    const CDataStoreWebService store(options.area, 0, options.url);
    const CString reply = store.GetCorps(options.conditions, options.where);
    if (const int failure = ExchangeFailure(kCorps.name)) return failure;
    PrintReply(reply);
    return kExitSuccess;
}

}  // namespace

int RunCorpsCommand(int argc, char** argv) {
    return RunDataStoreCommand(kCorps, argc, argv, Corps);
}
