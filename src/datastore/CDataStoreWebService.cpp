#include "datastore/CDataStoreWebService.h"

#include "datastore/COperatorItem.h"
#include "datastore/detail/PermissionBlock.h"
#include "datastore/detail/QueryLayouts.h"
#include "datastore/detail/WritePaths.h"
#include "json/CJosn.h"
#include "platform/MessageBox.h"
#include "service/CWebService.h"
#include "service/ServiceRetValue.h"

using datastore_detail::CallQueryMethod;
using datastore_detail::FindTotalCount;
using datastore_detail::FindWritePath;
using datastore_detail::PermissionWithAppType;
using datastore_detail::QueryWithConditions;
using datastore_detail::SendWrite;
using datastore_detail::StoreTarget;
using datastore_detail::WriteFlatConditions;
using datastore_detail::WriteOperation;
using datastore_detail::WriteOutcome;
using datastore_detail::WritePath;
using datastore_detail::WritePermission;

namespace {

CString Decimal(int value) {
    CString text;
    text.Format("%d", value);
    return text;
}

}  // namespace

CDataStoreWebService::CDataStoreWebService(const CString& areaCode, long lParam)
    : CDataStore(areaCode, lParam) {}

CDataStoreWebService::CDataStoreWebService(const CString& areaCode, long lParam, const CString& url)
    : CDataStore(areaCode, lParam, url) {}

CDataStoreWebService::CDataStoreWebService(const CDataStoreWebService& other) : CDataStore(other) {}

CDataStoreWebService& CDataStoreWebService::operator=(const CDataStoreWebService& other) {
    CDataStore::operator=(other);
    return *this;
}

CDataStoreWebService::~CDataStoreWebService() = default;

bool CDataStoreWebService::AddItem(COperatorItem& item) const {
    if (!item.MakeNumber()) {
        AfxMessageBox("编号失败", MB_OK);
        return false;
    }
    item.BeforeInsert();
    const XmkFunctionId functionId = item.GetFunctionId();
    ServiceRetValue reply;
    const WriteOutcome outcome = SendWrite(
        StoreTarget{m_strUrl, m_strAreaCode}, FindWritePath(functionId, WriteOperation::kInsert),
        functionId, item,
        [&item](CJosn& request) {
            item.WriteInsertValues(request);
            return true;
        },
        reply);
    if (outcome != WriteOutcome::kSucceeded) return false;
    item.SetNewId(reply.m_strData);
    item.AfterInsert();
    return true;
}

bool CDataStoreWebService::DeleteItem(const COperatorItem& item) const {
    const XmkFunctionId functionId = item.GetFunctionId();
    ServiceRetValue reply;
    const WriteOutcome outcome = SendWrite(
        StoreTarget{m_strUrl, m_strAreaCode}, FindWritePath(functionId, WriteOperation::kDelete),
        functionId, item,
        [&item](CJosn& request) {
            item.WriteDeleteKeys(request);
            return true;
        },
        reply);
    if (outcome == WriteOutcome::kFailed) return false;
    item.AfterDelete();
    return true;
}

bool CDataStoreWebService::UpdateItem(COperatorItem& item) const {
    const XmkFunctionId functionId = item.GetFunctionId();
    item.BeforeUpdate();
    const WritePath& path = FindWritePath(functionId, WriteOperation::kUpdate);
    ServiceRetValue reply;
    const WriteOutcome outcome = SendWrite(
        StoreTarget{m_strUrl, m_strAreaCode}, path, functionId, item,
        [&item, &path](CJosn& request) {
            return item.WriteUpdateValues(request, path.membersFlag);
        },
        reply);
    return outcome != WriteOutcome::kFailed;
}

bool CDataStoreWebService::UpdateAudit(const COperatorItem& item) const {
    CJosn request;
    request.object_in("Values");
    item.WriteAuditValues(request);
    request.child_out();
    WritePermission(request, PermissionWithAppType(item.GetFunctionId(), XmkAudit, m_strAreaCode));
    return CWebService::instance().ExcuteCmdBool(m_strUrl, request.GetValue());
}

bool CDataStoreWebService::UpdateItemByJosn(CJosn& request, XmkFunctionId functionId) const {
    WritePermission(request, PermissionWithAppType(functionId, XmkUpdate, m_strAreaCode));
    return CWebService::instance().ExcuteCmdBool(m_strUrl, request.GetValue());
}

std::vector<long> CDataStoreWebService::GetRecordsCount(const CString& param, QueryType queryType,
                                                        bool allAreas) const {
    const char* method = allAreas ? "GetCountByParameter" : "GetCountByParameterAndIsrtAreaCode";
    const CJosn reply(CallQueryMethod(
        StoreTarget{m_strUrl, m_strAreaCode}, method,
        {{"param", param}, {"queryType", Decimal(queryType)}, {"isrtAreaCode", m_strAreaCode}}));
    const unsigned int elements = reply.GetChildCount();
    if (elements == 0) return {FindTotalCount(reply)};
    std::vector<long> counts;
    counts.reserve(elements);
    for (unsigned int i = 0; i < elements; ++i) counts.push_back(FindTotalCount(reply.GetChild(i)));
    return counts;
}

long CDataStoreWebService::GetRecordsCount(
    const std::vector<ServiceConditionJosn>& conditions) const {
    CJosn request;
    WriteFlatConditions(request, 1, conditions, m_strAreaCode);
    return FindTotalCount(
        CJosn(CallQueryMethod(StoreTarget{m_strUrl, m_strAreaCode}, "GetProjectCount",
                              {{"queryCodition", request.GetValue()}})));
}

long CDataStoreWebService::GetRecordsCount(XmkFunctionId functionId,
                                           const std::vector<ServiceConditionJosn>& conditions,
                                           const CString& whereCode, CJosn& request) const {
    return FindTotalCount(CJosn(QueryWithConditions(
        StoreTarget{m_strUrl, m_strAreaCode}, request, datastore_detail::kRecordCountQuery,
        conditions, whereCode, datastore_detail::kNotSent, functionId)));
}

long CDataStoreWebService::GetRecordsCount(XmkFunctionId functionId,
                                           const std::vector<ServiceConditionJosn>& conditions,
                                           const CString& whereCode) const {
    CJosn request;
    return GetRecordsCount(functionId, conditions, whereCode, request);
}

CString CDataStoreWebService::GetProjects(const CString& param, QueryType queryType, int pageNum,
                                          int pageSize, bool allAreas) const {
    const char* method = allAreas ? "GetListByParameter" : "GetListByParameterAndIsrtAreaCode";
    // The back-end's methods take the page size before the page number.
    return CallQueryMethod(StoreTarget{m_strUrl, m_strAreaCode}, method,
                           {{"param", param},
                            {"pageSize", Decimal(pageSize)},
                            {"pageNum", Decimal(pageNum)},
                            {"queryType", Decimal(queryType)},
                            {"isrtAreaCode", m_strAreaCode}});
}

CString CDataStoreWebService::GetProjects(const std::vector<ServiceConditionJosn>& conditions,
                                          int pageNum) const {
    CJosn request;
    WriteFlatConditions(request, pageNum, conditions, m_strAreaCode);
    return CallQueryMethod(StoreTarget{m_strUrl, m_strAreaCode}, "GetProjectList",
                           {{"queryCodition", request.GetValue()}});
}

CString CDataStoreWebService::GetProjects(const std::vector<ServiceConditionJosn>& conditions,
                                          const CString& whereCode, int pageNum) const {
    CJosn request;
    return QueryWithConditions(StoreTarget{m_strUrl, m_strAreaCode}, request,
                               datastore_detail::kProjectPageQuery, conditions, whereCode, pageNum);
}

CString CDataStoreWebService::GetBids(const ServiceConditionJosn& condition) const {
    CJosn request;
    return QueryWithConditions(StoreTarget{m_strUrl, m_strAreaCode}, request,
                               datastore_detail::kBidsQuery, condition);
}

CString CDataStoreWebService::GetInstances(const ServiceConditionJosn& condition) const {
    CJosn request;
    return QueryWithConditions(StoreTarget{m_strUrl, m_strAreaCode}, request,
                               datastore_detail::kInstancesQuery, condition);
}

CString CDataStoreWebService::GetDetails(XmkFunctionId functionId,
                                         const ServiceConditionJosn& condition) const {
    CJosn request;
    return QueryWithConditions(StoreTarget{m_strUrl, m_strAreaCode}, request,
                               datastore_detail::kDetailsQuery, condition, functionId);
}

CString CDataStoreWebService::GetMaxProjectIndex(const ServiceConditionJosn& condition) const {
    CJosn request;
    return QueryWithConditions(StoreTarget{m_strUrl, m_strAreaCode}, request,
                               datastore_detail::kMaxProjectIndexQuery, condition);
}

CString CDataStoreWebService::GetMaxBidIndex(const ServiceConditionJosn& condition) const {
    CJosn request;
    return QueryWithConditions(StoreTarget{m_strUrl, m_strAreaCode}, request,
                               datastore_detail::kMaxBidIndexQuery, condition);
}

CString CDataStoreWebService::GetMaxInstanceIndex(const ServiceConditionJosn& condition) const {
    CJosn request;
    return QueryWithConditions(StoreTarget{m_strUrl, m_strAreaCode}, request,
                               datastore_detail::kMaxInstanceIndexQuery, condition);
}

CString CDataStoreWebService::GetCorps(const std::vector<ServiceConditionJosn>& conditions,
                                       const CString& whereCode) const {
    CJosn request;
    return QueryWithConditions(StoreTarget{m_strUrl, m_strAreaCode}, request,
                               datastore_detail::kCorpsQuery, conditions, whereCode);
}

CString CDataStoreWebService::GetProofAttachByProofId(const CString& proofId) const {
    return CWebService::instance().ExcuteCmd(m_strUrl, "GetProofAttachByProofId", "proofID",
                                             proofId);
}

CString CDataStoreWebService::GetLogsByCondition(const CString& condition) const {
    return CWebService::instance().ExcuteCmd(m_strUrl, "GetLogs", "condition", condition);
}

std::pair<CString, long> CDataStoreWebService::GetRecordsCountAndFirstpageRecords(
    const std::vector<ServiceConditionJosn>& conditions, int /*pageArgument*/) const {
    CJosn request;
    WriteFlatConditions(request, 1, conditions, m_strAreaCode);
    CString reply = CallQueryMethod(StoreTarget{m_strUrl, m_strAreaCode}, "GetProjectCount",
                                    {{"queryCodition", request.GetValue()}});
    const long count = FindTotalCount(CJosn(reply));
    return {reply, count};
}
