// The options shared by the subcommands of xmk that talk to the back-end (call, write, count,
// projects, corps, bids, check), and the steps they share: parse and check the arguments,
// load the configuration of the area, apply the transport options, install the identity the
// requests carry and a message-box presenter that prints to stderr, and tell how a call
// ended.
#pragma once

#include <functional>
#include <utility>
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
    // [Transport] keys and values from the transport options, in order; they win over the
    // configuration's.
    std::vector<std::pair<CString, CString>> transport;
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
    // Uniform calls: the method and argument name (both empty: DoWork and jsonInput), whether
    // the reply is judged, and the text sent.
    CString method;
    CString argName;
    bool judge = false;
    CString text;
};

// What a subcommand accepts. Every subcommand takes --ini, --area, --url, --user-id,
// --app-type and the transport options; --ini and --area must be given.
struct DataStoreCommand {
    const char* name;             // as typed after "xmk"
    const char* usage;            // shown after "usage: xmk NAME "
    const char* const* extra;     // further options it takes; null-terminated
    const char* const* required;  // those of them that must be given; null-terminated
    // Checks the options together once they are parsed: null, or the problem found.
    const char* (*check)(const DataStoreOptions& options) = nullptr;
    bool takesText = false;  // one argument that is not an option, into `text`, required
};

// Parses the arguments of `command`; on --help prints its usage on stdout and returns 0; on
// a bad or missing argument, or one its check rejects, prints the problem and the usage on
// stderr and returns 2. Then loads the configuration of the area and applies the transport
// options over its [Transport] (4 with the cause on stderr when the file cannot be read or
// gives no URL and --url is not given), installs a support object with the options' user id,
// application type and application id, prints message boxes on stderr as "message: TEXT"
// (except those that follow a failed exchange, which the cause line explains), and returns
// what `body` returns.
int RunDataStoreCommand(const DataStoreCommand& command, int argc, char** argv,
                        const std::function<int(const DataStoreOptions&)>& body);

// Prints the usage of `command` on stdout (as --help does) and returns 0.
int PrintUsage(const DataStoreCommand& command);

// Prints the problem, `argument` (may be empty) and the usage of `command` on stderr and
// returns 2.
int UsageError(const DataStoreCommand& command, const char* problem, const char* argument);

// To call after each library call. When the calling thread's last exchange failed, prints
// its cause on stderr as "xmk COMMAND: KIND URL: DETAIL" and returns 1 for a SOAP fault, 3
// for any other kind; returns 0 when it succeeded.
int ExchangeFailure(const char* command);

// For a call whose exchange succeeded but whose reply the library judged a failure: prints
// "xmk COMMAND: refused URL: WHAT" on stderr and returns 1.
int Refused(const char* command, const char* what);

// Prints a reply text on its own line.
void PrintReply(const CString& reply);
