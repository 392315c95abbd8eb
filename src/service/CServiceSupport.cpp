#include "service/CServiceSupport.h"

#include "config/CIniManager.h"

CServiceSupport::CServiceSupport(bool old) : m_bOld(old) {}

CServiceSupport::CServiceSupport(const CServiceSupport& other) : m_bOld(other.m_bOld) {}

CServiceSupport& CServiceSupport::operator=(const CServiceSupport& other) {
    m_bOld = other.m_bOld;
    return *this;
}

// Pure, yet defined: every derived destructor ends by calling it.
CServiceSupport::~CServiceSupport() {}

CString CServiceSupport::GetUrl(ServiceKind kind) const {
    const CIniManager& ini = CIniManager::Instance();
    switch (kind) {
        case BzkService:
            // The old set-up kept the project library elsewhere; it wins only when configured.
            if (m_bOld && !ini.GetBzkWebService_old().IsEmpty()) return ini.GetBzkWebService_old();
            return ini.GetBzkWebService();
        case KQKHService:
            return ini.GetKQKHWebService();
    }
    return CString();
}

long CServiceSupport::GetAppType() const { return -1; }
