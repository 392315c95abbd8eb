// xmk count: asks the back-end how many records match, and prints the number (one per line
// for a parameter count, which answers one number per element of its reply).
#include <cstdio>
#include <vector>

#include "Commands.h"
#include "DataStoreOptions.h"
#include "datastore/CDataStoreWebService.h"

namespace {

constexpr char kUsage[] =
    "--ini FILE --area CODE [--url URL] [--user-id N] [--app-type N] [--cond JSON]...\n"
    "       [--function-id N [--where CODE] | --param TEXT [--query-type N] [--all-areas]]\n"
    "  --function-id: records of that function (uniform query)\n"
    "  --param:       records selected by a parameter text\n"
    "  neither:       projects that match the conditions";

constexpr const char* kExtra[] = {"--where",      "--function-id", "--param",
                                  "--query-type", "--all-areas",   nullptr};

}  // namespace

int RunCountCommand(int argc, char** argv) {
    DataStoreOptions options;
    if (!ParseDataStoreOptions("count", kUsage, kExtra, argc, argv, options)) return 2;
    if (!PrepareDataStore("count", options)) return 1;
    const CDataStoreWebService store(options.area, 0, options.url);
    if (options.hasParam) {
        const std::vector<long> counts = store.GetRecordsCount(
            options.param, static_cast<QueryType>(options.queryType), options.allAreas);
        for (long count : counts) std::printf("%ld\n", count);
    } else if (options.hasFunctionId) {
        std::printf("%ld\n", store.GetRecordsCount(static_cast<XmkFunctionId>(options.functionId),
                                                   options.conditions, options.where));
    } else {
        std::printf("%ld\n", store.GetRecordsCount(options.conditions));
    }
    return 0;
}
