// Internal to the data store: the three layouts of a query request. Layout 1 is a
// "Conditions" and "Permission" document sent through the uniform operation; layout 2 a flat
// condition document and layout 3 plain parameters, both sent directly to a query method.
#pragma once

#include <utility>
#include <vector>

#include "datastore/ServiceConditionJosn.h"
#include "datastore/XmkFunctionId.h"
#include "datastore/detail/StoreTarget.h"
#include "platform/CString.h"

class CJosn;

namespace datastore_detail {

// The query kind code sent as "Type" inside "Conditions".
enum QueryKind : int {
    kProjectPageQuery = 1,
    kBidsQuery = 2,
    kInstancesQuery = 3,
    kDetailsQuery = 4,
    kMaxProjectIndexQuery = 5,
    kMaxBidIndexQuery = 6,
    kMaxInstanceIndexQuery = 7,
    kRecordCountQuery = 8,
    kCorpsQuery = 9,
};

// Marks a value of the query table that the caller supplies.
inline constexpr int kFromCaller = -2;
// A page number or size that is not sent.
inline constexpr int kNotSent = -1;

// What a layout-1 query of one kind sends besides its conditions.
struct QueryKindInfo {
    QueryKind type;
    int pageNum;
    int pageSize;
    int functionId;
};

const QueryKindInfo& FindQueryKind(QueryKind type);

// Writes the "Conditions" object at the request's cursor and steps out of it. Negative page
// values are left out; so are empty conditions and an empty where-code.
void WriteQueryConditions(CJosn& request, int type, int pageNum, int pageSize,
                          const std::vector<ServiceConditionJosn>& conditions,
                          const CString& whereCode);
void WriteQueryConditions(CJosn& request, int type, int pageNum, int pageSize,
                          const ServiceConditionJosn& condition, const CString& whereCode);

// Writes a flat condition document at the request's cursor: the page (of 25) when `pageNum`
// is not negative, the conditions other than the all-areas condition, the area code.
void WriteFlatConditions(CJosn& request, int pageNum,
                         const std::vector<ServiceConditionJosn>& conditions,
                         const CString& areaCode);

// Writes a layout-1 query of kind `type` into `request` at its cursor and returns the reply
// of the uniform operation. `pageNum` and `functionId` are used where the query table says
// the caller supplies them. The request's cursor is left inside its "Permission" object.
CString QueryWithConditions(const StoreTarget& target, CJosn& request, QueryKind type,
                            const std::vector<ServiceConditionJosn>& conditions,
                            const CString& whereCode, int pageNum = kNotSent,
                            XmkFunctionId functionId = XmkApproval);
// The same for the queries of one condition, which send no where-code.
CString QueryWithConditions(const StoreTarget& target, CJosn& request, QueryKind type,
                            const ServiceConditionJosn& condition,
                            XmkFunctionId functionId = XmkApproval);

using CallArguments = std::vector<std::pair<const char*, CString>>;

// Calls `method` of the uniform interface directly, at the store's URL or else the configured
// project-library URL, and returns the reply text whether the call succeeded or not.
CString CallQueryMethod(const StoreTarget& target, const char* method,
                        const CallArguments& arguments);

// The number under "TotalCount" anywhere in `reply` (0 when absent or not a number).
long FindTotalCount(const CJosn& reply);
// A count text converted as the C library's atol does: leading blanks and a sign, digits up
// to the first other character, 0 when there are none.
long CountFromText(const CString& text);

}  // namespace datastore_detail
