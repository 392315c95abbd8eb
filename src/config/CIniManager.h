// CIniManager: the installation's configuration, one instance per process (Instance()).
// The host fills it with ReadIniFile and ReadFirstCmd; everybody reads it through the
// getters. Only the first creation is synchronised: the host keeps loading and reading in
// order (no load while other threads read).
#pragma once

#include <vector>

#include "platform/CString.h"
#include "platform/Export.h"

class XMK_EXPORT CIniManager {
  public:
    CIniManager();
    CIniManager(const CIniManager& other);
    CIniManager& operator=(const CIniManager& other);
    ~CIniManager();

    // The process-wide instance, created on first use (thread-safe).
    static CIniManager& Instance();

    // Loads the area-dependent settings from the section "Area_<area>", or from
    // "Area_default" when that section has no "URL2". False (nothing changed) when the file
    // does not exist or cannot be read.
    bool ReadIniFile(const CString& path, const CString& area);
    // Loads "FirstCmd", "AppType" and appends the three id lists from the section "SYSTEM"
    // (the lists are never cleared: each call lengthens them). True when the file was read;
    // false, with nothing changed, when it could not be.
    bool ReadFirstCmd(const CString& path);

    const CString& GetEmpConstraints1() const { return m_strEmpConstraints1; }
    const CString& GetEmpConstraints2() const { return m_strEmpConstraints2; }
    const CString& GetEnterpriseWebService() const { return m_strEnterpriseWebService; }
    const CString& GetKQKHWebService() const { return m_strKQKHWebService; }
    const CString& GetBzkWebService() const { return m_strBzkWebService; }
    void SetStrBzkWebService(const CString& url);
    const CString& GetSegmentService() const { return m_strSegmentService; }
    bool IsGetFtpInfoFromINI() const { return m_bGetFtpInfoFromINI; }
    const CString& GetCheckManagerService() const { return m_strCheckManagerService; }
    const CString& GetFirstCmd() const { return m_strFirstCmd; }
    const CString& GetAopService() const { return m_strAopService; }
    const CString& GetstrFtpUserName() const { return m_strFtpUserName; }
    const CString& GetstrFtpServer() const { return m_strFtpServer; }
    const CString& GetstrFtpPassWord() const { return m_strFtpPassWord; }
    const CString& GetstrLoadButton() const { return m_strLoadButton; }
    const CString& GetIssuer() const { return m_strIssuer; }
    int GetPrintModel() const { return m_nPrintModel; }
    bool IsChangeReasonMust() const { return m_bChangeReasonMust; }
    bool IsAddTHSeggestionMust() const { return m_bAddTHSeggestionMust; }
    bool IsNeedAudit() const { return m_bNeedAudit; }
    bool isNeedSearch() const { return m_bNeedSearch; }
    int GetAppType() const { return m_nAppType; }
    const std::vector<long>& GetZbdlDogIds() const { return m_ZbdlDogIds; }
    const std::vector<long>& GetZbdlAndSgjlDogIds() const { return m_ZbdlAndSgjlDogIds; }
    const std::vector<long>& GetKcsjDogIds() const { return m_KcsjDogIds; }
    const CString& GetBzkWebService_old() const { return m_strBzkWebService_old; }

  private:
    CString m_strEmpConstraints1;
    CString m_strEmpConstraints2;
    CString m_strEnterpriseWebService;
    CString m_strKQKHWebService;
    CString m_strBzkWebService;
    CString m_strSegmentService;
    bool m_bGetFtpInfoFromINI;
    CString m_strCheckManagerService;
    CString m_strFirstCmd;
    CString m_strAopService;
    CString m_strFtpUserName;
    CString m_strFtpServer;
    CString m_strFtpPassWord;
    CString m_strLoadButton;
    CString m_strIssuer;
    int m_nPrintModel;
    bool m_bChangeReasonMust;
    bool m_bAddTHSeggestionMust;
    bool m_bNeedAudit;
    bool m_bNeedSearch;
    int m_nAppType;
    std::vector<long> m_ZbdlDogIds;
    std::vector<long> m_ZbdlAndSgjlDogIds;
    std::vector<long> m_KcsjDogIds;
    CString m_strBzkWebService_old;
};
