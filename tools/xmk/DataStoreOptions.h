// The options shared by the data-store subcommands of xmk (count, projects, corps, bids):
// the configuration file and area, the store's URL, the identity sent in the Permission
// block, and the query's conditions.
#pragma once

#include <vector>

#include "datastore/ServiceConditionJosn.h"
#include "platform/CString.h"

struct DataStoreOptions {
    CString ini;
    CString area;
    CString url;  // empty: the configured project-library URL
    long userId = 0;
    long appType = 0;
    std::vector<ServiceConditionJosn> conditions;  // one per --cond, in order
    CString where;
    int page = 1;
    int pageSize = 25;
    bool hasFunctionId = false;
    int functionId = 0;
    bool hasParam = false;
    CString param;
    int queryType = 0;
    bool allAreas = false;
    bool list = false;
    bool firstPage = false;
};

// Parses the arguments of subcommand `command`. `extra` names the options it takes besides
// the common ones (--ini, --area, --url, --user-id, --app-type, --cond); null-terminated.
// On a bad argument prints the problem and the usage to stderr and returns false.
bool ParseDataStoreOptions(const char* command, const char* usage, const char* const* extra,
                           int argc, char** argv, DataStoreOptions& options);

// Loads the configuration of the options' area and installs a support object with their user
// id and application type. On failure prints the problem to stderr and returns false.
bool PrepareDataStore(const char* command, const DataStoreOptions& options);

// Prints a reply text on its own line.
void PrintReply(const CString& reply);
