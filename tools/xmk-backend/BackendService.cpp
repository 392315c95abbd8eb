#include "BackendService.h"

#include <cstdlib>

#include "service/ServiceNames.h"

namespace {

ServiceAnswer Result(std::string text) {
    ServiceAnswer answer;
    answer.text = std::move(text);
    return answer;
}

ServiceAnswer Fault(std::string text) {
    ServiceAnswer answer;
    answer.fault = true;
    answer.text = std::move(text);
    return answer;
}

// The library reads a write reply in text order and cuts each value at "," or "}", so the
// message must hold neither.
std::string Flat(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == ',') {
            out += "，";
        } else if (c == '}') {
            out += ')';
        } else {
            out += c;
        }
    }
    return out;
}

// A write reply: code, message and data as the first three values.
ServiceAnswer WriteReply(const WriteResult& r) {
    return Result("{\"ret\":" + std::to_string(r.code) +
                  ",\"msg\":" + JsonText::Quote(Flat(r.message)) +
                  ",\"data\":" + JsonText::Quote(Flat(r.data)) + "}");
}

ServiceAnswer WriteFailure(const std::string& message) {
    WriteResult r;
    r.message = message;
    return WriteReply(r);
}

long ToLong(const std::string& text) { return std::atol(text.c_str()); }

// Reads a document that must be a JSON object.
bool ReadObject(const std::string& text, const std::string& what, std::string* error) {
    if (JsonText::IsObject(text)) return true;
    *error = what + " is not a JSON object";
    return false;
}

// The object member `name` of `text`, as written; false when absent or not an object.
// Nested objects are read again from their text as written: reading the standard form
// instead would undo the dialect's escapes twice.
bool ObjectMember(const std::string& text, const char* name, std::string* object) {
    bool found = false;
    const JsonMember m = JsonText::Member(text, name, &found);
    if (!found || !JsonText::IsObject(m.raw)) return false;
    *object = m.raw;
    return true;
}

// The Permission block of a request.
bool ReadCaller(const std::string& text, const std::string& method, WriteCaller* caller,
                std::string* tableName, std::string* error) {
    std::string permission;
    if (!ObjectMember(text, "Permission", &permission)) {
        *error = "the request has no Permission object";
        return false;
    }
    caller->method = method;
    for (const JsonMember& m : JsonText::Members(permission)) {
        if (m.name == "UserID") caller->userId = ToLong(m.text);
        if (m.name == "AppID") caller->appId = ToLong(m.text);
        if (m.name == "FunctionID") caller->functionId = ToLong(m.text);
        if (m.name == "FunctionType") caller->functionType = ToLong(m.text);
        if (m.name == "IsrtAreaCode") caller->areaCode = m.text;
        if (m.name == "TableName" && tableName) *tableName = m.text;
    }
    return true;
}

bool IsId(const std::string& name) { return name == "ID" || name == "Id" || name == "id"; }

// The record number among `values`; 0 when there is none.
int64_t RecordId(const std::vector<JsonMember>& values) {
    for (const JsonMember& m : values) {
        if (IsId(m.name)) return std::strtoll(m.text.c_str(), nullptr, 10);
    }
    return 0;
}

// The table of the records of a function id. Ids without an entry share the table
// "records", each seeing only its own.
struct FunctionTable {
    long functionId;
    const char* table;
};

constexpr FunctionTable kFunctionTables[] = {
    {0, "approvals"},    {1, "acceptances"}, {2, "proof_attachments"}, {3, "objects"},
    {4, "objects"},      {5, "objects"},     {9000, "projects"},       {9001, "bids"},
    {9002, "instances"}, {9010, "corps"},    {9011, "corp_qualities"}, {9020, "areas"},
};

// The function id of the records of `table`: the first that keeps them there.
long FunctionIdOf(const std::string& table) {
    for (const FunctionTable& f : kFunctionTables) {
        if (table == f.table) return f.functionId;
    }
    return 0;
}

RecordScope ScopeOf(long functionId) {
    RecordScope scope;
    for (const FunctionTable& f : kFunctionTables) {
        if (f.functionId == functionId) {
            scope.table = f.table;
            return scope;
        }
    }
    scope.table = "records";
    scope.functionId = functionId;
    return scope;
}

// Members of a condition object that steer the query rather than select records.
constexpr const char* kControlMembers[] = {"Type", "PageNum", "PageSize", "WhereCode",
                                           "IsrtAreaCode"};

bool IsControl(const std::string& name) {
    for (const char* c : kControlMembers) {
        if (name == c) return true;
    }
    return false;
}

// Reads a condition object into a filter and its paging values (-1 when absent).
RecordFilter FilterOf(const std::vector<JsonMember>& members, long* pageNum, long* pageSize) {
    RecordFilter filter;
    for (const JsonMember& m : members) {
        if (m.name == "PageNum" && pageNum) *pageNum = ToLong(m.text);
        if (m.name == "PageSize" && pageSize) *pageSize = ToLong(m.text);
        if (m.name == "WhereCode") filter.whereCode = m.text;
        if (!IsControl(m.name)) filter.equals.push_back(m);
    }
    return filter;
}

// What a query kind ("Type" of a "Conditions" request) answers.
enum class QueryAnswer { kPage, kMaxIndex, kCount };

struct QueryKind {
    long type;
    QueryAnswer answer;
    const char* table;        // null: the table of the request's FunctionID
    const char* indexMember;  // the member whose largest value kMaxIndex reports
};

constexpr QueryKind kQueryKinds[] = {
    {1, QueryAnswer::kPage, "projects", nullptr},
    {2, QueryAnswer::kPage, "bids", nullptr},
    {3, QueryAnswer::kPage, "instances", nullptr},
    {4, QueryAnswer::kPage, nullptr, nullptr},
    {5, QueryAnswer::kMaxIndex, "projects", "ProjectIndex"},
    {6, QueryAnswer::kMaxIndex, "bids", "BidIndex"},
    {7, QueryAnswer::kMaxIndex, "instances", "InstanceIndex"},
    {8, QueryAnswer::kCount, nullptr, nullptr},
    {9, QueryAnswer::kPage, "corps", nullptr},
};

ServiceAnswer Query(BackendStore& store, const std::string& json, const WriteCaller& caller) {
    std::string conditions;
    if (!ObjectMember(json, "Conditions", &conditions)) {
        return Fault("the query has no Conditions object");
    }
    const std::vector<JsonMember> members = JsonText::Members(conditions);
    long type = -1;
    for (const JsonMember& m : members) {
        if (m.name == "Type") type = ToLong(m.text);
    }
    const QueryKind* kind = nullptr;
    for (const QueryKind& k : kQueryKinds) {
        if (k.type == type) kind = &k;
    }
    if (!kind) return Fault("unknown query Type " + std::to_string(type));
    long pageNum = -1;
    long pageSize = -1;
    const RecordFilter filter = FilterOf(members, &pageNum, &pageSize);
    RecordScope scope;
    if (kind->table) {
        scope.table = kind->table;
    } else {
        scope = ScopeOf(caller.functionId);
    }
    std::string error;
    std::string reply;
    long number = 0;
    switch (kind->answer) {
        case QueryAnswer::kPage:
            if (!store.Page(scope, filter, pageNum, pageSize, &reply, &error)) return Fault(error);
            return Result(reply);
        case QueryAnswer::kMaxIndex:
            if (!store.MaxOf(scope, filter, kind->indexMember, &number, &error)) {
                return Fault(error);
            }
            return Result("{\"MaxIndex\":" + std::to_string(number) + "}");
        case QueryAnswer::kCount:
            if (!store.Count(scope, filter, &number, &error)) return Fault(error);
            return Result("{\"TotalCount\":" + std::to_string(number) + "}");
    }
    return Fault("unknown query Type");
}

// The members to write: "Values" when the request has it, otherwise every top-level member
// but the Permission block (an update the caller wrote into a document of its own).
bool ValuesOf(const std::string& json, bool fallBackToTopLevel, std::vector<JsonMember>* values) {
    std::string object;
    if (ObjectMember(json, "Values", &object)) {
        *values = JsonText::Members(object);
        return true;
    }
    if (!fallBackToTopLevel) return false;
    for (const JsonMember& m : JsonText::Members(json)) {
        if (m.name != "Permission") values->push_back(m);
    }
    return true;
}

ServiceAnswer UpdateRecord(BackendStore& store, const RecordScope& scope, const WriteCaller& caller,
                           const std::vector<JsonMember>& values) {
    const int64_t id = RecordId(values);
    if (id <= 0) return WriteFailure("缺少记录编号 ID");
    return WriteReply(store.Update(scope, caller, id, values));
}

// The record-specific write methods: where each writes, and the object in the request that
// holds the record.
enum WriteKind { kInsert, kUpdate, kDeleteById, kDeleteMatching };

struct RecordTarget {
    const char* table;
    WriteKind kind;
    const char* member = nullptr;  // none for a delete by number
    bool generic = false;          // the request is wrapped in "outnode"
};

struct MethodEntry;

// One request to a method: its table entry and its arguments, in the entry's order.
struct MethodCall {
    const MethodEntry& entry;
    std::vector<std::string> args;
};

using Handler = ServiceAnswer (*)(BackendStore&, const MethodCall&);

// What answers a method, and the names of its arguments in the order the library sends
// them; the WSDL is written from the same table.
struct MethodEntry {
    const char* method;
    const char* arguments[5];  // unused places are null
    Handler handler;
    RecordTarget record = {};  // for RecordWrite only
    const char* nameSpace = kUniteInterfaceNamespace;
};

// The argument `i` of `call`, which must be a JSON object.
bool ObjectArgument(const MethodCall& call, size_t i, std::string* error) {
    return ReadObject(call.args[i], call.entry.arguments[i], error);
}

ServiceAnswer DoWork(BackendStore& store, const MethodCall& call) {
    const std::string& json = call.args[0];
    std::string error;
    WriteCaller caller;
    if (!ObjectArgument(call, 0, &error) ||
        !ReadCaller(json, call.entry.method, &caller, nullptr, &error)) {
        return Fault(error);
    }
    const RecordScope scope = ScopeOf(caller.functionId);
    std::vector<JsonMember> values;
    switch (caller.functionType) {
        case 0:
            return Query(store, json, caller);
        case 1:
            if (!ValuesOf(json, false, &values)) return Fault("the insert has no Values object");
            return WriteReply(store.Insert(scope, caller, values));
        case 2:
        case 4:
            if (!ValuesOf(json, caller.functionType == 2, &values)) {
                return Fault("the audit has no Values object");
            }
            return UpdateRecord(store, scope, caller, values);
        case 3: {
            std::string conditions;
            if (!ObjectMember(json, "Conditions", &conditions)) {
                return Fault("the delete has no Conditions object");
            }
            const RecordFilter filter = FilterOf(JsonText::Members(conditions), nullptr, nullptr);
            return WriteReply(store.Delete(scope, caller, filter));
        }
        default:
            return WriteFailure("未知的操作类型 FunctionType=" +
                                std::to_string(caller.functionType));
    }
}

ServiceAnswer RecordWrite(BackendStore& store, const MethodCall& call) {
    const RecordTarget& m = call.entry.record;
    const std::string& argument = call.args[0];
    RecordScope scope;
    scope.table = m.table;
    WriteCaller caller;
    if (m.kind == kDeleteById) {
        // A delete by number carries no Permission block: the log names the table's records.
        caller.method = call.entry.method;
        caller.functionId = FunctionIdOf(m.table);
        caller.functionType = 3;
        char* end = nullptr;
        const long long id = std::strtoll(argument.c_str(), &end, 10);
        if (argument.empty() || *end != '\0' || id <= 0) {
            return WriteFailure("记录编号不合法：" + argument);
        }
        JsonMember idMember;
        idMember.name = "ID";
        idMember.text = std::to_string(id);
        RecordFilter filter;
        filter.equals.push_back(idMember);
        return WriteReply(store.Delete(scope, caller, filter));
    }
    std::string error;
    std::string requestJson = argument;
    if (!ObjectArgument(call, 0, &error)) return Fault(error);
    if (m.generic && !ObjectMember(argument, "outnode", &requestJson)) {
        return Fault("the request has no outnode object");
    }
    std::string tableName;
    if (!ReadCaller(requestJson, call.entry.method, &caller, &tableName, &error)) {
        return Fault(error);
    }
    std::string object;
    if (!ObjectMember(requestJson, m.member, &object)) {
        return Fault(std::string("the request has no ") + m.member + " object");
    }
    const std::vector<JsonMember> values = JsonText::Members(object);
    if (m.generic) {
        scope.tableName = tableName;
        scope.byTableName = m.kind != kInsert;
    }
    switch (m.kind) {
        case kInsert:
            return WriteReply(store.Insert(scope, caller, values));
        case kUpdate:
            return UpdateRecord(store, scope, caller, values);
        default: {
            RecordFilter filter;
            filter.equals = values;
            return WriteReply(store.Delete(scope, caller, filter));
        }
    }
}

// A page of projects selected by the flat condition document of the first argument. The
// count method pages by default (page 1 of 25); the list method returns every row unless
// the document pages.
ServiceAnswer ProjectPage(BackendStore& store, const MethodCall& call, long pageNum,
                          long pageSize) {
    std::string error;
    if (!ObjectArgument(call, 0, &error)) return Fault(error);
    const RecordFilter filter = FilterOf(JsonText::Members(call.args[0]), &pageNum, &pageSize);
    RecordScope scope;
    scope.table = "projects";
    std::string reply;
    if (!store.Page(scope, filter, pageNum, pageSize, &reply, &error)) return Fault(error);
    return Result(reply);
}

ServiceAnswer GetProjectCount(BackendStore& store, const MethodCall& call) {
    return ProjectPage(store, call, 1, 25);
}

ServiceAnswer GetProjectList(BackendStore& store, const MethodCall& call) {
    return ProjectPage(store, call, -1, -1);
}

// How the parameter queries match a project, by "queryType".
struct ParameterKind {
    long queryType;
    const char* member;
    bool contains;
};

constexpr ParameterKind kParameterKinds[] = {
    {0, "ProjectName", true}, {1, "ProjectCode", false}, {2, "LeaderEmpId", false},
    {3, "CorpDogId", false},  {4, "AreaCode", false},
};

// The items of a parameter text: the elements of a JSON array, or the pieces between commas.
std::vector<std::string> ParameterItems(const std::string& param) {
    size_t b = param.find_first_not_of(" \t\r\n");
    if (b != std::string::npos && param[b] == '[') return JsonText::ArrayTexts(param);
    std::vector<std::string> items;
    size_t start = 0;
    for (;;) {
        const size_t comma = param.find(',', start);
        std::string item =
            param.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        const size_t first = item.find_first_not_of(" \t");
        const size_t last = item.find_last_not_of(" \t");
        items.push_back(first == std::string::npos ? std::string()
                                                   : item.substr(first, last - first + 1));
        if (comma == std::string::npos) return items;
        start = comma + 1;
    }
}

// One filter per item of `param`, matched as `queryType` says.
bool ParameterQuery(const std::string& param, const std::string& queryType, const std::string& area,
                    bool byArea, std::vector<RecordFilter>* filters, std::string* error) {
    const ParameterKind* kind = nullptr;
    for (const ParameterKind& k : kParameterKinds) {
        if (k.queryType == ToLong(queryType)) kind = &k;
    }
    if (!kind) {
        *error = "unknown queryType " + queryType;
        return false;
    }
    for (const std::string& item : ParameterItems(param)) {
        RecordFilter filter;
        filter.byArea = byArea;
        filter.areaCode = area;
        filter.anyOf.push_back({kind->member, item, kind->contains});
        filters->push_back(filter);
    }
    return true;
}

// Arguments: param, queryType, isrtAreaCode.
ServiceAnswer CountByParameter(BackendStore& store, const MethodCall& call, bool byArea) {
    std::vector<RecordFilter> filters;
    std::string error;
    if (!ParameterQuery(call.args[0], call.args[1], call.args[2], byArea, &filters, &error)) {
        return Fault(error);
    }
    RecordScope scope;
    scope.table = "projects";
    std::string reply = "[";
    for (const RecordFilter& filter : filters) {
        long count = 0;
        if (!store.Count(scope, filter, &count, &error)) return Fault(error);
        if (reply.size() > 1) reply += ',';
        reply += "{\"TotalCount\":" + std::to_string(count) + "}";
    }
    return Result(reply + "]");
}

ServiceAnswer GetCountByParameter(BackendStore& store, const MethodCall& call) {
    return CountByParameter(store, call, false);
}

ServiceAnswer GetCountByParameterAndIsrtAreaCode(BackendStore& store, const MethodCall& call) {
    return CountByParameter(store, call, true);
}

// Arguments: param, pageSize, pageNum, queryType, isrtAreaCode.
ServiceAnswer ListByParameter(BackendStore& store, const MethodCall& call, bool byArea) {
    std::vector<RecordFilter> filters;
    std::string error;
    if (!ParameterQuery(call.args[0], call.args[3], call.args[4], byArea, &filters, &error)) {
        return Fault(error);
    }
    if (filters.empty()) return Result("{\"TotalCount\":0,\"Rows\":[]}");
    RecordFilter any = filters.front();
    for (size_t i = 1; i < filters.size(); ++i) any.anyOf.push_back(filters[i].anyOf.front());
    RecordScope scope;
    scope.table = "projects";
    std::string reply;
    if (!store.Page(scope, any, ToLong(call.args[2]), ToLong(call.args[1]), &reply, &error)) {
        return Fault(error);
    }
    return Result(reply);
}

ServiceAnswer GetListByParameter(BackendStore& store, const MethodCall& call) {
    return ListByParameter(store, call, false);
}

ServiceAnswer GetListByParameterAndIsrtAreaCode(BackendStore& store, const MethodCall& call) {
    return ListByParameter(store, call, true);
}

ServiceAnswer GetProofAttachByProofId(BackendStore& store, const MethodCall& call) {
    RecordScope scope;
    scope.table = "proof_attachments";
    RecordFilter filter;
    filter.anyOf.push_back({"ProofID", call.args[0], false});
    std::string reply;
    std::string error;
    if (!store.Page(scope, filter, -1, -1, &reply, &error)) return Fault(error);
    return Result(reply);
}

ServiceAnswer GetLogs(BackendStore& store, const MethodCall& call) {
    const std::string& condition = call.args[0];
    std::vector<JsonMember> equals;
    long pageNum = -1;
    long pageSize = -1;
    std::string error;
    if (condition.find_first_not_of(" \t\r\n") != std::string::npos) {
        if (!ObjectArgument(call, 0, &error)) return Fault(error);
        for (const JsonMember& m : JsonText::Members(condition)) {
            if (m.name == "PageNum") {
                pageNum = ToLong(m.text);
            } else if (m.name == "PageSize") {
                pageSize = ToLong(m.text);
            } else {
                equals.push_back(m);
            }
        }
    }
    std::string reply;
    if (!store.Logs(equals, pageNum, pageSize, &reply, &error)) return Fault(error);
    return Result(reply);
}

ServiceAnswer GetCorpQualities(BackendStore& store, const MethodCall& call) {
    RecordScope corps;
    corps.table = "corps";
    RecordFilter byGuid;
    byGuid.anyOf.push_back({"CorpUserGuid", call.args[0], false});
    std::vector<int64_t> ids;
    std::string error;
    if (!store.Ids(corps, byGuid, &ids, &error)) return Fault(error);
    if (ids.empty()) return Result("{\"TotalCount\":0,\"Rows\":[]}");
    RecordScope qualities;
    qualities.table = "corp_qualities";
    RecordFilter byCorp;
    for (int64_t id : ids) byCorp.anyOf.push_back({"CorpID", std::to_string(id), false});
    std::string reply;
    if (!store.Page(qualities, byCorp, -1, -1, &reply, &error)) return Fault(error);
    return Result(reply);
}

ServiceAnswer CheckXMFZR(BackendStore& store, const MethodCall& call) {
    Leader leader;
    if (!store.FindLeader(call.args[0], &leader)) return Result("9,未找到项目负责人");
    return Result("1," + leader.name + ":" + std::to_string(leader.typeFlag) + ":" +
                  std::to_string(leader.roleId) + ":" + std::to_string(leader.certLevel));
}

// Answer codes of the second check by certificate level: 3 and 2 are eligible.
struct LevelAnswer {
    long certLevel;
    const char* answer;
};

constexpr LevelAnswer kLevelAnswers[] = {
    {1, "3;一级项目负责人"},
    {2, "2;二级项目负责人"},
};

// Arguments: EmpId, TypeFlag, RoleId, CertificateLevel.
ServiceAnswer CheckXMFZRForCPlus(BackendStore& store, const MethodCall& call) {
    Leader leader;
    if (!store.FindLeader(call.args[0], &leader)) return Result("0;未找到项目负责人");
    if (leader.typeFlag != ToLong(call.args[1]) || leader.roleId != ToLong(call.args[2]) ||
        leader.certLevel != ToLong(call.args[3])) {
        return Result("0;资格信息不符");
    }
    for (const LevelAnswer& a : kLevelAnswers) {
        if (a.certLevel == leader.certLevel) return Result(a.answer);
    }
    return Result("1;资格等级不足");
}

// Arguments: empId, corpDogId, roleId, areaCode.
ServiceAnswer CheckXMFZRForCpp(BackendStore& store, const MethodCall& call) {
    const std::string& empId = call.args[0];
    Leader leader;
    if (!store.FindLeader(empId, &leader) || leader.corpDogId != ToLong(call.args[1]) ||
        leader.roleId != ToLong(call.args[2])) {
        return Result("1;不是该单位的项目负责人");
    }
    const std::vector<int64_t> ids = store.LeaderProjects(empId, call.args[3]);
    if (ids.empty()) return Result("2;无在建项目");
    std::string list;
    for (int64_t id : ids) list += (list.empty() ? "" : ",") + std::to_string(id);
    return Result("2;ok;" + list);
}

// The object-list service runs the SQL text of its last argument, which may only read.
// One object per row, each column a string member.
ServiceAnswer GetXml(BackendStore& store, const MethodCall& call) {
    SqlRows rows;
    std::vector<std::string> columns;
    std::string error;
    if (!store.Select(call.args[3], &rows, &columns, &error)) return Fault(error);
    std::string reply = "[";
    for (const auto& row : rows) {
        if (reply.size() > 1) reply += ',';
        reply += '{';
        for (size_t c = 0; c < columns.size(); ++c) {
            if (c > 0) reply += ',';
            reply += JsonText::Quote(columns[c]) + ":" + JsonText::Quote(row[c]);
        }
        reply += '}';
    }
    return Result(reply + "]");
}

// One text per row: its columns joined by commas.
ServiceAnswer GetSqlFormated(BackendStore& store, const MethodCall& call) {
    SqlRows rows;
    std::string error;
    if (!store.Select(call.args[3], &rows, nullptr, &error)) return Fault(error);
    std::string reply = "[";
    for (const auto& row : rows) {
        if (reply.size() > 1) reply += ',';
        std::string text;
        for (size_t c = 0; c < row.size(); ++c) text += (c > 0 ? "," : "") + row[c];
        reply += JsonText::Quote(text);
    }
    return Result(reply + "]");
}

constexpr MethodEntry kMethods[] = {
    {"DoWork", {"jsonInput"}, DoWork},
    {"GetProjectCount", {"queryCodition"}, GetProjectCount},
    {"GetProjectList", {"queryCodition"}, GetProjectList},
    {"GetCountByParameter", {"param", "queryType", "isrtAreaCode"}, GetCountByParameter},
    {"GetCountByParameterAndIsrtAreaCode",
     {"param", "queryType", "isrtAreaCode"},
     GetCountByParameterAndIsrtAreaCode},
    {"GetListByParameter",
     {"param", "pageSize", "pageNum", "queryType", "isrtAreaCode"},
     GetListByParameter},
    {"GetListByParameterAndIsrtAreaCode",
     {"param", "pageSize", "pageNum", "queryType", "isrtAreaCode"},
     GetListByParameterAndIsrtAreaCode},
    {"GetProofAttachByProofId", {"proofID"}, GetProofAttachByProofId},
    {"GetLogs", {"condition"}, GetLogs},
    {"GetCorpQualities", {"corpUserGuid"}, GetCorpQualities},
    {"CheckXMFZR", {"EmpId"}, CheckXMFZR},
    {"CheckXMFZRForCPlus", {"EmpId", "TypeFlag", "RoleId", "CertificateLevel"}, CheckXMFZRForCPlus},
    {"CheckXMFZRForCpp", {"empId", "corpDogId", "roleId", "areaCode"}, CheckXMFZRForCpp},
    {"InsertApprovalForCpp", {"pAop"}, RecordWrite, {"approvals", kInsert, "Appvl"}},
    {"UpdateApprovalForCpp", {"pAop"}, RecordWrite, {"approvals", kUpdate, "Appvl"}},
    {"DeleteApprovalForCpp", {"aopID"}, RecordWrite, {"approvals", kDeleteById}},
    {"InsertAcceptanceForCpp", {"pAfcp"}, RecordWrite, {"acceptances", kInsert, "Afcp"}},
    {"UpdateAcceptanceForCpp", {"pAfcp"}, RecordWrite, {"acceptances", kUpdate, "Afcp"}},
    {"DeleteAcceptanceForCpp", {"afcpID"}, RecordWrite, {"acceptances", kDeleteById}},
    {"InsertProofAttachForCpp",
     {"proofAttach"},
     RecordWrite,
     {"proof_attachments", kInsert, "Ftp"}},
    {"UpdateProofAttachForCpp",
     {"proofAttach"},
     RecordWrite,
     {"proof_attachments", kUpdate, "Ftp"}},
    {"DeleteProofAttachByIdForCpp", {"attachID"}, RecordWrite, {"proof_attachments", kDeleteById}},
    {"InsertObject", {"param"}, RecordWrite, {"objects", kInsert, "Value", true}},
    {"UpdateObject", {"param"}, RecordWrite, {"objects", kUpdate, "Value", true}},
    {"DeleteObject", {"param"}, RecordWrite, {"objects", kDeleteMatching, "Value", true}},
    {"GetXml", {"kind", "userId", "option", "sql"}, GetXml, {}, kObjectListNamespace},
    {"GetSqlFormated",
     {"kind", "userId", "option", "sql"},
     GetSqlFormated,
     {},
     kObjectListNamespace},
};

}  // namespace

ServiceAnswer BackendService::Call(const SoapRequest& request) const {
    for (const MethodEntry& entry : kMethods) {
        if (request.method != entry.method) continue;
        MethodCall call{entry, {}};
        for (const char* name : entry.arguments) {
            if (name == nullptr) break;
            const std::string* value = request.Argument(name);
            if (!value) return Fault(request.method + " needs the argument " + name);
            call.args.push_back(*value);
        }
        return entry.handler(*store_, call);
    }
    return Fault("unknown method " + request.method);
}

std::vector<MethodSignature> BackendService::Methods() {
    std::vector<MethodSignature> methods;
    for (const MethodEntry& entry : kMethods) {
        MethodSignature m{entry.method, entry.nameSpace, {}};
        for (const char* name : entry.arguments) {
            if (name != nullptr) m.arguments.push_back(name);
        }
        methods.push_back(m);
    }
    return methods;
}
