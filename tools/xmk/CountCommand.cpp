// xmk count: asks the back-end how many records match, and prints the number (one per line
// for a parameter count, which answers one number per element of its reply).
#include <cstdio>
#include <vector>

#include "Commands.h"
#include "DataStoreOptions.h"
#include "datastore/CDataStoreWebService.h"

namespace {

constexpr const char* kExtra[] = {"--cond",       "--where",     "--function-id", "--param",
                                  "--query-type", "--all-areas", nullptr};
constexpr const char* kRequired[] = {nullptr};

constexpr DataStoreCommand kCount = {
    "count",
    "--ini FILE --area CODE [--url URL] [--user-id N] [--app-type N] [--cond JSON]...\n"
    "       [--function-id N [--where CODE] | --param TEXT [--query-type N] [--all-areas]]\n"
    "  Counts records on the back-end and prints the number.\n"
    "  --function-id: records of that function (uniform query)\n"
    "  --param:       records selected by a parameter text, one number per line\n"
    "  neither:       projects that match the conditions",
    kExtra, kRequired};

int Count(const DataStoreOptions& options) {
    const CDataStoreWebService store(options.area, 0, options.url);
    std::vector<long> counts;
    if (options.hasParam) {
        counts = store.GetRecordsCount(options.param, static_cast<QueryType>(options.queryType),
                                       options.allAreas);
    } else if (options.hasFunctionId) {
        counts.push_back(store.GetRecordsCount(static_cast<XmkFunctionId>(options.functionId),
                                               options.conditions, options.where));
    } else {
        counts.push_back(store.GetRecordsCount(options.conditions));
    }
    // A count of 0 may mean no exchange: only the exchange tells.
    if (const int failure = ExchangeFailure(kCount.name)) return failure;
    for (long count : counts) std::printf("%ld\n", count);
    return kExitSuccess;
}

}  // namespace

int RunCountCommand(int argc, char** argv) {
    return RunDataStoreCommand(kCount, argc, argv, Count);
}
