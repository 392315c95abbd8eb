#include "datastore/detail/QueryLayouts.h"

#include <cstdlib>
#include <memory>

#include "config/CIniManager.h"
#include "datastore/detail/PermissionBlock.h"
#include "json/CJosn.h"
#include "service/CWebService.h"
#include "service/ServiceNames.h"
#include "wirekit/TWebService.h"
#include "wirekit/WebArgument.h"

namespace datastore_detail {

namespace {

// The layout-1 queries: kind code, page number, page size, function id.
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

// The page size of the flat condition document.
constexpr int kFlatPageSize = 25;

// A run of conditions, as held by the caller: the store never copies one.
struct ConditionRange {
    const ServiceConditionJosn* first;
    size_t count;
};

void WriteConditionsObject(CJosn& request, int type, int pageNum, int pageSize,
                           ConditionRange conditions, const CString& whereCode) {
    request.object_in("Conditions");
    request.push("Type", type);
    if (pageNum >= 0) request.push("PageNum", pageNum);
    if (pageSize >= 0) request.push("PageSize", pageSize);
    for (size_t i = 0; i < conditions.count; ++i) {
        const ServiceConditionJosn& condition = conditions.first[i];
        if (!condition.IsEmpty()) request += condition;
    }
    if (!whereCode.IsEmpty()) request.push("WhereCode", whereCode);
    request.child_out();
}

// A condition that asks for every area: the flat layout leaves it out.
bool IsAllAreasCondition(const ServiceConditionJosn& condition) {
    const JosnChildValue first = condition.GetChildStruct(0);
    return first.name == "AreaCode" && first.value == "9999";
}

int ValueOrCaller(int tableValue, int callerValue) {
    return tableValue == kFromCaller ? callerValue : tableValue;
}

// Writes the Permission block of a query after its "Conditions" and sends the request.
CString SendConditionsRequest(const StoreTarget& target, CJosn& request, const QueryKindInfo& kind,
                              XmkFunctionId callerFunctionId) {
    const auto functionId =
        static_cast<XmkFunctionId>(ValueOrCaller(kind.functionId, callerFunctionId));
    WritePermission(request, PermissionWithAppType(functionId, XmkQuery, target.areaCode));
    return CWebService::instance().GetResultStr(target.url, request.GetValue());
}

}  // namespace

const QueryKindInfo& FindQueryKind(QueryKind type) {
    for (const QueryKindInfo& kind : kQueryKinds) {
        if (kind.type == type) return kind;
    }
    return kQueryKinds[0];
}

void WriteQueryConditions(CJosn& request, int type, int pageNum, int pageSize,
                          const std::vector<ServiceConditionJosn>& conditions,
                          const CString& whereCode) {
    WriteConditionsObject(request, type, pageNum, pageSize,
                          ConditionRange{conditions.data(), conditions.size()}, whereCode);
}

void WriteQueryConditions(CJosn& request, int type, int pageNum, int pageSize,
                          const ServiceConditionJosn& condition, const CString& whereCode) {
    WriteConditionsObject(request, type, pageNum, pageSize, ConditionRange{&condition, 1},
                          whereCode);
}

void WriteFlatConditions(CJosn& request, int pageNum,
                         const std::vector<ServiceConditionJosn>& conditions,
                         const CString& areaCode) {
    if (pageNum >= 0) {
        request.push("PageNum", pageNum);
        request.push("PageSize", kFlatPageSize);
    }
    for (const ServiceConditionJosn& condition : conditions) {
        if (IsAllAreasCondition(condition)) continue;
        if (!condition.IsEmpty()) request += condition;
    }
    request.push("IsrtAreaCode", areaCode);
}

CString QueryWithConditions(const StoreTarget& target, CJosn& request, QueryKind type,
                            const std::vector<ServiceConditionJosn>& conditions,
                            const CString& whereCode, int pageNum, XmkFunctionId functionId) {
    const QueryKindInfo& kind = FindQueryKind(type);
    WriteQueryConditions(request, kind.type, ValueOrCaller(kind.pageNum, pageNum), kind.pageSize,
                         conditions, whereCode);
    return SendConditionsRequest(target, request, kind, functionId);
}

CString QueryWithConditions(const StoreTarget& target, CJosn& request, QueryKind type,
                            const ServiceConditionJosn& condition, XmkFunctionId functionId) {
    const QueryKindInfo& kind = FindQueryKind(type);
    WriteQueryConditions(request, kind.type, kind.pageNum, kind.pageSize, condition, CString());
    return SendConditionsRequest(target, request, kind, functionId);
}

CString CallQueryMethod(const StoreTarget& target, const char* method,
                        const CallArguments& arguments) {
    const CString url =
        target.url.IsEmpty() ? CIniManager::Instance().GetBzkWebService() : target.url;
    TWebService service(kUniteInterfaceNamespace, kUniteInterfaceName);
    std::vector<std::shared_ptr<WebArgument>> list;
    list.reserve(arguments.size());
    for (const auto& argument : arguments) {
        list.push_back(std::make_shared<WebArgumentString>(argument.first, argument.second));
    }
    return service.ExcuteOnServer(url, method, list, nullptr).second;
}

long FindTotalCount(const CJosn& reply) {
    return CountFromText(reply.FindKeyValueRecursion("TotalCount"));
}

long CountFromText(const CString& text) { return std::strtol(text.GetString(), nullptr, 10); }

}  // namespace datastore_detail
