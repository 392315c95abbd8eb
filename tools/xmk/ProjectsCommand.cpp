// xmk projects: fetches a page of projects and prints the back-end's reply.
#include <cstdio>
#include <tuple>

#include "Commands.h"
#include "DataStoreOptions.h"
#include "datastore/CDataStoreWebService.h"

namespace {

constexpr const char* kExtra[] = {"--cond",      "--where",      "--page", "--page-size",
                                  "--param",     "--query-type", "--list", "--first-page",
                                  "--all-areas", nullptr};
constexpr const char* kRequired[] = {nullptr};

constexpr DataStoreCommand kProjects = {
    "projects",
    "--ini FILE --area CODE [--url URL] [--user-id N] [--app-type N] [--cond JSON]...\n"
    "       [--page N] [--where CODE | --list | --first-page |\n"
    "        --param TEXT [--query-type N] [--page-size N] [--all-areas]]\n"
    "  Fetches a page of projects and prints the back-end's reply.\n"
    "  default:      a page of 25 through the uniform query (conditions and where-code)\n"
    "  --list:       a page of 25 through the project list method\n"
    "  --first-page: the first page with the total count, printed after it\n"
    "  --param:      a page selected by a parameter text",
    kExtra, kRequired};

int Projects(const DataStoreOptions& options) {
    const CDataStoreWebService store(options.area, 0, options.url);
    CString reply;
    bool withTotal = false;
    long total = 0;
    if (options.hasParam) {
        reply = store.GetProjects(options.param, static_cast<QueryType>(options.queryType),
                                  options.page, options.pageSize, options.allAreas);
    } else if (options.firstPage) {
        std::tie(reply, total) =
            store.GetRecordsCountAndFirstpageRecords(options.conditions, options.page);
        withTotal = true;
    } else if (options.list) {
        reply = store.GetProjects(options.conditions, options.page);
    } else {
        reply = store.GetProjects(options.conditions, options.where, options.page);
    }
    if (const int failure = ExchangeFailure(kProjects.name)) return failure;
    PrintReply(reply);
    if (withTotal) std::printf("%ld\n", total);
    return kExitSuccess;
}

}  // namespace

int RunProjectsCommand(int argc, char** argv) {
    return RunDataStoreCommand(kProjects, argc, argv, Projects);
}
