// xmk bids: fetches the bids that match one condition and prints the back-end's reply.
#include <cstdio>

#include "Commands.h"
#include "DataStoreOptions.h"
#include "datastore/CDataStoreWebService.h"

namespace {

constexpr char kUsage[] =
    "--ini FILE --area CODE [--url URL] [--user-id N] [--app-type N] [--cond JSON]";

constexpr const char* kExtra[] = {nullptr};

}  // namespace

int RunBidsCommand(int argc, char** argv) {
    DataStoreOptions options;
    if (!ParseDataStoreOptions("bids", kUsage, kExtra, argc, argv, options)) return 2;
    if (options.conditions.size() > 1) {
        std::fprintf(stderr, "xmk bids: takes one --cond at most\nusage: xmk bids %s\n", kUsage);
        return 2;
    }
    if (!PrepareDataStore("bids", options)) return 1;
    const CDataStoreWebService store(options.area, 0, options.url);
    const ServiceConditionJosn condition =
        options.conditions.empty() ? ServiceConditionJosn() : options.conditions.front();
    PrintReply(store.GetBids(condition));
    return 0;
}
