// CDataStore: the interface through which applications insert, update, delete, audit and
// query project-library records. Callers reach the operations through the interface's slots,
// so the order of the virtual operations below is part of the library's interface: never
// reorder, insert or remove one.
// A store holds an area code, a value of the creator's and the back-end URL (empty: the
// configured project-library URL). Operations are const and never change the store.
#pragma once

#include <utility>
#include <vector>

#include "datastore/QueryType.h"
#include "datastore/ServiceConditionJosn.h"
#include "datastore/XmkFunctionId.h"
#include "platform/CString.h"
#include "platform/Export.h"

class CJosn;
class COperatorItem;

class XMK_EXPORT CDataStore {
  public:
    CDataStore(const CString& areaCode, long lParam);
    CDataStore(const CString& areaCode, long lParam, const CString& url);
    CDataStore(const CDataStore& other);
    CDataStore& operator=(const CDataStore& other);
    virtual ~CDataStore() = 0;

    CString GetAreaCode() const;

    virtual bool AddItem(COperatorItem& item) const = 0;
    virtual bool DeleteItem(const COperatorItem& item) const = 0;
    virtual bool UpdateItem(COperatorItem& item) const = 0;
    virtual std::vector<long> GetRecordsCount(const CString& param, QueryType queryType,
                                              bool allAreas) const = 0;
    virtual long GetRecordsCount(const std::vector<ServiceConditionJosn>& conditions) const = 0;
    virtual long GetRecordsCount(XmkFunctionId functionId,
                                 const std::vector<ServiceConditionJosn>& conditions,
                                 const CString& whereCode, CJosn& request) const = 0;
    virtual long GetRecordsCount(XmkFunctionId functionId,
                                 const std::vector<ServiceConditionJosn>& conditions,
                                 const CString& whereCode) const = 0;
    virtual CString GetProjects(const CString& param, QueryType queryType, int pageNum,
                                int pageSize, bool allAreas) const = 0;
    virtual CString GetProjects(const std::vector<ServiceConditionJosn>& conditions,
                                int pageNum) const = 0;
    virtual CString GetProjects(const std::vector<ServiceConditionJosn>& conditions,
                                const CString& whereCode, int pageNum) const = 0;
    virtual CString GetBids(const ServiceConditionJosn& condition) const = 0;
    virtual CString GetInstances(const ServiceConditionJosn& condition) const = 0;
    virtual CString GetDetails(XmkFunctionId functionId,
                               const ServiceConditionJosn& condition) const = 0;
    virtual CString GetMaxProjectIndex(const ServiceConditionJosn& condition) const = 0;
    virtual CString GetMaxBidIndex(const ServiceConditionJosn& condition) const = 0;
    virtual CString GetMaxInstanceIndex(const ServiceConditionJosn& condition) const = 0;
    virtual CString GetCorps(const std::vector<ServiceConditionJosn>& conditions,
                             const CString& whereCode) const = 0;
    virtual bool UpdateAudit(const COperatorItem& item) const = 0;
    virtual bool UpdateItemByJosn(CJosn& request, XmkFunctionId functionId) const = 0;
    virtual CString GetProofAttachByProofId(const CString& proofId) const = 0;
    virtual CString GetLogsByCondition(const CString& condition) const = 0;
    virtual std::pair<CString, long> GetRecordsCountAndFirstpageRecords(
        const std::vector<ServiceConditionJosn>& conditions, int pageArgument) const = 0;

  protected:
    CString m_strAreaCode;  // sent as "IsrtAreaCode" by every request
    long m_lParam;          // the creator's value; stored and copied, never read
    CString m_strUrl;       // the back-end URL; empty means the configured one
};
