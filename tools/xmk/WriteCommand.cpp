// xmk write: inserts, updates, deletes or audits one record through the data store. The
// record is an item built from the options: its members are JSON objects given on the
// command line, its function id chooses how the store writes it.
#include <cstdio>
#include <cstring>

#include "Commands.h"
#include "DataStoreOptions.h"
#include "datastore/CDataStoreWebService.h"
#include "datastore/COperatorItem.h"
#include "json/CJosn.h"

namespace {

// A record made of the options. Each Write* splices the members of its JSON object in at
// the document's cursor; empty options write nothing.
class OptionsItem : public COperatorItem {
  public:
    explicit OptionsItem(const DataStoreOptions& options) : options_(options) {}

    XmkFunctionId GetFunctionId() const override {
        return static_cast<XmkFunctionId>(options_.functionId);
    }
    CString GetItemId() const override { return options_.id; }
    void WriteInsertValues(CJosn& request) override { Splice(request, options_.values); }
    bool WriteUpdateValues(CJosn& request, int) override {
        return Splice(request, options_.values);
    }
    void WriteAuditValues(CJosn& request) const override { Splice(request, options_.values); }
    void WriteDeleteKeys(CJosn& request) const override { Splice(request, options_.keys); }
    void SetNewId(const CString& id) override { std::printf("new id: %s\n", id.GetString()); }
    bool MakeNumber() override { return true; }
    void BeforeInsert() override {}
    void BeforeUpdate() override {}
    void AfterDelete() const override {}
    void AfterInsert() override {}
    CString GetTableName() const override { return options_.table; }
    void WriteExtraValues(CJosn& request, int) const override { Splice(request, options_.extra); }

  private:
    // True when the object had members to write.
    static bool Splice(CJosn& request, const CString& object) {
        const CJosn members(object);
        if (members.GetChildCount() == 0) return false;
        request += members;
        return true;
    }

    const DataStoreOptions& options_;
};

constexpr const char* kExtra[] = {"--app-id", "--function-id", "--table", "--values",
                                  "--keys",   "--extra",       "--id",    nullptr};
constexpr const char* kRequired[] = {"--function-id", nullptr};

constexpr char kUsage[] =
    "insert|update|delete|audit --ini FILE --area CODE [--url URL]\n"
    "       [--user-id N] [--app-type N] [--app-id N] --function-id N [--table NAME]\n"
    "       [--values JSON] [--keys JSON] [--extra JSON] [--id ID]\n"
    "  Writes one record through the data store and prints the operation's result; an\n"
    "  insert prints the new id first. The JSON options are objects: {Name:\"a\",Age:3}.\n"
    "  --function-id  0 approval, 1 acceptance, 2 proof attachment (own methods);\n"
    "                 3 to 5 generic objects of the table --table; 6 and above the uniform\n"
    "                 operation\n"
    "  --values       the record's members (insert, update, audit); an update without\n"
    "                 members sends nothing, except for generic objects\n"
    "  --keys         the members that select the records to delete\n"
    "  --extra        members written after the Permission block\n"
    "  --id           the record's id: what a delete of function ids 0 to 2 sends\n"
    "  --app-id       the application id generic objects (3 to 5) send; others send the\n"
    "                 application type";

// Ids below 0 have no meaning to the store.
const char* CheckFunctionId(const DataStoreOptions& options) {
    return options.functionId < 0 ? "--function-id takes 0 or more" : nullptr;
}

// Rows 0 to 2 of the store's item kinds delete by id alone.
const char* CheckDelete(const DataStoreOptions& options) {
    if (const char* problem = CheckFunctionId(options)) return problem;
    const bool byId = options.functionId <= 2;
    return byId && !options.hasId ? "a delete of function ids 0 to 2 needs --id" : nullptr;
}

struct Operation {
    const char* name;
    const char* call;  // the store's operation, printed with its result
    bool (*run)(const CDataStoreWebService& store, OptionsItem& item);
    const char* (*check)(const DataStoreOptions& options);
};

constexpr Operation kOperations[] = {
    {"insert", "AddItem",
     [](const CDataStoreWebService& store, OptionsItem& item) { return store.AddItem(item); },
     CheckFunctionId},
    {"update", "UpdateItem",
     [](const CDataStoreWebService& store, OptionsItem& item) { return store.UpdateItem(item); },
     CheckFunctionId},
    {"delete", "DeleteItem",
     [](const CDataStoreWebService& store, OptionsItem& item) { return store.DeleteItem(item); },
     CheckDelete},
    {"audit", "UpdateAudit",
     [](const CDataStoreWebService& store, OptionsItem& item) { return store.UpdateAudit(item); },
     CheckFunctionId},
};

}  // namespace

int RunWriteCommand(int argc, char** argv) {
    const DataStoreCommand usage = {"write", kUsage, kExtra, kRequired};
    const Operation* chosen = nullptr;
    for (const Operation& operation : kOperations) {
        if (argc > 0 && std::strcmp(argv[0], operation.name) == 0) chosen = &operation;
    }
    if (chosen == nullptr) {
        if (argc > 0 && (std::strcmp(argv[0], "--help") == 0 || std::strcmp(argv[0], "-h") == 0)) {
            return PrintUsage(usage);
        }
        return UsageError(usage, "the first argument is one of", "insert, update, delete, audit");
    }
    const DataStoreCommand command = {"write", kUsage, kExtra, kRequired, chosen->check};
    return RunDataStoreCommand(command, argc - 1, argv + 1, [&](const DataStoreOptions& o) {
        const CDataStoreWebService store(o.area, 0, o.url);
        OptionsItem item(o);
        const bool done = chosen->run(store, item);
        if (const int failure = ExchangeFailure(usage.name)) return failure;
        std::printf("%s: %s\n", chosen->call, done ? "true" : "false");
        return done ? kExitSuccess : Refused(usage.name, "the reply is a failure");
    });
}
