// Database: one SQLite connection with prepared statements and bound values, opened either
// for reading and writing or for queries only. It takes no lock of its own: the caller
// (BackendStore) serialises every use of one Database.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// A value bound to a statement parameter.
struct SqlValue {
    enum Kind { kNull, kInteger, kReal, kText };

    static SqlValue Null() { return SqlValue(); }
    static SqlValue Integer(int64_t v) {
        SqlValue s;
        s.kind = kInteger;
        s.integer = v;
        return s;
    }
    static SqlValue Real(double v) {
        SqlValue s;
        s.kind = kReal;
        s.real = v;
        return s;
    }
    static SqlValue Text(std::string v) {
        SqlValue s;
        s.kind = kText;
        s.text = std::move(v);
        return s;
    }

    Kind kind = kNull;
    int64_t integer = 0;
    double real = 0;
    std::string text;
};

// Result rows; every column as text, NULL as an empty text.
using SqlRows = std::vector<std::vector<std::string>>;

// What one statement on a connection for queries may take: running out of any of these
// ends it with an error.
constexpr std::chrono::milliseconds kQueryTimeLimit{2000};
// The longest text or blob a query may make or read.
constexpr int kMaxValueBytes = 4 << 20;
// The result's size, each value counted with one byte more for its separator: small enough
// that its reply stays below the 10 MB libxml2 reads as one text node.
constexpr size_t kMaxResultBytes = size_t(4) << 20;

class Database {
  public:
    enum class Access {
        kReadWrite,   // creates the database when it does not exist
        kQueriesOnly  // only single statements that read, within the limits above
    };

    Database() = default;
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens `name`: a file path or an SQLite URI ("file:..."). Closes whatever was open.
    bool Open(const std::string& name, Access access, std::string* error);

    // Runs a script of statements without parameters.
    bool Exec(const std::string& sql, std::string* error);
    // Runs one statement with `params` bound in order; `rows` (may be null) receives the
    // result rows.
    bool Run(const std::string& sql, const std::vector<SqlValue>& params, SqlRows* rows,
             std::string* error);
    // Runs `sql`, which must be exactly one statement that reads, and gives its rows and
    // (when `columns` is not null) its column names.
    // REQUIRES: opened with kQueriesOnly.
    bool Query(const std::string& sql, SqlRows* rows, std::vector<std::string>* columns,
               std::string* error);

    int64_t LastInsertId() const;
    int Changes() const;

  private:
    static int AuthorizeQuery(void* self, int action, const char*, const char*, const char*,
                              const char*);
    static int OnProgress(void* self);
    bool Step(sqlite3_stmt* stmt, SqlRows* rows, std::string* error);

    sqlite3* db_ = nullptr;
    bool queriesOnly_ = false;
    bool refused_ = false;  // the authoriser refused part of the statement being prepared
    std::chrono::steady_clock::time_point deadline_;
};
