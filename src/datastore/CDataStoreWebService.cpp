#include "datastore/CDataStoreWebService.h"

#include <cassert>

#include "datastore/COperatorItem.h"
#include "datastore/ItemKinds.h"
#include "datastore/detail/StoreSender.h"
#include "json/CJosn.h"
#include "platform/MessageBox.h"
#include "platform/detail/Atoi.h"
#include "service/CWebService.h"
#include "service/ServiceRetValue.h"

using datastore_detail::kNotSent;
using datastore_detail::StoreSender;

namespace {

// One insert, update or delete of a record. Its function id picks the path: a row of the
// item-kind table that is a generic object goes to the generic-object methods inside
// "outnode", another row to its kind's own methods, an id without a row to the uniform
// operation ("DoWork" with "jsonInput").
class RecordWrite {
  public:
    // Asks the item for its function id, once. REQUIRES: `operation` is an insert, an update
    // or a delete.
    RecordWrite(const CString& url, const CString& areaCode, const COperatorItem& item,
                XmkFunctionType operation)
        : store_(url, areaCode),
          item_(item),
          operation_(operation),
          functionId_(item.GetFunctionId()),
          kind_(FindItemKind(functionId_)) {
        assert(operation == XmkInsert || operation == XmkUpdate || operation == XmkDelete);
    }

    bool HasOwnMethods() const { return kind_ != nullptr && !kind_->IsGeneric; }
    bool IsGenericObject() const { return kind_ != nullptr && kind_->IsGeneric; }

    // Opens the object the item writes its members into: "Value" inside "outnode" for a
    // generic object, the row's name for a kind with its own methods, else `uniformName`.
    void OpenMembers(CJosn& request, const char* uniformName) const {
        if (IsGenericObject()) request.object_in("outnode");
        request.object_in(kind_ != nullptr ? kind_->Name : uniformName);
    }

    // Opens and fills "Permission"; the cursor stays inside. A generic object's block carries
    // its table name and the application id.
    void WritePermission(CJosn& request) const {
        if (IsGenericObject()) {
            store_.WriteObjectPermission(request, functionId_, operation_, item_.GetTableName());
        } else {
            store_.WritePermission(request, functionId_, operation_);
        }
    }

    // Sends `value` to the operation's method, the row's or the uniform one; the reply is
    // read, not judged.
    ServiceRetValue Send(const CString& value) const {
        if (kind_ == nullptr) return store_.Write("DoWork", "jsonInput", value);
        if (operation_ == XmkInsert) {
            return store_.Write(kind_->InsertMethod, kind_->InsertArgument, value);
        }
        if (operation_ == XmkUpdate) {
            return store_.Write(kind_->UpdateMethod, kind_->UpdateArgument, value);
        }
        return store_.Write(kind_->DeleteMethod, kind_->DeleteArgument, value);
    }

  private:
    const StoreSender store_;
    const COperatorItem& item_;
    const XmkFunctionType operation_;
    const XmkFunctionId functionId_;
    const ItemKindInfo* const kind_;  // null: the uniform operation
};

// The number under "TotalCount" anywhere in `reply` (0 when absent or not a number).
long FindTotalCount(const CJosn& reply) {
    return AtolText(reply.FindKeyValueRecursion("TotalCount").GetString());
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
    const RecordWrite write(m_strUrl, m_strAreaCode, item, XmkInsert);
    CJosn request;
    write.OpenMembers(request, "Values");
    item.WriteInsertValues(request);
    request.child_out();
    write.WritePermission(request);
    request.child_out();
    item.WriteExtraValues(request, write.HasOwnMethods() ? 2 : 1);
    const ServiceRetValue reply = write.Send(request.GetValue());
    if (!reply.MessageAndRet()) return false;
    item.SetNewId(reply.m_strData);
    item.AfterInsert();
    return true;
}

bool CDataStoreWebService::DeleteItem(const COperatorItem& item) const {
    const RecordWrite write(m_strUrl, m_strAreaCode, item, XmkDelete);
    CString value;
    if (write.HasOwnMethods()) {
        // A kind with its own methods is deleted by its id alone.
        value = item.GetItemId();
    } else {
        CJosn request;
        write.OpenMembers(request, "Conditions");
        item.WriteDeleteKeys(request);
        request.child_out();
        write.WritePermission(request);
        request.child_out();
        item.WriteExtraValues(request, 3);
        value = request.GetValue();
    }
    if (!write.Send(value).MessageAndRet()) return false;
    item.AfterDelete();
    return true;
}

bool CDataStoreWebService::UpdateItem(COperatorItem& item) const {
    const RecordWrite write(m_strUrl, m_strAreaCode, item, XmkUpdate);
    item.BeforeUpdate();
    CJosn request;
    write.OpenMembers(request, "Values");
    const bool hasMembers = item.WriteUpdateValues(request, write.HasOwnMethods() ? 1 : 0);
    // Only a generic object's update goes out with nothing to update.
    if (!hasMembers && !write.IsGenericObject()) return true;
    request.child_out();
    write.WritePermission(request);
    // A generic object's update ends inside its Permission block.
    if (!write.IsGenericObject()) {
        request.child_out();
        item.WriteExtraValues(request, 2);
    }
    return write.Send(request.GetValue()).MessageAndRet();
}

bool CDataStoreWebService::UpdateAudit(const COperatorItem& item) const {
    CJosn request;
    request.object_in("Values");
    item.WriteAuditValues(request);
    request.child_out();
    StoreSender(m_strUrl, m_strAreaCode).WritePermission(request, item.GetFunctionId(), XmkAudit);
    return CWebService::instance().ExcuteCmdBool(m_strUrl, request.GetValue());
}

bool CDataStoreWebService::UpdateItemByJosn(CJosn& request, XmkFunctionId functionId) const {
    StoreSender(m_strUrl, m_strAreaCode).WritePermission(request, functionId, XmkUpdate);
    return CWebService::instance().ExcuteCmdBool(m_strUrl, request.GetValue());
}

std::vector<long> CDataStoreWebService::GetRecordsCount(const CString& param, QueryType queryType,
                                                        bool allAreas) const {
    const char* method = allAreas ? "GetCountByParameter" : "GetCountByParameterAndIsrtAreaCode";
    const CJosn reply(StoreSender(m_strUrl, m_strAreaCode)
                          .Call(method, {{"param", param},
                                         {"queryType", DecimalText(queryType)},
                                         {"isrtAreaCode", m_strAreaCode}}));
    const unsigned int elements = reply.GetChildCount();
    if (elements == 0) return {FindTotalCount(reply)};
    std::vector<long> counts;
    counts.reserve(elements);
    for (unsigned int i = 0; i < elements; ++i) counts.push_back(FindTotalCount(reply.GetChild(i)));
    return counts;
}

long CDataStoreWebService::GetRecordsCount(
    const std::vector<ServiceConditionJosn>& conditions) const {
    return FindTotalCount(CJosn(StoreSender(m_strUrl, m_strAreaCode)
                                    .CallWithFlatConditions("GetProjectCount", 1, conditions)));
}

long CDataStoreWebService::GetRecordsCount(XmkFunctionId functionId,
                                           const std::vector<ServiceConditionJosn>& conditions,
                                           const CString& whereCode, CJosn& request) const {
    return FindTotalCount(CJosn(StoreSender(m_strUrl, m_strAreaCode)
                                    .Query(request, datastore_detail::kRecordCountQuery, conditions,
                                           whereCode, kNotSent, functionId)));
}

long CDataStoreWebService::GetRecordsCount(XmkFunctionId functionId,
                                           const std::vector<ServiceConditionJosn>& conditions,
                                           const CString& whereCode) const {
    CJosn request;
    // Not through the slot: an application that overrides the overload above does not change
    // what this one sends.
    return CDataStoreWebService::GetRecordsCount(functionId, conditions, whereCode, request);
}

CString CDataStoreWebService::GetProjects(const CString& param, QueryType queryType, int pageNum,
                                          int pageSize, bool allAreas) const {
    const char* method = allAreas ? "GetListByParameter" : "GetListByParameterAndIsrtAreaCode";
    // The back-end's methods take the page size before the page number.
    return StoreSender(m_strUrl, m_strAreaCode)
        .Call(method, {{"param", param},
                       {"pageSize", DecimalText(pageSize)},
                       {"pageNum", DecimalText(pageNum)},
                       {"queryType", DecimalText(queryType)},
                       {"isrtAreaCode", m_strAreaCode}});
}

CString CDataStoreWebService::GetProjects(const std::vector<ServiceConditionJosn>& conditions,
                                          int pageNum) const {
    return StoreSender(m_strUrl, m_strAreaCode)
        .CallWithFlatConditions("GetProjectList", pageNum, conditions);
}

CString CDataStoreWebService::GetProjects(const std::vector<ServiceConditionJosn>& conditions,
                                          const CString& whereCode, int pageNum) const {
    CJosn request;
    return StoreSender(m_strUrl, m_strAreaCode)
        .Query(request, datastore_detail::kProjectPageQuery, conditions, whereCode, pageNum);
}

CString CDataStoreWebService::GetBids(const ServiceConditionJosn& condition) const {
    CJosn request;
    return StoreSender(m_strUrl, m_strAreaCode)
        .Query(request, datastore_detail::kBidsQuery, condition);
}

CString CDataStoreWebService::GetInstances(const ServiceConditionJosn& condition) const {
    CJosn request;
    return StoreSender(m_strUrl, m_strAreaCode)
        .Query(request, datastore_detail::kInstancesQuery, condition);
}

CString CDataStoreWebService::GetDetails(XmkFunctionId functionId,
                                         const ServiceConditionJosn& condition) const {
    CJosn request;
    return StoreSender(m_strUrl, m_strAreaCode)
        .Query(request, datastore_detail::kDetailsQuery, condition, CString(), kNotSent,
               functionId);
}

CString CDataStoreWebService::GetMaxProjectIndex(const ServiceConditionJosn& condition) const {
    CJosn request;
    return StoreSender(m_strUrl, m_strAreaCode)
        .Query(request, datastore_detail::kMaxProjectIndexQuery, condition);
}

CString CDataStoreWebService::GetMaxBidIndex(const ServiceConditionJosn& condition) const {
    CJosn request;
    return StoreSender(m_strUrl, m_strAreaCode)
        .Query(request, datastore_detail::kMaxBidIndexQuery, condition);
}

CString CDataStoreWebService::GetMaxInstanceIndex(const ServiceConditionJosn& condition) const {
    CJosn request;
    return StoreSender(m_strUrl, m_strAreaCode)
        .Query(request, datastore_detail::kMaxInstanceIndexQuery, condition);
}

CString CDataStoreWebService::GetCorps(const std::vector<ServiceConditionJosn>& conditions,
                                       const CString& whereCode) const {
    CJosn request;
    return StoreSender(m_strUrl, m_strAreaCode)
        .Query(request, datastore_detail::kCorpsQuery, conditions, whereCode);
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
    const CString reply = StoreSender(m_strUrl, m_strAreaCode)
                              .CallWithFlatConditions("GetProjectCount", 1, conditions);
    return {reply, FindTotalCount(CJosn(reply))};
}
