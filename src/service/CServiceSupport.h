// CServiceSupport: what the host application tells the library about itself: which user and
// which application are calling, and which URL serves which kind of service. The host
// derives from it and hands an instance to CWebService::SetServiceSupport, which owns it.
#pragma once

#include "platform/CString.h"
#include "platform/Export.h"

class XMK_EXPORT CServiceSupport {
  public:
    // 32 bits with a fixed underlying type, so that a kind that names no service is a valid value.
    enum ServiceKind : int {
        BzkService = 0,   // the project-library service ("URL2", or "URL_DL" in the old set-up)
        KQKHService = 1,  // the service of "URL1"
    };

    explicit CServiceSupport(bool old = false);
    CServiceSupport(const CServiceSupport& other);
    CServiceSupport& operator=(const CServiceSupport& other);
    virtual ~CServiceSupport() = 0;

    // The calling application's id.
    virtual long GetAppId() = 0;
    // The current user's id.
    virtual long GetUserDogId() = 0;
    // The URL of a service kind, from the configuration; other kinds give an empty text.
    virtual CString GetUrl(ServiceKind kind) const;
    // The application type; -1 unless overridden.
    virtual long GetAppType() const;

  protected:
    bool m_bOld;
};
