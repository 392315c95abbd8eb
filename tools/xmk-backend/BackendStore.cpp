#include "BackendStore.h"

#include <atomic>
#include <cctype>
#include <cstdlib>
#include <ctime>

#include "WhereCode.h"

namespace {

// Every record table has the same columns: the record's members live in `data`.
constexpr const char* kRecordTables[] = {"areas",     "projects",    "bids",
                                         "instances", "corps",       "corp_qualities",
                                         "approvals", "acceptances", "proof_attachments",
                                         "objects",   "records"};

constexpr char kRecordColumns[] =
    "(id INTEGER PRIMARY KEY AUTOINCREMENT, function_id INTEGER NOT NULL DEFAULT 0, "
    "table_name TEXT NOT NULL DEFAULT '', area_code TEXT NOT NULL DEFAULT '', "
    "data TEXT NOT NULL DEFAULT '{}', created TEXT, updated TEXT);";

constexpr char kOtherTables[] =
    "CREATE TABLE IF NOT EXISTS leaders(emp_id TEXT PRIMARY KEY, name TEXT NOT NULL, "
    "type_flag INTEGER NOT NULL, role_id INTEGER NOT NULL, cert_level INTEGER NOT NULL, "
    "corp_dog_id INTEGER NOT NULL, area_code TEXT NOT NULL);"
    "CREATE TABLE IF NOT EXISTS audit_log(id INTEGER PRIMARY KEY AUTOINCREMENT, time TEXT, "
    "user_id INTEGER, app_id INTEGER, function_id INTEGER, function_type INTEGER, method TEXT, "
    "table_name TEXT, record_id INTEGER, area_code TEXT);";

// The seed written into an empty database: a few areas, corps with qualities, projects
// with bids and instances, and some records of the three record kinds. Records are numbered
// from 1 in the order given, so later rows refer to earlier ones by those numbers.
struct SeedRecord {
    const char* table;
    const char* area;
    const char* data;
};

constexpr SeedRecord kSeedRecords[] = {
    {"areas", "370100", R"({"AreaCode":"370100","AreaName":"济南市"})"},
    {"areas", "370200", R"({"AreaCode":"370200","AreaName":"青岛市"})"},
    {"areas", "370300", R"({"AreaCode":"370300","AreaName":"淄博市"})"},
    {"corps", "370100",
     R"({"CorpName":"山东路桥集团有限公司","CorpUserGuid":"6f1c2a70-0001-4a8e-9d51-3b7c2e1f0a01","CorpDogId":501,"AreaCode":"370100"})"},
    {"corps", "370200",
     R"({"CorpName":"青岛海川建设集团有限公司","CorpUserGuid":"6f1c2a70-0002-4a8e-9d51-3b7c2e1f0a02","CorpDogId":502,"AreaCode":"370200"})"},
    {"corps", "370300",
     R"({"CorpName":"淄博市政工程有限公司","CorpUserGuid":"6f1c2a70-0003-4a8e-9d51-3b7c2e1f0a03","CorpDogId":503,"AreaCode":"370300"})"},
    {"corp_qualities", "370100",
     R"({"CorpID":1,"QualityName":"公路工程施工总承包","QualityLevel":"特级","CertNo":"D137000001"})"},
    {"corp_qualities", "370100",
     R"({"CorpID":1,"QualityName":"桥梁工程专业承包","QualityLevel":"一级","CertNo":"D137000002"})"},
    {"corp_qualities", "370200",
     R"({"CorpID":2,"QualityName":"建筑工程施工总承包","QualityLevel":"一级","CertNo":"D237000003"})"},
    {"corp_qualities", "370300",
     R"({"CorpID":3,"QualityName":"市政公用工程施工总承包","QualityLevel":"二级","CertNo":"D337000004"})"},
    {"projects", "370100",
     R"({"ProjectCode":"P370100-001","ProjectName":"经十路快速路改造工程","AreaCode":"370100","ProjectIndex":1,"CorpDogId":501,"LeaderEmpId":"1001","Amount":125000000,"Status":1})"},
    {"projects", "370100",
     R"({"ProjectCode":"P370100-002","ProjectName":"黄河大桥引桥维修工程","AreaCode":"370100","ProjectIndex":2,"CorpDogId":501,"LeaderEmpId":"1001","Amount":38000000,"Status":1})"},
    {"projects", "370100",
     R"({"ProjectCode":"P370100-003","ProjectName":"济南西站市政配套道路","AreaCode":"370100","ProjectIndex":3,"CorpDogId":501,"LeaderEmpId":"1002","Amount":56000000,"Status":0})"},
    {"projects", "370200",
     R"({"ProjectCode":"P370200-001","ProjectName":"胶州湾隧道附属工程","AreaCode":"370200","ProjectIndex":1,"CorpDogId":502,"LeaderEmpId":"1003","Amount":210000000,"Status":1})"},
    {"projects", "370200",
     R"({"ProjectCode":"P370200-002","ProjectName":"青岛港疏港路拓宽工程","AreaCode":"370200","ProjectIndex":2,"CorpDogId":502,"LeaderEmpId":"1003","Amount":74000000,"Status":1})"},
    {"projects", "370300",
     R"({"ProjectCode":"P370300-001","ProjectName":"淄博新区污水管网工程","AreaCode":"370300","ProjectIndex":1,"CorpDogId":503,"LeaderEmpId":"1004","Amount":41000000,"Status":0})"},
    {"bids", "370100", R"({"ProjectID":1,"BidIndex":1,"BidName":"第一标段","BidAmount":70000000})"},
    {"bids", "370100", R"({"ProjectID":1,"BidIndex":2,"BidName":"第二标段","BidAmount":55000000})"},
    {"bids", "370100", R"({"ProjectID":2,"BidIndex":1,"BidName":"第一标段","BidAmount":38000000})"},
    {"bids", "370100", R"({"ProjectID":3,"BidIndex":1,"BidName":"第一标段","BidAmount":56000000})"},
    {"bids", "370200",
     R"({"ProjectID":4,"BidIndex":1,"BidName":"土建标段","BidAmount":150000000})"},
    {"bids", "370200", R"({"ProjectID":4,"BidIndex":2,"BidName":"机电标段","BidAmount":60000000})"},
    {"bids", "370200", R"({"ProjectID":5,"BidIndex":1,"BidName":"第一标段","BidAmount":74000000})"},
    {"bids", "370300", R"({"ProjectID":6,"BidIndex":1,"BidName":"第一标段","BidAmount":41000000})"},
    {"instances", "370100",
     R"({"ProjectID":1,"BidID":1,"InstanceIndex":1,"InstanceName":"路基工程"})"},
    {"instances", "370100",
     R"({"ProjectID":1,"BidID":1,"InstanceIndex":2,"InstanceName":"路面工程"})"},
    {"instances", "370100",
     R"({"ProjectID":1,"BidID":2,"InstanceIndex":1,"InstanceName":"桥梁工程"})"},
    {"instances", "370100",
     R"({"ProjectID":2,"BidID":3,"InstanceIndex":1,"InstanceName":"引桥加固"})"},
    {"instances", "370200",
     R"({"ProjectID":4,"BidID":5,"InstanceIndex":1,"InstanceName":"隧道衬砌"})"},
    {"instances", "370300",
     R"({"ProjectID":6,"BidID":8,"InstanceIndex":1,"InstanceName":"主干管网"})"},
    {"approvals", "370100", R"({"ProjectID":1,"Title":"开工报告审批","State":1})"},
    {"acceptances", "370100", R"({"ProjectID":2,"Title":"引桥维修交工验收","State":0})"},
    {"proof_attachments", "370100",
     R"({"ProofID":"PF-0001","FileName":"开工报告.pdf","FileSize":102400})"},
    {"proof_attachments", "370100",
     R"({"ProofID":"PF-0001","FileName":"施工许可证.jpg","FileSize":55120})"},
};

struct SeedLeader {
    const char* empId;
    const char* name;
    long typeFlag;
    long roleId;
    long certLevel;
    long corpDogId;
    const char* areaCode;
};

constexpr SeedLeader kSeedLeaders[] = {
    {"1001", "张伟", 1, 3, 1, 501, "370100"},
    {"1002", "李娜", 1, 3, 2, 501, "370100"},
    {"1003", "王强", 2, 3, 1, 502, "370200"},
    {"1004", "赵敏", 1, 4, 3, 503, "370300"},
};

// Member names of log queries and the audit-log columns they read.
struct LogField {
    const char* member;
    const char* column;
};

constexpr LogField kLogFields[] = {
    {"UserID", "user_id"},         {"AppID", "app_id"},
    {"FunctionID", "function_id"}, {"FunctionType", "function_type"},
    {"Method", "method"},          {"TableName", "table_name"},
    {"RecordID", "record_id"},     {"IsrtAreaCode", "area_code"},
};

bool IsRecordTable(const std::string& table) {
    for (const char* t : kRecordTables) {
        if (table == t) return true;
    }
    return false;
}

bool IsIdName(const std::string& name) {
    return name.size() == 2 && std::toupper(static_cast<unsigned char>(name[0])) == 'I' &&
           std::toupper(static_cast<unsigned char>(name[1])) == 'D';
}

std::string Now() {
    const std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", &tm);
    return buf;
}

// The typed value of a member, as bound for a comparison.
SqlValue TypedValue(const JsonMember& m) {
    if (m.isNumber) {
        if (m.text.find_first_of(".eE") == std::string::npos) {
            return SqlValue::Integer(std::strtoll(m.text.c_str(), nullptr, 10));
        }
        return SqlValue::Real(std::strtod(m.text.c_str(), nullptr));
    }
    if (m.json == "true" || m.json == "false") return SqlValue::Integer(m.json == "true");
    return SqlValue::Text(m.text);
}

// A member equal to a value, the text of numbers and strings compared as well, so that 37
// finds "37" and the reverse.
bool AppendEquals(const std::string& path, const JsonMember& m, std::string* sql,
                  std::vector<SqlValue>* params) {
    if (path.empty()) return false;
    if (m.json == "null") {
        *sql += path + " IS NULL";
        return true;
    }
    *sql += "(" + path + " = ? OR CAST(" + path + " AS TEXT) = ?)";
    params->push_back(TypedValue(m));
    params->push_back(SqlValue::Text(m.text));
    return true;
}

std::string LikePattern(const std::string& text) {
    std::string out = "%";
    for (char c : text) {
        if (c == '%' || c == '_' || c == '\\') out += '\\';
        out += c;
    }
    return out + "%";
}

class Transaction {
  public:
    explicit Transaction(Database* db) : db_(db) {
        std::string error;
        open_ = db_->Exec("BEGIN IMMEDIATE", &error);
    }
    ~Transaction() {
        std::string error;
        if (open_) db_->Exec("ROLLBACK", &error);
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    bool Commit(std::string* error) {
        if (!open_) {
            *error = "no transaction";
            return false;
        }
        open_ = false;
        return db_->Exec("COMMIT", error);
    }

  private:
    Database* db_;
    bool open_;
};

std::string RowJson(const std::string& id, const std::string& data) {
    std::string row = "{\"ID\":" + id;
    if (data.size() > 2)
        row += "," + data.substr(1);
    else
        row += "}";
    return row;
}

}  // namespace

bool BackendStore::Open(const std::string& path, std::string* error) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::lock_guard<std::mutex> readerLock(readerMutex_);
    // Both connections must see one in-memory database, which SQLite's memdb store shares
    // between the connections of a process by name.
    static std::atomic<unsigned> stores{0};
    const std::string name =
        path.empty() ? "file:/xmk-backend-" + std::to_string(++stores) + "?vfs=memdb" : path;
    std::string detail;
    if (!db_.Open(name, Database::Access::kReadWrite, &detail) ||
        (!path.empty() &&
         !db_.Exec("PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL;", &detail)) ||
        !CreateSchema(&detail) || !SeedIfEmpty(&detail) ||
        !reader_.Open(name, Database::Access::kQueriesOnly, &detail)) {
        *error = "the database " + (path.empty() ? std::string("in memory") : path) +
                 " cannot be used: " + detail;
        return false;
    }
    return true;
}

bool BackendStore::CreateSchema(std::string* error) {
    std::string sql = kOtherTables;
    for (const char* table : kRecordTables) {
        sql += std::string("CREATE TABLE IF NOT EXISTS ") + table + kRecordColumns;
    }
    return db_.Exec(sql, error);
}

bool BackendStore::SeedIfEmpty(std::string* error) {
    std::string sql = "SELECT (SELECT COUNT(*) FROM leaders) + (SELECT COUNT(*) FROM audit_log)";
    for (const char* table : kRecordTables) {
        sql += std::string(" + (SELECT COUNT(*) FROM ") + table + ")";
    }
    SqlRows rows;
    if (!db_.Run(sql, {}, &rows, error)) return false;
    if (rows.empty() || rows[0][0] != "0") return true;

    Transaction tx(&db_);
    const std::string now = Now();
    for (const SeedRecord& r : kSeedRecords) {
        const std::string insert = std::string("INSERT INTO ") + r.table +
                                   "(area_code, data, created, updated) VALUES(?, json(?), ?, ?)";
        if (!db_.Run(insert,
                     {SqlValue::Text(r.area), SqlValue::Text(r.data), SqlValue::Text(now),
                      SqlValue::Text(now)},
                     nullptr, error)) {
            return false;
        }
    }
    for (const SeedLeader& l : kSeedLeaders) {
        if (!db_.Run(
                "INSERT INTO leaders VALUES(?, ?, ?, ?, ?, ?, ?)",
                {SqlValue::Text(l.empId), SqlValue::Text(l.name), SqlValue::Integer(l.typeFlag),
                 SqlValue::Integer(l.roleId), SqlValue::Integer(l.certLevel),
                 SqlValue::Integer(l.corpDogId), SqlValue::Text(l.areaCode)},
                nullptr, error)) {
            return false;
        }
    }
    return tx.Commit(error);
}

bool BackendStore::Where(const RecordScope& scope, const RecordFilter& filter, std::string* sql,
                         std::vector<SqlValue>* params, std::string* error) const {
    std::vector<std::string> parts;
    if (scope.functionId >= 0) {
        parts.push_back("function_id = ?");
        params->push_back(SqlValue::Integer(scope.functionId));
    }
    if (scope.byTableName) {
        parts.push_back("table_name = ?");
        params->push_back(SqlValue::Text(scope.tableName));
    }
    if (filter.byArea) {
        parts.push_back("area_code = ?");
        params->push_back(SqlValue::Text(filter.areaCode));
    }
    for (const JsonMember& m : filter.equals) {
        std::string part;
        if (IsIdName(m.name)) {
            part = "id = ?";
            params->push_back(SqlValue::Integer(std::strtoll(m.text.c_str(), nullptr, 10)));
        } else if (!AppendEquals(WhereCode::MemberPath("data", m.name), m, &part, params)) {
            *error = "member name not allowed in a condition: " + m.name;
            return false;
        }
        parts.push_back(part);
    }
    if (!filter.anyOf.empty()) {
        std::string any;
        for (const RecordFilter::Match& match : filter.anyOf) {
            const std::string path = WhereCode::MemberPath("data", match.member);
            if (!any.empty()) any += " OR ";
            if (match.contains) {
                any += "CAST(" + path + " AS TEXT) LIKE ? ESCAPE '\\'";
                params->push_back(SqlValue::Text(LikePattern(match.value)));
            } else {
                JsonMember m;
                m.text = match.value;
                m.json = JsonText::Quote(match.value);
                AppendEquals(path, m, &any, params);
            }
        }
        parts.push_back("(" + any + ")");
    }
    if (!filter.whereCode.empty()) {
        std::string part;
        if (!WhereCode::Translate(filter.whereCode, "data", &part, params, error)) return false;
        parts.push_back(part);
    }
    for (size_t i = 0; i < parts.size(); ++i) {
        *sql += (i == 0 ? " WHERE " : " AND ") + parts[i];
    }
    return true;
}

bool BackendStore::Log(const WriteCaller& caller, const std::string& tableName, int64_t recordId,
                       std::string* error) {
    return db_.Run(
        "INSERT INTO audit_log(time, user_id, app_id, function_id, function_type, method, "
        "table_name, record_id, area_code) VALUES(?, ?, ?, ?, ?, ?, ?, ?, ?)",
        {SqlValue::Text(Now()), SqlValue::Integer(caller.userId), SqlValue::Integer(caller.appId),
         SqlValue::Integer(caller.functionId), SqlValue::Integer(caller.functionType),
         SqlValue::Text(caller.method), SqlValue::Text(tableName), SqlValue::Integer(recordId),
         SqlValue::Text(caller.areaCode)},
        nullptr, error);
}

WriteResult BackendStore::Fail(const std::string& message) {
    WriteResult result;
    result.code = 0;
    result.message = message;
    return result;
}

WriteResult BackendStore::Insert(const RecordScope& scope, const WriteCaller& caller,
                                 const std::vector<JsonMember>& values) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!IsRecordTable(scope.table)) return Fail("未知的记录表：" + scope.table);
    std::vector<JsonMember> members;
    for (const JsonMember& m : values) {
        // Records are numbered by the store; a number sent along is not kept.
        if (!IsIdName(m.name)) members.push_back(m);
    }
    std::string error;
    Transaction tx(&db_);
    const std::string now = Now();
    if (!db_.Run("INSERT INTO " + scope.table +
                     "(function_id, table_name, area_code, data, created, updated) "
                     "VALUES(?, ?, ?, json(?), ?, ?)",
                 {SqlValue::Integer(caller.functionId), SqlValue::Text(scope.tableName),
                  SqlValue::Text(caller.areaCode), SqlValue::Text(JsonText::ObjectOf(members)),
                  SqlValue::Text(now), SqlValue::Text(now)},
                 nullptr, &error)) {
        return Fail("新增失败：" + error);
    }
    const int64_t id = db_.LastInsertId();
    const std::string logTable = scope.tableName.empty() ? scope.table : scope.tableName;
    if (!Log(caller, logTable, id, &error) || !tx.Commit(&error)) {
        return Fail("新增失败：" + error);
    }
    WriteResult result;
    result.code = 1;
    result.message = "ok";
    result.data = std::to_string(id);
    return result;
}

WriteResult BackendStore::Update(const RecordScope& scope, const WriteCaller& caller, int64_t id,
                                 const std::vector<JsonMember>& values) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!IsRecordTable(scope.table)) return Fail("未知的记录表：" + scope.table);
    std::string set = "data";
    std::vector<SqlValue> params;
    std::string pairs;
    for (const JsonMember& m : values) {
        if (IsIdName(m.name)) continue;
        if (m.name.find_first_of("\"\\") != std::string::npos) {
            return Fail("成员名不合法：" + m.name);
        }
        pairs += ", ?, json(?)";
        params.push_back(SqlValue::Text("$.\"" + m.name + "\""));
        params.push_back(SqlValue::Text(m.json));
    }
    if (!pairs.empty()) set = "json_set(data" + pairs + ")";
    std::string sql = "UPDATE " + scope.table + " SET data = " + set + ", updated = ?";
    params.push_back(SqlValue::Text(Now()));
    RecordFilter filter;
    JsonMember idMember;
    idMember.name = "ID";
    idMember.text = std::to_string(id);
    filter.equals.push_back(idMember);
    std::string error;
    if (!Where(scope, filter, &sql, &params, &error)) return Fail(error);
    Transaction tx(&db_);
    if (!db_.Run(sql, params, nullptr, &error)) return Fail("修改失败：" + error);
    if (db_.Changes() == 0) return Fail("记录不存在：" + std::to_string(id));
    const std::string logTable = scope.tableName.empty() ? scope.table : scope.tableName;
    if (!Log(caller, logTable, id, &error) || !tx.Commit(&error)) {
        return Fail("修改失败：" + error);
    }
    WriteResult result;
    result.code = 1;
    result.message = "ok";
    result.data = std::to_string(id);
    return result;
}

WriteResult BackendStore::Delete(const RecordScope& scope, const WriteCaller& caller,
                                 const RecordFilter& filter) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!IsRecordTable(scope.table)) return Fail("未知的记录表：" + scope.table);
    // A delete without conditions would empty the table; it is refused.
    if (filter.IsEmpty()) return Fail("删除条件为空");
    std::string sql = "SELECT id FROM " + scope.table;
    std::vector<SqlValue> params;
    std::string error;
    if (!Where(scope, filter, &sql, &params, &error)) return Fail(error);
    Transaction tx(&db_);
    SqlRows rows;
    if (!db_.Run(sql, params, &rows, &error)) return Fail("删除失败：" + error);
    if (rows.empty()) return Fail("没有符合条件的记录");
    const std::string logTable = scope.tableName.empty() ? scope.table : scope.tableName;
    for (const auto& row : rows) {
        const int64_t id = std::strtoll(row[0].c_str(), nullptr, 10);
        if (!db_.Run("DELETE FROM " + scope.table + " WHERE id = ?", {SqlValue::Integer(id)},
                     nullptr, &error) ||
            !Log(caller, logTable, id, &error)) {
            return Fail("删除失败：" + error);
        }
    }
    if (!tx.Commit(&error)) return Fail("删除失败：" + error);
    WriteResult result;
    result.code = 1;
    result.message = "ok";
    result.data = std::to_string(rows.size());
    return result;
}

bool BackendStore::Page(const RecordScope& scope, const RecordFilter& filter, long pageNum,
                        long pageSize, std::string* json, std::string* error) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!IsRecordTable(scope.table)) {
        *error = "unknown record table: " + scope.table;
        return false;
    }
    std::string where;
    std::vector<SqlValue> params;
    if (!Where(scope, filter, &where, &params, error)) return false;
    SqlRows count;
    if (!db_.Run("SELECT COUNT(*) FROM " + scope.table + where, params, &count, error)) {
        return false;
    }
    std::vector<SqlValue> pageParams = params;
    pageParams.push_back(SqlValue::Integer(pageSize > 0 ? pageSize : -1));
    pageParams.push_back(
        SqlValue::Integer(pageSize > 0 ? (pageNum > 1 ? pageNum - 1 : 0) * pageSize : 0));
    SqlRows rows;
    if (!db_.Run("SELECT id, data FROM " + scope.table + where + " ORDER BY id LIMIT ? OFFSET ?",
                 pageParams, &rows, error)) {
        return false;
    }
    *json = "{\"TotalCount\":" + count[0][0] + ",\"Rows\":[";
    for (size_t i = 0; i < rows.size(); ++i) {
        if (i > 0) *json += ',';
        *json += RowJson(rows[i][0], rows[i][1]);
    }
    *json += "]}";
    return true;
}

bool BackendStore::Count(const RecordScope& scope, const RecordFilter& filter, long* count,
                         std::string* error) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!IsRecordTable(scope.table)) {
        *error = "unknown record table: " + scope.table;
        return false;
    }
    std::string sql = "SELECT COUNT(*) FROM " + scope.table;
    std::vector<SqlValue> params;
    SqlRows rows;
    if (!Where(scope, filter, &sql, &params, error) || !db_.Run(sql, params, &rows, error)) {
        return false;
    }
    *count = std::atol(rows[0][0].c_str());
    return true;
}

bool BackendStore::MaxOf(const RecordScope& scope, const RecordFilter& filter,
                         const std::string& member, long* max, std::string* error) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!IsRecordTable(scope.table)) {
        *error = "unknown record table: " + scope.table;
        return false;
    }
    std::string sql = "SELECT COALESCE(MAX(CAST(" + WhereCode::MemberPath("data", member) +
                      " AS INTEGER)), 0) FROM " + scope.table;
    std::vector<SqlValue> params;
    SqlRows rows;
    if (!Where(scope, filter, &sql, &params, error) || !db_.Run(sql, params, &rows, error)) {
        return false;
    }
    *max = std::atol(rows[0][0].c_str());
    return true;
}

bool BackendStore::Ids(const RecordScope& scope, const RecordFilter& filter,
                       std::vector<int64_t>* ids, std::string* error) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!IsRecordTable(scope.table)) {
        *error = "unknown record table: " + scope.table;
        return false;
    }
    std::string sql = "SELECT id FROM " + scope.table;
    std::vector<SqlValue> params;
    SqlRows rows;
    if (!Where(scope, filter, &sql, &params, error) ||
        !db_.Run(sql + " ORDER BY id", params, &rows, error)) {
        return false;
    }
    for (const auto& row : rows) ids->push_back(std::strtoll(row[0].c_str(), nullptr, 10));
    return true;
}

bool BackendStore::FindLeader(const std::string& empId, Leader* leader) {
    std::lock_guard<std::mutex> lock(mutex_);
    SqlRows rows;
    std::string error;
    if (!db_.Run("SELECT emp_id, name, type_flag, role_id, cert_level, corp_dog_id, area_code "
                 "FROM leaders WHERE emp_id = ?",
                 {SqlValue::Text(empId)}, &rows, &error) ||
        rows.empty()) {
        return false;
    }
    const auto& r = rows[0];
    leader->empId = r[0];
    leader->name = r[1];
    leader->typeFlag = std::atol(r[2].c_str());
    leader->roleId = std::atol(r[3].c_str());
    leader->certLevel = std::atol(r[4].c_str());
    leader->corpDogId = std::atol(r[5].c_str());
    leader->areaCode = r[6];
    return true;
}

std::vector<int64_t> BackendStore::LeaderProjects(const std::string& empId,
                                                  const std::string& areaCode) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string sql =
        "SELECT id FROM projects WHERE CAST(json_extract(data, '$.LeaderEmpId') AS TEXT) = ?";
    std::vector<SqlValue> params = {SqlValue::Text(empId)};
    if (!areaCode.empty()) {
        sql += " AND area_code = ?";
        params.push_back(SqlValue::Text(areaCode));
    }
    SqlRows rows;
    std::string error;
    std::vector<int64_t> ids;
    if (!db_.Run(sql + " ORDER BY id", params, &rows, &error)) return ids;
    for (const auto& row : rows) ids.push_back(std::strtoll(row[0].c_str(), nullptr, 10));
    return ids;
}

bool BackendStore::Logs(const std::vector<JsonMember>& equals, long pageNum, long pageSize,
                        std::string* json, std::string* error) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::string where;
    std::vector<SqlValue> params;
    for (const JsonMember& m : equals) {
        const char* column = nullptr;
        for (const LogField& f : kLogFields) {
            if (m.name == f.member) column = f.column;
        }
        if (!column) {
            *error = "unknown log field: " + m.name;
            return false;
        }
        where += (where.empty() ? " WHERE " : " AND ") + std::string(column) + " = ?";
        params.push_back(m.isNumber ? TypedValue(m) : SqlValue::Text(m.text));
    }
    SqlRows count;
    if (!db_.Run("SELECT COUNT(*) FROM audit_log" + where, params, &count, error)) return false;
    params.push_back(SqlValue::Integer(pageSize > 0 ? pageSize : -1));
    params.push_back(
        SqlValue::Integer(pageSize > 0 ? (pageNum > 1 ? pageNum - 1 : 0) * pageSize : 0));
    SqlRows rows;
    if (!db_.Run("SELECT json_object('ID', id, 'Time', time, 'UserID', user_id, 'AppID', app_id, "
                 "'FunctionID', function_id, 'FunctionType', function_type, 'Method', method, "
                 "'TableName', table_name, 'RecordID', record_id, 'IsrtAreaCode', area_code) "
                 "FROM audit_log" +
                     where + " ORDER BY id LIMIT ? OFFSET ?",
                 params, &rows, error)) {
        return false;
    }
    *json = "{\"TotalCount\":" + count[0][0] + ",\"Rows\":[";
    for (size_t i = 0; i < rows.size(); ++i) {
        if (i > 0) *json += ',';
        *json += rows[i][0];
    }
    *json += "]}";
    return true;
}

bool BackendStore::Select(const std::string& sql, SqlRows* rows, std::vector<std::string>* columns,
                          std::string* error) {
    std::lock_guard<std::mutex> lock(readerMutex_);
    return reader_.Query(sql, rows, columns, error);
}

int BackendStore::CountRows(const std::string& table) {
    std::lock_guard<std::mutex> lock(mutex_);
    SqlRows rows;
    std::string error;
    if (!db_.Run("SELECT COUNT(*) FROM sqlite_schema WHERE type = 'table' AND name = ?",
                 {SqlValue::Text(table)}, &rows, &error) ||
        rows[0][0] == "0") {
        return -1;
    }
    rows.clear();
    std::string quoted;
    for (char c : table) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    if (!db_.Run("SELECT COUNT(*) FROM \"" + quoted + "\"", {}, &rows, &error)) return -1;
    return std::atoi(rows[0][0].c_str());
}
