// BackendStore: the back-end's records in SQLite. Record tables hold one JSON object per
// record (numbered by SQLite, numbers never reused), beside the project leaders and an
// audit log of every write. One connection serves the store's own operations, each under the
// store's lock; the SQL texts of clients run on a second connection that can only read, under
// a lock of their own, so a store may be used from any number of threads at once.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "Database.h"
#include "JsonText.h"

// Which records of a table an operation sees.
struct RecordScope {
    std::string table;         // a record table: "projects", "objects", "records", ...
    long functionId = -1;      // only records of this function id; -1: any
    bool byTableName = false;  // only generic objects of `tableName`
    std::string tableName;
};

// Selects records. All parts must hold; an empty filter selects every record in scope.
struct RecordFilter {
    // One member test of a parameter query.
    struct Match {
        std::string member;
        std::string value;
        bool contains = false;  // a part of the member's text rather than all of it
    };

    std::vector<JsonMember> equals;  // member = value (ID: the record number)
    std::string whereCode;           // see WhereCode
    bool byArea = false;             // the record's area code equals `areaCode`
    std::string areaCode;
    std::vector<Match> anyOf;  // at least one of these, when there are any

    bool IsEmpty() const { return equals.empty() && whereCode.empty() && !byArea && anyOf.empty(); }
};

// Who writes and how: the request's Permission block and the method that carried it.
struct WriteCaller {
    long userId = 0;
    long appId = 0;
    long functionId = 0;
    long functionType = 0;
    std::string areaCode;
    std::string method;
};

// What a write answers: code (1 success, 0 failure), a message and a data text.
struct WriteResult {
    int code = 0;
    std::string message;
    std::string data;
};

// A project leader.
struct Leader {
    std::string empId;
    std::string name;
    long typeFlag = 0;
    long roleId = 0;
    long certLevel = 0;
    long corpDogId = 0;
    std::string areaCode;
};

class BackendStore {
  public:
    BackendStore() = default;
    BackendStore(const BackendStore&) = delete;
    BackendStore& operator=(const BackendStore&) = delete;

    // Opens the database (an empty path: in memory), creates the tables and, when every
    // table is empty, writes the seed records. A file database is kept in WAL mode with
    // synchronous FULL: an acknowledged write survives a crash. Errors name the path.
    bool Open(const std::string& path, std::string* error);

    // Writes. Each is logged in the audit log in the same transaction.
    // Insert: data is the new record's number.
    WriteResult Insert(const RecordScope& scope, const WriteCaller& caller,
                       const std::vector<JsonMember>& values);
    // Sets `values` in the record numbered `id`; data is the record number.
    WriteResult Update(const RecordScope& scope, const WriteCaller& caller, int64_t id,
                       const std::vector<JsonMember>& values);
    // Deletes every record the (non-empty) filter selects; data is how many.
    WriteResult Delete(const RecordScope& scope, const WriteCaller& caller,
                       const RecordFilter& filter);

    // Reads. False, with `error` set, when the filter cannot be applied (a bad where-code).
    // A page as {"TotalCount":N,"Rows":[{"ID":n,...},...]}; pageSize <= 0 means all rows,
    // pages are numbered from 1.
    bool Page(const RecordScope& scope, const RecordFilter& filter, long pageNum, long pageSize,
              std::string* json, std::string* error);
    bool Count(const RecordScope& scope, const RecordFilter& filter, long* count,
               std::string* error);
    // The largest integer value of `member` among the selected records, 0 when none.
    bool MaxOf(const RecordScope& scope, const RecordFilter& filter, const std::string& member,
               long* max, std::string* error);

    // Numbers of the selected records, in order.
    bool Ids(const RecordScope& scope, const RecordFilter& filter, std::vector<int64_t>* ids,
             std::string* error);

    bool FindLeader(const std::string& empId, Leader* leader);
    // Numbers of the projects led by `empId`, in `areaCode` when it is not empty.
    std::vector<int64_t> LeaderProjects(const std::string& empId, const std::string& areaCode);

    // The audit log entries whose fields equal `equals` (log field names: UserID, AppID,
    // FunctionID, FunctionType, Method, TableName, RecordID, IsrtAreaCode), as a page.
    bool Logs(const std::vector<JsonMember>& equals, long pageNum, long pageSize, std::string* json,
              std::string* error);

    // One statement that only reads, for the object-list service and for tests; it may not
    // change the store or its connections, and it is held to the limits in Database.h.
    bool Select(const std::string& sql, SqlRows* rows, std::vector<std::string>* columns,
                std::string* error);
    // Number of rows in `table`; -1 when there is no such table.
    int CountRows(const std::string& table);

  private:
    bool CreateSchema(std::string* error);
    bool SeedIfEmpty(std::string* error);
    bool Where(const RecordScope& scope, const RecordFilter& filter, std::string* sql,
               std::vector<SqlValue>* params, std::string* error) const;
    bool Log(const WriteCaller& caller, const std::string& tableName, int64_t recordId,
             std::string* error);
    WriteResult Fail(const std::string& message);

    std::mutex mutex_;
    Database db_;
    std::mutex readerMutex_;
    Database reader_;
};
