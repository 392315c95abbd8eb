// The options shared by the subcommands of xmk that talk to the back-end through the data
// store or the service client (write, count, projects, corps, bids, check), and the steps
// they share: parse and check the arguments, load the configuration of the area, install
// the identity the requests carry and a message-box presenter that prints to stderr.
#pragma once

#include <functional>
#include <vector>

#include "datastore/ServiceConditionJosn.h"
#include "platform/CString.h"

struct DataStoreOptions {
    CString ini;
    CString area;
    CString url;  // empty: the configured project-library URL
    long userId = 0;
    long appType = 0;
    long appId = 0;
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
    // Writes: the record's table, members, delete keys, extra members and id. The JSON texts
    // are objects ("{...}"); empty when not given.
    CString table;
    CString values;
    CString keys;
    CString extra;
    bool hasId = false;
    CString id;
    // Project-leader checks.
    CString urlForCPlus;  // empty: the same as the URL
    CString empIdText;    // as typed
    long empId = 0;
    long corp = 0;
    long role = 0;
    bool hasAreaCode = false;
    CString areaCode;
};

// What a subcommand accepts. Every subcommand takes --ini, --area, --url, --user-id and
// --app-type; --ini and --area must be given.
struct DataStoreCommand {
    const char* name;             // as typed after "xmk"
    const char* usage;            // shown after "usage: xmk NAME "
    const char* const* extra;     // further options it takes; null-terminated
    const char* const* required;  // those of them that must be given; null-terminated
    // Checks the options together once they are parsed: null, or the problem found.
    const char* (*check)(const DataStoreOptions& options) = nullptr;
};

// Parses the arguments of `command`; on --help prints its usage on stdout and returns 0; on
// a bad or missing argument, or one its check rejects, prints the problem and the usage on
// stderr and returns 2. Then
// loads the configuration of the area (prints the problem and returns 1 when it cannot),
// installs a support object with the options' user id, application type and application id,
// shows message boxes on stderr as "message: TEXT", and returns what `body` returns.
int RunDataStoreCommand(const DataStoreCommand& command, int argc, char** argv,
                        const std::function<int(const DataStoreOptions&)>& body);

// Prints the usage of `command` on stdout (as --help does) and returns 0.
int PrintUsage(const DataStoreCommand& command);

// Prints the problem, `argument` (may be empty) and the usage of `command` on stderr and
// returns 2.
int UsageError(const DataStoreCommand& command, const char* problem, const char* argument);

// Makes every message box print one line "message: TEXT" on stderr.
void ShowMessagesOnStderr();

// Prints a reply text on its own line.
void PrintReply(const CString& reply);
