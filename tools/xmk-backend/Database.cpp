#include "Database.h"

#include <sqlite3.h>

namespace {

// Finalises a statement however the call ends.
class Statement {
  public:
    explicit Statement(sqlite3_stmt* stmt) : stmt_(stmt) {}
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    sqlite3_stmt* get() const { return stmt_; }

  private:
    sqlite3_stmt* stmt_;
};

bool Bind(sqlite3_stmt* stmt, int index, const SqlValue& value) {
    switch (value.kind) {
        case SqlValue::kInteger:
            return sqlite3_bind_int64(stmt, index, value.integer) == SQLITE_OK;
        case SqlValue::kReal:
            return sqlite3_bind_double(stmt, index, value.real) == SQLITE_OK;
        case SqlValue::kText:
            return sqlite3_bind_text(stmt, index, value.text.data(),
                                     static_cast<int>(value.text.size()),
                                     SQLITE_TRANSIENT) == SQLITE_OK;
        case SqlValue::kNull:
            break;
    }
    return sqlite3_bind_null(stmt, index) == SQLITE_OK;
}

}  // namespace

Database::~Database() { sqlite3_close_v2(db_); }

bool Database::Open(const std::string& path, std::string* error) {
    const std::string name = path.empty() ? std::string(":memory:") : path;
    // The caller serialises use, so SQLite's own connection mutex is not needed.
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(name.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        *error = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close_v2(db_);
        db_ = nullptr;
        return false;
    }
    sqlite3_busy_timeout(db_, 5000);
    return true;
}

bool Database::Exec(const std::string& sql, std::string* error) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        *error = message ? message : sqlite3_errmsg(db_);
        sqlite3_free(message);
        return false;
    }
    return true;
}

bool Database::Run(const std::string& sql, const std::vector<SqlValue>& params, SqlRows* rows,
                   std::string* error) {
    return RunStatement(sql, params, false, rows, nullptr, error);
}

bool Database::RunReadOnly(const std::string& sql, const std::vector<SqlValue>& params,
                           SqlRows* rows, std::vector<std::string>* columns, std::string* error) {
    return RunStatement(sql, params, true, rows, columns, error);
}

bool Database::RunStatement(const std::string& sql, const std::vector<SqlValue>& params,
                            bool readOnly, SqlRows* rows, std::vector<std::string>* columns,
                            std::string* error) {
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &raw, &tail) !=
        SQLITE_OK) {
        *error = sqlite3_errmsg(db_);
        return false;
    }
    Statement stmt(raw);
    if (raw == nullptr) {
        *error = "empty statement";
        return false;
    }
    if (readOnly) {
        // Only one statement may run, and it must not write.
        std::string rest = tail ? tail : "";
        if (rest.find_first_not_of(" \t\r\n;") != std::string::npos) {
            *error = "only one statement is allowed";
            return false;
        }
        if (!sqlite3_stmt_readonly(raw)) {
            *error = "only statements that read are allowed";
            return false;
        }
    }
    for (size_t i = 0; i < params.size(); ++i) {
        if (!Bind(raw, static_cast<int>(i) + 1, params[i])) {
            *error = sqlite3_errmsg(db_);
            return false;
        }
    }
    const int count = sqlite3_column_count(raw);
    if (columns) {
        columns->clear();
        for (int c = 0; c < count; ++c) columns->push_back(sqlite3_column_name(raw, c));
    }
    for (;;) {
        const int rc = sqlite3_step(raw);
        if (rc == SQLITE_DONE) return true;
        if (rc != SQLITE_ROW) {
            *error = sqlite3_errmsg(db_);
            return false;
        }
        if (!rows) continue;
        std::vector<std::string> row;
        row.reserve(count);
        for (int c = 0; c < count; ++c) {
            const unsigned char* text = sqlite3_column_text(raw, c);
            const int size = sqlite3_column_bytes(raw, c);
            row.emplace_back(text ? std::string(reinterpret_cast<const char*>(text), size)
                                  : std::string());
        }
        rows->push_back(std::move(row));
    }
}

int64_t Database::LastInsertId() const { return sqlite3_last_insert_rowid(db_); }

int Database::Changes() const { return sqlite3_changes(db_); }
