#include "service/CServiceSupport.h"

#include "service/detail/ServiceCalls.h"

CServiceSupport::CServiceSupport(bool old) : m_bOld(old) {}

CServiceSupport::CServiceSupport(const CServiceSupport& other) : m_bOld(other.m_bOld) {}

CServiceSupport& CServiceSupport::operator=(const CServiceSupport& other) {
    m_bOld = other.m_bOld;
    return *this;
}

// Pure, yet defined: every derived destructor ends by calling it.
CServiceSupport::~CServiceSupport() {}

CString CServiceSupport::GetUrl(ServiceKind kind) const {
    return ConfiguredServiceUrl(kind, m_bOld);
}

long CServiceSupport::GetAppType() const { return -1; }
