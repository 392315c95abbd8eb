// CWebService: the process-wide service client (instance()). It owns the installed
// CServiceSupport, forwards the identity questions to it, and makes the uniform remote call
// ("DoWork" of "UniteInterface" with "jsonInput"), the special queries and the
// project-leader checks. Calls may come from several threads; SetServiceSupport must not run
// while calls are in progress.
#pragma once

#include <utility>
#include <vector>

#include "platform/CString.h"
#include "platform/Export.h"
#include "service/CServiceSupport.h"

class CTableRow;
class basefun;

class XMK_EXPORT CWebService {
  public:
    // Installs nothing. Constant initialisation keeps `inst` valid for code that runs
    // before the library's other static objects are built.
    constexpr CWebService() : m_pServiceSupport(nullptr) {}
    // The single instance owns the support object, so copies are not allowed.
    CWebService(const CWebService&) = delete;
    CWebService& operator=(const CWebService&) = delete;
    virtual ~CWebService();

    static CWebService& instance();

    // Deletes the installed support object (unless it is `support` itself) and installs
    // `support` (null allowed). Ownership passes to the client.
    void SetServiceSupport(CServiceSupport* support);
    XMK_EXPORT_INLINE CServiceSupport* GetServiceSupport() const { return m_pServiceSupport; }

    // Forwarders to the installed support object; with none installed GetUserDogId and
    // GetAppId return 0 and GetAppType returns -1 (the default application type).
    long GetUserDogId() const;
    long GetAppId() const;
    long GetAppType() const;

    CString ExcuteCmd(const CString& url, const CString& json) const;
    CString ExcuteCmd(const CString& url, const CString& method, const CString& argName,
                      const CString& argValue) const;
    bool ExcuteCmdBool(const CString& url, const CString& json) const;
    bool ExcuteCmdBool(const CString& url, const CString& method, const CString& argName,
                       const CString& argValue) const;

    CString GetResultStr(const CString& url, const CString& json) const;
    CString GetCorpQualitiesResultStr(const CString& corpUserGuid) const;
    bool GetObListByKindAndSql(CServiceSupport::ServiceKind kind, const CString& sql,
                               std::vector<CTableRow*>& rows, const basefun& fn) const;
    bool GetObListByKindAndSql(const std::pair<CString, long>& target, const CString& sql,
                               std::vector<CTableRow*>& rows, const basefun& fn) const;
    bool GetSQLResult(const std::pair<CString, long>& target, const CString& sql,
                      std::vector<CString>& result) const;

    bool CheckXMFZR(const CString& url, const CString& urlForCPlus, long empId) const;
    bool GetXMFZRYZProjects(const CString& url, const CString& empId, long corpDogId, long roleId,
                            const CString& areaCode, std::vector<long>& projects) const;
    bool CheckXMFZRForCpp(const CString& url, const CString& empId, long corpDogId, long roleId,
                          const CString& areaCode) const;

  private:
    static CWebService inst;

    CServiceSupport* m_pServiceSupport;
};
