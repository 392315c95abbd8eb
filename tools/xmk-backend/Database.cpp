#include "Database.h"

#include <sqlite3.h>

#include <string>

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

// A query may read tables and call functions, nothing else: no writes, transactions,
// PRAGMAs, ATTACH or DETACH, which would change the shared store or its connection.
int Database::AuthorizeQuery(void* self, int action, const char*, const char*, const char*,
                             const char*) {
    switch (action) {
        case SQLITE_SELECT:
        case SQLITE_READ:
        case SQLITE_FUNCTION:
        case SQLITE_RECURSIVE:
            return SQLITE_OK;
        default:
            static_cast<Database*>(self)->refused_ = true;
            return SQLITE_DENY;
    }
}

Database::~Database() { sqlite3_close_v2(db_); }

bool Database::Open(const std::string& name, Access access, std::string* error) {
    sqlite3_close_v2(db_);
    db_ = nullptr;
    queriesOnly_ = access == Access::kQueriesOnly;
    // The caller serialises use, so SQLite's own connection mutex is not needed.
    const int flags =
        SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX |
        (queriesOnly_ ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    if (sqlite3_open_v2(name.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
        *error = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close_v2(db_);
        db_ = nullptr;
        return false;
    }
    // Longer than a query may run, so a writer waits out any reader of an in-memory store.
    sqlite3_busy_timeout(db_, 5000);
    if (queriesOnly_) {
        sqlite3_set_authorizer(db_, AuthorizeQuery, this);
        sqlite3_limit(db_, SQLITE_LIMIT_LENGTH, kMaxValueBytes);
        sqlite3_limit(db_, SQLITE_LIMIT_SQL_LENGTH, kMaxValueBytes);
        sqlite3_limit(db_, SQLITE_LIMIT_ATTACHED, 0);
        sqlite3_progress_handler(db_, 1000, OnProgress, this);
    }
    return true;
}

int Database::OnProgress(void* self) {
    return std::chrono::steady_clock::now() > static_cast<Database*>(self)->deadline_ ? 1 : 0;
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
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &raw, nullptr) !=
        SQLITE_OK) {
        *error = sqlite3_errmsg(db_);
        return false;
    }
    Statement stmt(raw);
    for (size_t i = 0; i < params.size(); ++i) {
        if (!Bind(raw, static_cast<int>(i) + 1, params[i])) {
            *error = sqlite3_errmsg(db_);
            return false;
        }
    }
    return Step(raw, rows, error);
}

bool Database::Query(const std::string& sql, SqlRows* rows, std::vector<std::string>* columns,
                     std::string* error) {
    deadline_ = std::chrono::steady_clock::now() + kQueryTimeLimit;
    refused_ = false;
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &raw, &tail);
    Statement stmt(raw);
    if (rc != SQLITE_OK || raw == nullptr) {
        *error = refused_          ? "only statements that read are allowed"
                 : rc == SQLITE_OK ? "empty statement"
                                   : sqlite3_errmsg(db_);
        return false;
    }
    // Whatever follows the statement must be blanks or comments.
    sqlite3_stmt* next = nullptr;
    const char* end = sql.c_str() + sql.size();
    const int nextRc = sqlite3_prepare_v2(db_, tail, static_cast<int>(end - tail), &next, nullptr);
    sqlite3_finalize(next);
    if (nextRc != SQLITE_OK || next != nullptr) {
        *error = "only one statement is allowed";
        return false;
    }
    if (columns) {
        columns->clear();
        for (int c = 0; c < sqlite3_column_count(raw); ++c) {
            columns->push_back(sqlite3_column_name(raw, c));
        }
    }
    return Step(raw, rows, error);
}

bool Database::Step(sqlite3_stmt* stmt, SqlRows* rows, std::string* error) {
    const int count = sqlite3_column_count(stmt);
    size_t resultBytes = 0;
    for (;;) {
        const int rc = sqlite3_step(stmt);
        if (rc == SQLITE_DONE) return true;
        if (rc != SQLITE_ROW) {
            *error = rc == SQLITE_INTERRUPT ? "the query ran longer than " +
                                                  std::to_string(kQueryTimeLimit.count()) + " ms"
                                            : sqlite3_errmsg(db_);
            return false;
        }
        if (!rows) continue;
        std::vector<std::string> row;
        row.reserve(count);
        for (int c = 0; c < count; ++c) {
            const unsigned char* text = sqlite3_column_text(stmt, c);
            const size_t size = static_cast<size_t>(sqlite3_column_bytes(stmt, c));
            resultBytes += size + 1;
            if (queriesOnly_ && resultBytes > kMaxResultBytes) {
                *error = "the result is larger than " + std::to_string(kMaxResultBytes) + " bytes";
                return false;
            }
            row.emplace_back(text ? std::string(reinterpret_cast<const char*>(text), size)
                                  : std::string());
        }
        rows->push_back(std::move(row));
    }
}

int64_t Database::LastInsertId() const { return sqlite3_last_insert_rowid(db_); }

int Database::Changes() const { return sqlite3_changes(db_); }
