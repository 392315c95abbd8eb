// xmk corps: fetches the corps that match the conditions and prints the back-end's reply.
#include "Commands.h"
#include "DataStoreOptions.h"
#include "datastore/CDataStoreWebService.h"

namespace {

constexpr char kUsage[] =
    "--ini FILE --area CODE [--url URL] [--user-id N] [--app-type N] [--cond JSON]...\n"
    "       [--where CODE]";

constexpr const char* kExtra[] = {"--where", nullptr};

}  // namespace

int RunCorpsCommand(int argc, char** argv) {
    DataStoreOptions options;
    if (!ParseDataStoreOptions("corps", kUsage, kExtra, argc, argv, options)) return 2;
    if (!PrepareDataStore("corps", options)) return 1;
    const CDataStoreWebService store(options.area, 0, options.url);
    PrintReply(store.GetCorps(options.conditions, options.where));
    return 0;
}
