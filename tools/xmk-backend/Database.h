// Database: one SQLite connection with prepared statements and bound values. It takes no
// lock of its own: the caller (BackendStore) serialises every use of one Database.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct sqlite3;

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

class Database {
  public:
    Database() = default;
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens (creating if needed) the file at `path`; an empty path opens a private
    // in-memory database.
    bool Open(const std::string& path, std::string* error);
    bool IsOpen() const { return db_ != nullptr; }

    // Runs a script of statements without parameters.
    bool Exec(const std::string& sql, std::string* error);
    // Runs one statement with `params` bound in order; `rows` (may be null) receives the
    // result rows.
    bool Run(const std::string& sql, const std::vector<SqlValue>& params, SqlRows* rows,
             std::string* error);
    // Like Run, but refuses a statement that would change the database.
    bool RunReadOnly(const std::string& sql, const std::vector<SqlValue>& params, SqlRows* rows,
                     std::vector<std::string>* columns, std::string* error);

    int64_t LastInsertId() const;
    int Changes() const;

  private:
    bool RunStatement(const std::string& sql, const std::vector<SqlValue>& params, bool readOnly,
                      SqlRows* rows, std::vector<std::string>* columns, std::string* error);

    sqlite3* db_ = nullptr;
};
