#include "datastore/detail/StoreSender.h"

#include <cassert>
#include <iterator>

#include "json/CJosn.h"
#include "service/CWebService.h"
#include "service/ServiceRetValue.h"
#include "service/detail/ServiceCalls.h"

namespace datastore_detail {

namespace {

// Marks a value of the query table that the caller supplies.
constexpr int kFromCaller = -2;

// What a query of one kind sends besides its conditions.
struct QueryKindInfo {
    QueryKind type;
    int pageNum;     // or kNotSent, kFromCaller
    int pageSize;    // or kNotSent
    int functionId;  // or kFromCaller
};

// Rows in the order of their codes, from 1.
constexpr QueryKindInfo kQueryKinds[] = {
    {kProjectPageQuery, kFromCaller, 25, XmkProjectList},
    {kBidsQuery, 0, 0, XmkProjectList},
    {kInstancesQuery, 0, 0, XmkProjectList},
    {kDetailsQuery, kNotSent, kNotSent, kFromCaller},
    {kMaxProjectIndexQuery, kNotSent, kNotSent, XmkProjectList},
    {kMaxBidIndexQuery, kNotSent, kNotSent, XmkProjectList},
    {kMaxInstanceIndexQuery, kNotSent, kNotSent, XmkProjectList},
    {kRecordCountQuery, kNotSent, kNotSent, kFromCaller},
    {kCorpsQuery, 0, 0, XmkCorpList},
};

const QueryKindInfo& FindQueryKind(QueryKind type) {
    assert(type >= 1 && static_cast<size_t>(type) <= std::size(kQueryKinds));
    const QueryKindInfo& kind = kQueryKinds[type - 1];
    assert(kind.type == type);
    return kind;
}

// The page size of the flat condition document.
constexpr int kFlatPageSize = 25;

// A condition that asks for every area: the flat layout leaves it out.
bool IsAllAreasCondition(const ServiceConditionJosn& condition) {
    const JosnChildValue first = condition.GetChildStruct(0);
    return first.name == "AreaCode" && first.value == "9999";
}

// Opens "Permission" and writes the members that every block begins with.
void OpenPermission(CJosn& request, long appId, XmkFunctionId functionId,
                    XmkFunctionType operation) {
    request.object_in("Permission");
    request.push("UserID", CWebService::instance().GetUserDogId());
    request.push("AppID", appId);
    request.push("FunctionID", static_cast<int>(functionId));
    request.push("FunctionType", static_cast<int>(operation));
}

}  // namespace

void StoreSender::WritePermission(CJosn& request, XmkFunctionId functionId,
                                  XmkFunctionType operation) const {
    OpenPermission(request, CWebService::instance().GetAppType(), functionId, operation);
    request.push("IsrtAreaCode", areaCode_);
}

void StoreSender::WriteObjectPermission(CJosn& request, XmkFunctionId functionId,
                                        XmkFunctionType operation, const CString& tableName) const {
    OpenPermission(request, CWebService::instance().GetAppId(), functionId, operation);
    request.push("TableName", tableName);
    request.push("IsrtAreaCode", areaCode_);
}

ServiceRetValue StoreSender::Write(const char* method, const char* argument,
                                   const CString& value) const {
    return ServiceRetValue(CWebService::instance().ExcuteCmd(url_, method, argument, value));
}

CString StoreSender::Query(CJosn& request, QueryKind kind, ConditionRange conditions,
                           const CString& whereCode, int pageNum, XmkFunctionId functionId) const {
    const QueryKindInfo& row = FindQueryKind(kind);
    request.object_in("Conditions");
    request.push("Type", static_cast<int>(row.type));
    const int page = row.pageNum == kFromCaller ? pageNum : row.pageNum;
    if (page >= 0) request.push("PageNum", page);
    if (row.pageSize >= 0) request.push("PageSize", row.pageSize);
    for (const ServiceConditionJosn& condition : conditions) {
        if (!condition.IsEmpty()) request += condition;
    }
    if (!whereCode.IsEmpty()) request.push("WhereCode", whereCode);
    request.child_out();
    if (row.functionId != kFromCaller) functionId = static_cast<XmkFunctionId>(row.functionId);
    WritePermission(request, functionId, XmkQuery);
    return CWebService::instance().GetResultStr(url_, request.GetValue());
}

CString StoreSender::Call(const char* method, const RemoteArguments& arguments) const {
    return CallUniteInterface(ProjectLibraryUrl(url_), method, arguments).second;
}

CString StoreSender::CallWithFlatConditions(
    const char* method, int pageNum, const std::vector<ServiceConditionJosn>& conditions) const {
    CJosn request;
    if (pageNum >= 0) {
        request.push("PageNum", pageNum);
        request.push("PageSize", kFlatPageSize);
    }
    for (const ServiceConditionJosn& condition : conditions) {
        if (!IsAllAreasCondition(condition) && !condition.IsEmpty()) request += condition;
    }
    request.push("IsrtAreaCode", areaCode_);
    return Call(method, {{"queryCodition", request.GetValue()}});
}

}  // namespace datastore_detail
