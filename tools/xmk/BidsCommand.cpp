// xmk bids: fetches the bids that match one condition and prints the back-end's reply.
#include "Commands.h"
#include "DataStoreOptions.h"
#include "datastore/CDataStoreWebService.h"

namespace {

constexpr const char* kExtra[] = {"--cond", nullptr};
constexpr const char* kRequired[] = {nullptr};

constexpr DataStoreCommand kBids = {
    "bids",
    "--ini FILE --area CODE [--url URL] [--user-id N] [--app-type N] [--cond JSON]\n"
    "  Fetches the bids that match the condition and prints the back-end's reply.",
    kExtra, kRequired, [](const DataStoreOptions& options) {
        return options.conditions.size() > 1 ? "takes one --cond at most" : nullptr;
    }};

int Bids(const DataStoreOptions& options) {
    const CDataStoreWebService store(options.area, 0, options.url);
    const ServiceConditionJosn condition =
        options.conditions.empty() ? ServiceConditionJosn() : options.conditions.front();
    const CString reply = store.GetBids(condition);
    if (const int failure = ExchangeFailure(kBids.name)) return failure;
    PrintReply(reply);
    return kExitSuccess;
}

}  // namespace

int RunBidsCommand(int argc, char** argv) { return RunDataStoreCommand(kBids, argc, argv, Bids); }
