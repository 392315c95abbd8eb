// Internal to the data store: how one store's requests are laid out and sent. A sender holds
// the store's URL (empty: the configured project-library URL) and its area code, sent as
// "IsrtAreaCode"; it refers to them, so it lives only as long as the operation that builds it.
#pragma once

#include <cstddef>
#include <vector>

#include "datastore/ServiceConditionJosn.h"
#include "datastore/XmkFunctionId.h"
#include "platform/CString.h"
#include "wirekit/detail/RemoteCall.h"

class CJosn;
class ServiceRetValue;

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

// A page number that is not sent.
inline constexpr int kNotSent = -1;

// The conditions of a query as the caller holds them, all of a list or a single one: the
// store never copies a condition.
class ConditionRange {
  public:
    ConditionRange(const std::vector<ServiceConditionJosn>& all)  // NOLINT: implicit
        : first_(all.data()), count_(all.size()) {}
    ConditionRange(const ServiceConditionJosn& one) : first_(&one), count_(1) {}  // NOLINT

    const ServiceConditionJosn* begin() const { return first_; }
    const ServiceConditionJosn* end() const { return first_ + count_; }

  private:
    const ServiceConditionJosn* first_;
    size_t count_;
};

class StoreSender {
  public:
    StoreSender(const CString& url, const CString& areaCode) : url_(url), areaCode_(areaCode) {}

    // Opens "Permission" at the request's cursor and writes the user, the application type,
    // the function id, the operation and the area code into it. The cursor stays inside; the
    // caller closes the block with child_out() when more follows.
    void WritePermission(CJosn& request, XmkFunctionId functionId, XmkFunctionType operation) const;
    // The block of a generic object's write: the application id instead of the type, and the
    // object's table name before the area code.
    void WriteObjectPermission(CJosn& request, XmkFunctionId functionId, XmkFunctionType operation,
                               const CString& tableName) const;

    // Sends a write: `value` as the one argument of `method`, through the service client,
    // which reports a missing URL. The reply is read, not judged.
    ServiceRetValue Write(const char* method, const char* argument, const CString& value) const;

    // Writes a query of kind `kind` into `request` at its cursor, "Conditions" first and then
    // the Permission block (left open), and returns the reply of the uniform operation. The
    // kind's row of the query table says whether `pageNum` and `functionId` are used.
    CString Query(CJosn& request, QueryKind kind, ConditionRange conditions,
                  const CString& whereCode = CString(), int pageNum = kNotSent,
                  XmkFunctionId functionId = XmkApproval) const;

    // Calls the query method `method` directly and returns the reply text, whether the call
    // succeeded or not.
    CString Call(const char* method, const RemoteArguments& arguments) const;
    // Calls `method` with the flat condition document as "queryCodition": page `pageNum` of
    // 25 (no paging when negative), the conditions other than the all-areas one, the area code.
    CString CallWithFlatConditions(const char* method, int pageNum,
                                   const std::vector<ServiceConditionJosn>& conditions) const;

  private:
    const CString& url_;
    const CString& areaCode_;
};

}  // namespace datastore_detail
