// CDataStoreWebService: the data store over the project library's web services. Each
// operation builds one JSON request, sends it to the store's URL (empty: the configured
// project-library URL) and reads the reply; writes show the back-end's message when the
// reply is not a plain success.
// REQUIRES: a CServiceSupport is installed in CWebService before any operation; its user id
// and application type or id fill the Permission block of every request.
#pragma once

#include <utility>
#include <vector>

#include "datastore/CDataStore.h"
#include "platform/Export.h"

class XMK_EXPORT CDataStoreWebService : public CDataStore {
  public:
    CDataStoreWebService(const CString& areaCode, long lParam);
    CDataStoreWebService(const CString& areaCode, long lParam, const CString& url);
    CDataStoreWebService(const CDataStoreWebService& other);
    CDataStoreWebService& operator=(const CDataStoreWebService& other);
    ~CDataStoreWebService() override;

    // Numbers the item, inserts it and hands it the reply's data; false when numbering fails
    // ("编号失败" shown) or the reply's code is below 1.
    bool AddItem(COperatorItem& item) const override;
    // Deletes the item's record; AfterDelete is called on success.
    bool DeleteItem(const COperatorItem& item) const override;
    // True when the record was updated or the item had nothing to update.
    bool UpdateItem(COperatorItem& item) const override;
    // One count per element of the reply (one for a reply without elements).
    std::vector<long> GetRecordsCount(const CString& param, QueryType queryType,
                                      bool allAreas) const override;
    // The number of projects that match.
    long GetRecordsCount(const std::vector<ServiceConditionJosn>& conditions) const override;
    // As the overload below, written into the caller's `request` at its cursor; the request
    // keeps it afterwards, its cursor inside the "Permission" object.
    long GetRecordsCount(XmkFunctionId functionId,
                         const std::vector<ServiceConditionJosn>& conditions,
                         const CString& whereCode, CJosn& request) const override;
    // The number of records of `functionId` that match. Failures read as 0.
    long GetRecordsCount(XmkFunctionId functionId,
                         const std::vector<ServiceConditionJosn>& conditions,
                         const CString& whereCode) const override;
    // The project queries return the reply text unparsed.
    CString GetProjects(const CString& param, QueryType queryType, int pageNum, int pageSize,
                        bool allAreas) const override;
    CString GetProjects(const std::vector<ServiceConditionJosn>& conditions,
                        int pageNum) const override;
    CString GetProjects(const std::vector<ServiceConditionJosn>& conditions,
                        const CString& whereCode, int pageNum) const override;
    CString GetBids(const ServiceConditionJosn& condition) const override;
    CString GetInstances(const ServiceConditionJosn& condition) const override;
    CString GetDetails(XmkFunctionId functionId,
                       const ServiceConditionJosn& condition) const override;
    CString GetMaxProjectIndex(const ServiceConditionJosn& condition) const override;
    CString GetMaxBidIndex(const ServiceConditionJosn& condition) const override;
    CString GetMaxInstanceIndex(const ServiceConditionJosn& condition) const override;
    CString GetCorps(const std::vector<ServiceConditionJosn>& conditions,
                     const CString& whereCode) const override;
    bool UpdateAudit(const COperatorItem& item) const override;
    // Adds the Permission block at the caller's cursor and sends the document; the document
    // keeps the block, with its cursor left inside it.
    bool UpdateItemByJosn(CJosn& request, XmkFunctionId functionId) const override;
    CString GetProofAttachByProofId(const CString& proofId) const override;
    CString GetLogsByCondition(const CString& condition) const override;
    // The reply text of the first page (of 25) and the count found in it; the request does
    // not depend on `pageArgument`.
    std::pair<CString, long> GetRecordsCountAndFirstpageRecords(
        const std::vector<ServiceConditionJosn>& conditions, int pageArgument) const override;
};
